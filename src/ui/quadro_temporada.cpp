#include "ui/quadro_temporada.hpp"

#include <QPainter>
#include <QPainterPath>

#include "ui/grade_jogos.hpp"

namespace kelm {

QColor cor_do_quadro(std::uint32_t rgb) { return QColor::fromRgb(static_cast<QRgb>(rgb)); }

void pinta_casa(QPainter& pintor, const QRectF& area, const CasaQuadro& casa, bool inicio_returno)
{
    pintor.save();
    pintor.fillRect(area, cor_do_quadro(cor_da_casa(casa)));
    pintor.setPen(QPen(cor_do_quadro(cores_quadro::borda), 0));
    pintor.drawRect(area);
    if (casa.quebra) {
        const double lado = area.height() * 0.3;
        QPainterPath canto;
        canto.moveTo(area.topLeft());
        canto.lineTo(area.left() + lado, area.top());
        canto.lineTo(area.left(), area.top() + lado);
        canto.closeSubpath();
        pintor.fillPath(canto, cor_do_quadro(cores_quadro::texto));
    }
    if (!casa.jogos.empty()) {
        QFont fonte = pintor.font();
        fonte.setBold(casa.em_contagem);
        pintor.setFont(fonte);
        pintor.setPen(cor_do_quadro(casa.em_contagem ? cores_quadro::contagem : cores_quadro::texto));
        pintor.drawText(area, Qt::AlignCenter, QString::fromStdString(casa.mandos));
    }
    if (inicio_returno) {
        const double largura = std::max(2.0, area.width() * 0.12);
        pintor.fillRect(QRectF(area.left(), area.top(), largura, area.height()), Qt::black);
    }
    pintor.restore();
}

void ModeloQuadro::define(const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao,
                          int inicio_returno, const Calendario* calendario)
{
    beginResetModel();
    datas_.clear();
    if (calendario != nullptr && calendario->num_rodadas() == tabela.linhas()) datas_ = calendario->rodadas;
    quadro_ = monta_quadro_mandos(campeonato, tabela, explicacao, inicio_returno);
    tabela_ = tabela;
    explicacao_ = explicacao;
    nomes_.clear();
    for (const std::string& nome : campeonato.nomes_times) nomes_ << QString::fromStdString(nome);
    endResetModel();
}

QString ModeloQuadro::dica(int time, int rodada) const
{
    QStringList linhas;
    if (static_cast<std::size_t>(rodada) < datas_.size())
        linhas << dica_rodada(rodada + 1, datas_[static_cast<std::size_t>(rodada)]);
    for (const PosicaoJogo& p : quadro_.casa(time, rodada).jogos) {
        linhas << texto_jogo(tabela_[p.rodada][p.vaga], nomes_);
        for (const std::string& nota : notas_do_jogo(explicacao_, p)) linhas << QString::fromStdString(nota);
    }
    return linhas.join(QLatin1Char('\n'));
}

int ModeloQuadro::rowCount(const QModelIndex& pai) const
{
    return pai.isValid() ? 0 : static_cast<int>(quadro_.casas.size());
}

int ModeloQuadro::columnCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : quadro_.rodadas; }

QVariant ModeloQuadro::data(const QModelIndex& indice, int papel) const
{
    if (!indice.isValid() || indice.row() >= rowCount() || indice.column() >= columnCount()) return {};
    const CasaQuadro& casa = quadro_.casa(indice.row() + 1, indice.column());
    switch (papel) {
    case Qt::DisplayRole:
        return casa.jogos.empty() ? QString() : QString::fromStdString(casa.mandos);
    case Qt::ToolTipRole:
        return dica(indice.row() + 1, indice.column());
    case Qt::BackgroundRole:
        return cor_do_quadro(cor_da_casa(casa));
    default:
        return {};
    }
}

QVariant ModeloQuadro::headerData(int secao, Qt::Orientation orientacao, int papel) const
{
    if (orientacao == Qt::Vertical && papel == Qt::DisplayRole) return nomes_.value(secao + 1);
    if (orientacao != Qt::Horizontal) return {};
    const bool returno = quadro_.inicio_returno > 0 && secao == quadro_.inicio_returno;
    if (papel == Qt::DisplayRole) return QString::number(secao + 1);
    if (papel == Qt::ToolTipRole && static_cast<std::size_t>(secao) < datas_.size())
        return dica_rodada(secao + 1, datas_[static_cast<std::size_t>(secao)]) +
               (returno ? QStringLiteral(": início do returno") : QString());
    if (papel == Qt::ToolTipRole)
        return QStringLiteral("%1ª rodada%2").arg(secao + 1).arg(returno ? QStringLiteral(": início do returno") : QString());
    if (papel == Qt::FontRole && returno) {
        QFont negrito;
        negrito.setBold(true);
        return negrito;
    }
    return {};
}

void DelegadoQuadro::paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const
{
    const auto* modelo = qobject_cast<const ModeloQuadro*>(indice.model());
    if (modelo == nullptr) {
        QStyledItemDelegate::paint(pintor, opcao, indice);
        return;
    }
    const QuadroMandos& q = modelo->quadro();
    pintor->setFont(opcao.font);
    pinta_casa(*pintor, QRectF(opcao.rect), q.casa(indice.row() + 1, indice.column()),
               q.inicio_returno > 0 && indice.column() == q.inicio_returno);
    if (opcao.state & QStyle::State_Selected)
        pintor->fillRect(opcao.rect, QColor(0x19, 0x76, 0xD2, 60));
}

}  // namespace kelm
