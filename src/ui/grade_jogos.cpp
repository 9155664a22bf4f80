#include "ui/grade_jogos.hpp"

#include "ui/quadro_temporada.hpp"

#include <QApplication>
#include <QFont>
#include <QHeaderView>
#include <QPainter>
#include <QPixmap>
#include <QPalette>
#include <QScrollBar>
#include <QStyledItemDelegate>

#include "ui/regional.hpp"

namespace kelm {

namespace {

const QString quinze_espacos = QString(15, QLatin1Char(' '));

// A padlock of 12 by 14 pixels, drawn here so that no icon theme or emoji font is needed.
QPixmap cadeado()
{
    QPixmap p(12, 14);
    p.fill(Qt::transparent);
    QPainter pintor(&p);
    pintor.setRenderHint(QPainter::Antialiasing);
    pintor.setPen(QPen(QColor(0x5D, 0x40, 0x37), 2));
    pintor.drawArc(QRectF(2.5, 1, 7, 9), 0, 180 * 16);
    pintor.drawLine(QPointF(2.5, 5.5), QPointF(2.5, 7));
    pintor.drawLine(QPointF(9.5, 5.5), QPointF(9.5, 7));
    pintor.setPen(Qt::NoPen);
    pintor.setBrush(QColor(0xC6, 0x8A, 0x00));
    pintor.drawRoundedRect(QRectF(0.5, 6.5, 11, 7), 1.5, 1.5);
    return p;
}

}  // namespace

QString texto_canto() { return QStringLiteral("            RODADA / JOGO"); }

QString texto_rodada(int rodada) { return quinze_espacos + QString::number(rodada) + QStringLiteral("ª RODADA "); }

QString texto_rodada(int rodada, const DiaDaRodada& dia)
{
    return QStringLiteral("  %1ª RODADA  ").arg(rodada) + QString::fromStdString(texto_data(dia.data));
}

QString dica_rodada(int rodada, const DiaDaRodada& dia)
{
    static const char* const dias_da_semana[] = {"domingo", "segunda-feira", "terça-feira", "quarta-feira",
                                                 "quinta-feira", "sexta-feira", "sábado"};
    QString dica = QStringLiteral("%1ª rodada: %2, %3")
                       .arg(rodada)
                       .arg(QString::fromUtf8(dias_da_semana[dia_da_semana(dia.data)]),
                            QString::fromStdString(texto_data(dia.data)));
    if (dia.hora) dica += QStringLiteral(", ") + QString::fromStdString(texto_hora(*dia.hora));
    return dica;
}

QString texto_cabecalho_jogo(int jogo) { return quinze_espacos + QString::number(jogo) + QStringLiteral("º JOGO "); }

QString texto_jogo(const Jogo& jogo, const QStringList& nomes)
{
    if (jogo.vazio()) return {};
    return nomes.value(jogo.mandante()) + QStringLiteral("  X  ") + nomes.value(jogo.visitante());
}

NotasDaGrade notas_da_grade(const Explicacao& explicacao, const Tabela& tabela)
{
    NotasDaGrade n;
    const auto colunas = static_cast<std::size_t>(tabela.colunas());
    n.notas.reserve(static_cast<qsizetype>(tabela.linhas()) * tabela.colunas());
    n.marcados.assign(static_cast<std::size_t>(tabela.linhas()) * colunas, false);
    for (int r = 0; r < tabela.linhas(); ++r) {
        for (int g = 0; g < tabela.colunas(); ++g) {
            QStringList do_jogo;
            for (const std::string& nota : notas_do_jogo(explicacao, {r, g})) do_jogo << QString::fromStdString(nota);
            n.notas << do_jogo.join(QLatin1Char('\n'));
        }
    }
    n.mudados = n.marcados;
    for (const Ocorrencia& o : explicacao.ocorrencias) {
        if (o.inviabilidade != Inviabilidade::requisitos && o.inviabilidade != Inviabilidade::mudancas) continue;
        std::vector<bool>& marcas = o.inviabilidade == Inviabilidade::requisitos ? n.marcados : n.mudados;
        for (const JogoEnvolvido& j : o.jogos) {
            const auto k = static_cast<std::size_t>(j.posicao.rodada) * colunas + static_cast<std::size_t>(j.posicao.vaga);
            marcas[k] = true;
        }
    }
    return n;
}

QColor fundo_marcado() { return QColor(0xFF, 0xCD, 0xD2); }

QColor texto_marcado() { return cor_do_quadro(cores_quadro::contagem); }

QColor fundo_mudado() { return QColor(0xBB, 0xDE, 0xFB); }

QColor fundo_previa() { return QColor(0xFF, 0xC1, 0x07); }

QString titulo_da_grade(const TabelaNaGrade& t, const QLocale& local)
{
    QString titulo = t.origem == OrigemTabela::inicial ? QStringLiteral("Tabela Inicial") : QStringLiteral("Tabela Obtida");
    titulo += QStringLiteral(": %1 rodadas").arg(t.rodadas);
    if (t.returno != Returno::nenhum)
        titulo += t.returno == Returno::espelhado ? QStringLiteral(", turno e returno espelhado")
                                                  : QStringLiteral(", turno e returno francês");
    if (t.fo) titulo += QStringLiteral(". FO ") + numero(*t.fo, local);
    if (t.parada) titulo += QStringLiteral(" (execução parada pelo planejador)");
    return titulo;
}

void ModeloGrade::define(const Tabela& tabela, const std::vector<std::string>& nomes, int linhas, int colunas,
                         QStringList notas, std::vector<bool> marcados, std::vector<bool> mudados)
{
    notas_ = std::move(notas);
    marcados_ = std::move(marcados);
    mudados_ = std::move(mudados);
    QStringList nomes_qt;
    nomes_qt.reserve(static_cast<qsizetype>(nomes.size()));
    for (const std::string& nome : nomes) nomes_qt << QString::fromStdString(nome);
    tabela_ = tabela;
    nomes_ = std::move(nomes_qt);

    // Rows and columns are added or taken away at the end, so that the view keeps its
    // selection and scroll position wherever they still fit.
    if (linhas < linhas_) {
        beginRemoveRows({}, linhas, linhas_ - 1);
        linhas_ = linhas;
        endRemoveRows();
    } else if (linhas > linhas_) {
        beginInsertRows({}, linhas_, linhas - 1);
        linhas_ = linhas;
        endInsertRows();
    }
    if (colunas < colunas_) {
        beginRemoveColumns({}, colunas, colunas_ - 1);
        colunas_ = colunas;
        endRemoveColumns();
    } else if (colunas > colunas_) {
        beginInsertColumns({}, colunas_, colunas - 1);
        colunas_ = colunas;
        endInsertColumns();
    }
    if (linhas_ > 0 && colunas_ > 0) emit dataChanged(index(0, 0), index(linhas_ - 1, colunas_ - 1));
}

void ModeloGrade::define_inicio_returno(int rodada)
{
    if (rodada == inicio_returno_) return;
    inicio_returno_ = rodada;
    if (linhas_ > 0 && colunas_ > 0) emit dataChanged(index(0, 0), index(linhas_ - 1, colunas_ - 1));
}

void ModeloGrade::define_datas(std::vector<DiaDaRodada> datas)
{
    datas_ = std::move(datas);
    if (linhas_ > 0) emit dataChanged(index(0, 0), index(linhas_ - 1, 0));
}

void ModeloGrade::define_marcas_mao(std::vector<std::uint8_t> marcas)
{
    if (marcas == marcas_mao_) return;
    marcas_mao_ = std::move(marcas);
    if (linhas_ > 0 && colunas_ > 0) emit dataChanged(index(0, 0), index(linhas_ - 1, colunas_ - 1));
}

std::uint8_t ModeloGrade::marcas_mao(int linha, int coluna) const
{
    if (linha < 1 || coluna < 1 || linha - 1 >= tabela_.linhas() || coluna - 1 >= tabela_.colunas()) return 0;
    const std::size_t k = static_cast<std::size_t>(linha - 1) * static_cast<std::size_t>(tabela_.colunas()) +
                          static_cast<std::size_t>(coluna - 1);
    return k < marcas_mao_.size() ? marcas_mao_[k] : std::uint8_t{0};
}

QString ModeloGrade::texto(int linha, int coluna) const
{
    if (linha == 0 && coluna == 0) return texto_canto();
    if (coluna == 0 && linha - 1 < static_cast<int>(datas_.size()))
        return texto_rodada(linha, datas_[static_cast<std::size_t>(linha - 1)]);
    if (coluna == 0) return texto_rodada(linha);
    if (linha == 0) return texto_cabecalho_jogo(coluna);
    if (linha - 1 >= tabela_.linhas() || coluna - 1 >= tabela_.colunas()) return {};
    return texto_jogo(tabela_[linha - 1][coluna - 1], nomes_);
}

bool ModeloGrade::marcado(const std::vector<bool>& marcas, int linha, int coluna) const
{
    if (linha < 1 || coluna < 1 || linha - 1 >= tabela_.linhas() || coluna - 1 >= tabela_.colunas()) return false;
    const std::size_t k = static_cast<std::size_t>(linha - 1) * static_cast<std::size_t>(tabela_.colunas()) +
                          static_cast<std::size_t>(coluna - 1);
    return k < marcas.size() && marcas[k];
}

bool ModeloGrade::dentro(const QModelIndex& indice) const
{
    return indice.isValid() && indice.model() == this && indice.row() < linhas_ && indice.column() < colunas_;
}

int ModeloGrade::rowCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : linhas_; }

