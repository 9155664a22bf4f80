#include "ui/form_temporada.hpp"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include "ui/dialogos_comuns.hpp"
#include "ui/grafico_km.hpp"
#include "ui/icones.hpp"
#include "ui/quadro_temporada.hpp"

namespace kelm {

namespace {

constexpr int lado_casa = 22;

// The legend below the board: a coloured square and what it means.
QLabel* legenda(QWidget* pai, bool com_returno)
{
    const auto html = [](std::uint32_t rgb) { return cor_do_quadro(rgb).name(); };
    const auto quadrado = [&](std::uint32_t cor, const QString& texto) {
        return QStringLiteral("<span style=\"background-color:%1\">&nbsp;&nbsp;&nbsp;&nbsp;</span>&nbsp;%2").arg(html(cor), texto);
    };
    QStringList itens{quadrado(cores_quadro::casa, QStringLiteral("em casa")), quadrado(cores_quadro::fora, QStringLiteral("fora")),
                      quadrado(cores_quadro::casa_seguida, QStringLiteral("3 ou mais seguidos em casa")),
                      quadrado(cores_quadro::fora_seguida, QStringLiteral("3 ou mais seguidos fora")),
                      QStringLiteral("<b>&#9698;</b> quebra (mesmo mando do jogo anterior)"),
                      QStringLiteral("<b style=\"color:%1\">C F</b> jogo que entra numa inviabilidade").arg(html(cores_quadro::contagem))};
    if (com_returno) itens << QStringLiteral("<b>&#9475;</b> início do returno");
    auto* l = new QLabel(itens.join(QStringLiteral("&nbsp;&nbsp;&nbsp; ")), pai);
    l->setObjectName(QStringLiteral("legenda"));
    l->setWordWrap(true);
    return l;
}

}  // namespace

Tform_temporada::Tform_temporada(const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao,
                                 int inicio_returno, const Calendario* calendario, QWidget* pai)
    : QDialog(pai)
{
    setObjectName(QStringLiteral("form_temporada"));
    setWindowTitle(QStringLiteral("Visão Geral da Temporada"));

    auto* conteudo = new QWidget(this);
    auto* coluna = new QVBoxLayout(conteudo);
    coluna->setContentsMargins(0, 0, 0, 0);
    auto* divisao = new QSplitter(Qt::Horizontal, conteudo);

    modelo_ = new ModeloQuadro(this);
    modelo_->define(campeonato, tabela, explicacao, inicio_returno, calendario);
    auto* quadro = new QTableView(divisao);
    quadro->setObjectName(QStringLiteral("quadro_mandos"));
    quadro->setModel(modelo_);
    quadro->setItemDelegate(new DelegadoQuadro(quadro));
    quadro->setEditTriggers(QAbstractItemView::NoEditTriggers);
    quadro->setShowGrid(false);
    quadro->horizontalHeader()->setMinimumSectionSize(1);
    quadro->horizontalHeader()->setDefaultSectionSize(lado_casa);
    quadro->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    quadro->verticalHeader()->setDefaultSectionSize(lado_casa);
    quadro->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);

    grafico_ = new GraficoKm(divisao);
    grafico_->define(campeonato, explicacao);
    divisao->addWidget(quadro);
    divisao->addWidget(grafico_);
    divisao->setStretchFactor(0, 3);
    divisao->setStretchFactor(1, 1);
    coluna->addWidget(divisao, 1);
    coluna->addWidget(legenda(conteudo, modelo_->quadro().inicio_returno > 0));

    // Wide enough for the board of a whole season beside the chart, within a 1366 x 768 screen.
    const int largura_quadro = quadro->verticalHeader()->sizeHint().width() + modelo_->columnCount() * lado_casa + 24;
    const int altura = quadro->horizontalHeader()->sizeHint().height() + modelo_->rowCount() * lado_casa + 8;
    divisao->setSizes({largura_quadro, grafico_->sizeHint().width()});
    conteudo->setMinimumSize(qMin(1300, largura_quadro + grafico_->sizeHint().width()),
                             qMin(600, qMax(altura, grafico_->sizeHint().height())));

    auto* fecha = botao_com_imagem(this, "fecha_temporada", QStringLiteral("&Fecha"), icone("window-close", "fechar"));
    connect(fecha, &QPushButton::clicked, this, &QDialog::accept);
    dispoe_dialogo(this, conteudo, {fecha}, QSize(900, 600));
}

}  // namespace kelm
