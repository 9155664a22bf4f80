#include "ui/grafico_km.hpp"

#include <algorithm>

#include <QPainter>

#include "ui/regional.hpp"

namespace kelm {

namespace {

constexpr int altura_barra = 20;
constexpr int espaco = 4;
constexpr int margem = 8;
constexpr int altura_titulo = 56;

}  // namespace

GraficoKm::GraficoKm(QWidget* pai) : QWidget(pai)
{
    setObjectName(QStringLiteral("grafico_km"));
    setMinimumWidth(280);
}

void GraficoKm::define(const Campeonato& campeonato, const Explicacao& explicacao)
{
    barras_.clear();
    for (const LinhaTime& l : explicacao.times)
        barras_.emplace_back(QString::fromStdString(campeonato.nomes_times.at(static_cast<std::size_t>(l.time))), l.km);
    // The most travelled first; equal km keep the teams' order.
    std::stable_sort(barras_.begin(), barras_.end(), [](const auto& a, const auto& b) { return a.second > b.second; });
    updateGeometry();
    update();
}

QString GraficoKm::titulo() const
{
    if (barras_.empty()) return QStringLiteral("Km percorridos por time");
    const long long diferenca = barras_.front().second - barras_.back().second;
    return QStringLiteral("Km percorridos por time\nDiferença entre o que mais viaja e o que menos viaja: %1 km")
        .arg(numero(static_cast<double>(diferenca)));
}

QSize GraficoKm::sizeHint() const
{
    return {330, altura_titulo + 2 * margem + static_cast<int>(barras_.size()) * (altura_barra + espaco)};
}

// The title, then a bar per team with its name on the left and its km at the bar's end.
void GraficoKm::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), palette().base());
    p.setPen(palette().text().color());
    QFont negrito = font();
    negrito.setBold(true);
    p.setFont(negrito);
    p.drawText(QRect(margem, margem, width() - 2 * margem, altura_titulo), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, titulo());
    p.setFont(font());
    if (barras_.empty()) return;

    const QFontMetrics fm(font());
    int largura_nome = 0;
    for (const auto& [nome, km] : barras_) largura_nome = std::max(largura_nome, fm.horizontalAdvance(nome));
    const int x0 = margem + largura_nome + 6;
    const int largura_valor = fm.horizontalAdvance(numero(static_cast<double>(barras_.front().second))) + 6;
    const int largura_util = std::max(10, width() - x0 - largura_valor - margem);
    const double maior = std::max(1.0, static_cast<double>(barras_.front().second));

    int y = margem + altura_titulo;
    for (std::size_t k = 0; k < barras_.size(); ++k) {
        const auto& [nome, km] = barras_[k];
        const bool extremo = k == 0 || k + 1 == barras_.size();
        const QColor cor = k == 0 ? QColor(0xC6, 0x28, 0x28) : k + 1 == barras_.size() ? QColor(0x15, 0x65, 0xC0)
                                                                                        : QColor(0x78, 0x90, 0x9C);
        const int comprimento = static_cast<int>(largura_util * static_cast<double>(km) / maior);
        p.setPen(palette().text().color());
        p.drawText(QRect(margem, y, largura_nome, altura_barra), Qt::AlignRight | Qt::AlignVCenter, nome);
        p.fillRect(QRect(x0, y + 2, comprimento, altura_barra - 4), cor);
        QFont f = font();
        f.setBold(extremo);
        p.setFont(f);
        p.drawText(QRect(x0 + comprimento + 4, y, largura_valor + 40, altura_barra), Qt::AlignLeft | Qt::AlignVCenter,
                   numero(static_cast<double>(km)));
        p.setFont(font());
        y += altura_barra + espaco;
    }
}

}  // namespace kelm