int ModeloGrade::columnCount(const QModelIndex& pai) const { return pai.isValid() ? 0 : colunas_; }

QVariant ModeloGrade::data(const QModelIndex& indice, int papel) const
{
    if (!dentro(indice)) return {};
    const bool fixa = indice.row() == 0 || indice.column() == 0;
    switch (papel) {
    case Qt::DisplayRole:
        return texto(indice.row(), indice.column());
    case Qt::ToolTipRole: {  // the whole game, also when long names do not fit the column
        if (indice.column() == 0 && indice.row() > 0 && indice.row() - 1 < static_cast<int>(datas_.size()))
            return dica_rodada(indice.row(), datas_[static_cast<std::size_t>(indice.row() - 1)]);
        if (fixa) return {};
        const QString jogo = texto(indice.row(), indice.column());
        const qsizetype k = static_cast<qsizetype>(indice.row() - 1) * tabela_.colunas() + (indice.column() - 1);
        if (jogo.isEmpty()) return jogo;
        QString dica = jogo;
        const std::uint8_t mao = marcas_mao(indice.row(), indice.column());
        if (mao & marca_mao::fixado) dica += QStringLiteral("\nJogo fixado nesta rodada.");
        if (mao & marca_mao::mudado) dica += QStringLiteral("\nMudado à mão desde que a tabela foi gravada.");
        if (k < notas_.size() && !notas_.at(k).isEmpty()) dica += QLatin1Char('\n') + notas_.at(k);
        return dica;
    }
    case Qt::DecorationRole:
        if (fixa || !(marcas_mao(indice.row(), indice.column()) & marca_mao::fixado)) return {};
        return cadeado();
    case Qt::BackgroundRole: {
        if (fixa) return QApplication::palette().brush(QPalette::Button);
        const std::uint8_t mao = marcas_mao(indice.row(), indice.column());
        if (mao & marca_mao::previa) return fundo_previa();
        if (marcado(marcados_, indice.row(), indice.column())) return fundo_marcado();
        if ((mao & marca_mao::mudado) || marcado(mudados_, indice.row(), indice.column())) return fundo_mudado();
        return {};
    }
    case Qt::ForegroundRole:
        if (fixa) return QApplication::palette().brush(QPalette::ButtonText);
        if (marcado(marcados_, indice.row(), indice.column())) return texto_marcado();
        return {};
    case papel_inicio_returno:
        return inicio_returno_ > 0 && indice.row() == inicio_returno_;
    case Qt::FontRole: {
        if (!marcado(marcados_, indice.row(), indice.column())) return {};
        QFont negrito;
        negrito.setBold(true);
        return negrito;
    }
    default:
        return {};
    }
}

Qt::ItemFlags ModeloGrade::flags(const QModelIndex& indice) const
{
    if (!dentro(indice)) return Qt::NoItemFlags;
    if (indice.row() == 0 || indice.column() == 0) return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

namespace {

// Paints a cell as the view does, then the line between the turno and the returno above the
// returno's first round.
class DelegadoGrade : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* pintor, const QStyleOptionViewItem& opcao, const QModelIndex& indice) const override
    {
        QStyledItemDelegate::paint(pintor, opcao, indice);
        if (!indice.data(papel_inicio_returno).toBool()) return;
        pintor->save();
        pintor->fillRect(QRect(opcao.rect.left(), opcao.rect.top(), opcao.rect.width(), 3), opcao.palette.text());
        pintor->restore();
    }
};

// What the grid and its fixed parts share: sizes, no editing, the info-background colour.
void configura(QTableView* v)
{
    v->setItemDelegate(new DelegadoGrade(v));
    v->horizontalHeader()->hide();
    v->verticalHeader()->hide();
    v->horizontalHeader()->setMinimumSectionSize(1);
    v->verticalHeader()->setMinimumSectionSize(1);
    v->horizontalHeader()->setDefaultSectionSize(GradeJogos::largura_coluna);
    v->verticalHeader()->setDefaultSectionSize(GradeJogos::altura_linha);
    v->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    v->setEditTriggers(QAbstractItemView::NoEditTriggers);
    v->setShowGrid(true);
    v->setWordWrap(false);
    v->setTextElideMode(Qt::ElideRight);
    v->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    v->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    QPalette p = v->palette();
    p.setBrush(QPalette::Base, p.brush(QPalette::ToolTipBase));
    p.setBrush(QPalette::Text, p.brush(QPalette::ToolTipText));
    v->setPalette(p);
    // A narrower face of the window's font, so that two team names fit in a column of
    // 170 pixels.
    QFont f = v->font();
    f.setStretch(QFont::SemiCondensed);
    v->setFont(f);
}

}  // namespace

GradeJogos::GradeJogos(QWidget* pai)
    : QTableView(pai), modelo_(new ModeloGrade(this)), coluna_fixa_(nullptr), linha_fixa_(nullptr),
      canto_fixo_(nullptr)
{
    configura(this);
    setModel(modelo_);
    setSelectionMode(QAbstractItemView::ContiguousSelection);

    coluna_fixa_ = cria_fixa("coluna_fixa");
    linha_fixa_ = cria_fixa("linha_fixa");
    canto_fixo_ = cria_fixa("canto_fixo");

    // The heading column scrolls up and down with the grid, the heading row sideways.
    connect(verticalScrollBar(), &QScrollBar::valueChanged, coluna_fixa_->verticalScrollBar(), &QScrollBar::setValue);
    connect(coluna_fixa_->verticalScrollBar(), &QScrollBar::valueChanged, verticalScrollBar(), &QScrollBar::setValue);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, linha_fixa_->horizontalScrollBar(),
            &QScrollBar::setValue);
    connect(linha_fixa_->horizontalScrollBar(), &QScrollBar::valueChanged, horizontalScrollBar(),
            &QScrollBar::setValue);
    // New rows and columns of the schedule are hidden from the fixed headings as they come.
    for (auto sinal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved,
                       &QAbstractItemModel::columnsInserted, &QAbstractItemModel::columnsRemoved})
        connect(modelo_, sinal, this, &GradeJogos::ajusta_fixas);
    ajusta_fixas();
}

QTableView* GradeJogos::cria_fixa(const char* nome)
{
    auto* v = new QTableView(this);
    v->setObjectName(QLatin1String(nome));
    configura(v);
    v->setModel(modelo_);
    v->setFocusPolicy(Qt::NoFocus);
    v->setSelectionMode(QAbstractItemView::NoSelection);
    v->setFrameShape(QFrame::NoFrame);
    v->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    v->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return v;
}

QString GradeJogos::celula(int coluna, int linha) const
{
    return modelo_->data(modelo_->index(linha, coluna)).toString();
}

void GradeJogos::ajusta_fixas()
{
    const int linhas = modelo_->rowCount();
    const int colunas = modelo_->columnCount();
    for (int c = 1; c < colunas; ++c) {
        coluna_fixa_->setColumnHidden(c, true);
        canto_fixo_->setColumnHidden(c, true);
    }
    for (int r = 1; r < linhas; ++r) {
        linha_fixa_->setRowHidden(r, true);
        canto_fixo_->setRowHidden(r, true);
    }
    const bool ha_celulas = linhas > 0 && colunas > 0;
    coluna_fixa_->setVisible(ha_celulas);
    linha_fixa_->setVisible(ha_celulas);
    canto_fixo_->setVisible(ha_celulas);
    posiciona_fixas();
}

void GradeJogos::posiciona_fixas()
{
    if (coluna_fixa_ == nullptr) return;
    const QRect area = viewport()->geometry();
    const int largura = qMin(columnWidth(0), area.width());
    const int altura = qMin(rowHeight(0), area.height());
    coluna_fixa_->setGeometry(area.x(), area.y(), largura, area.height());
    linha_fixa_->setGeometry(area.x(), area.y(), area.width(), altura);
    canto_fixo_->setGeometry(area.x(), area.y(), largura, altura);
    coluna_fixa_->verticalScrollBar()->setValue(verticalScrollBar()->value());
    linha_fixa_->horizontalScrollBar()->setValue(horizontalScrollBar()->value());
    coluna_fixa_->raise();
    linha_fixa_->raise();
    canto_fixo_->raise();
}

void GradeJogos::resizeEvent(QResizeEvent* evento)
{
    QTableView::resizeEvent(evento);
    posiciona_fixas();
}

void GradeJogos::updateGeometries()
{
    QTableView::updateGeometries();
    posiciona_fixas();
}

void GradeJogos::scrollTo(const QModelIndex& indice, ScrollHint dica)
{
    QTableView::scrollTo(indice, dica);
    if (!indice.isValid()) return;
    // A cell must not end up beneath the fixed headings.
    const QRect r = visualRect(indice);
    if (indice.row() > 0 && r.top() < rowHeight(0))
        verticalScrollBar()->setValue(verticalScrollBar()->value() + r.top() - rowHeight(0));
    if (indice.column() > 0 && r.left() < columnWidth(0))
        horizontalScrollBar()->setValue(horizontalScrollBar()->value() + r.left() - columnWidth(0));
}

}  // namespace kelm
