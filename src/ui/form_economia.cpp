#include "ui/form_economia.hpp"

#include <cmath>

#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStyle>
#include <QTableWidget>
#include <QVBoxLayout>

#include "ui/dialogos_comuns.hpp"
#include "ui/icones.hpp"
#include "ui/regional.hpp"

namespace kelm {

namespace {

// A read-only table of texts, its headings given.
QTableWidget* tabela_de_textos(QWidget* pai, const char* nome, const QStringList& colunas, const QStringList& linhas)
{
    auto* t = new QTableWidget(static_cast<int>(linhas.size()), static_cast<int>(colunas.size()), pai);
    t->setObjectName(QLatin1String(nome));
    t->setHorizontalHeaderLabels(colunas);
    t->setVerticalHeaderLabels(linhas);
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionMode(QAbstractItemView::ContiguousSelection);
    // Rows as tall as a line of text, so that the window fits a small screen.
    t->verticalHeader()->setDefaultSectionSize(t->fontMetrics().height() + 8);
    return t;
}

void poe(QTableWidget* t, int linha, int coluna, const QString& texto, bool numero = true)
{
    auto* item = new QTableWidgetItem(texto);
    if (numero) item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    t->setItem(linha, coluna, item);
}

// A share in per cent, with one decimal and the decimal comma of the window's Portuguese
// sentences, whatever the regional settings.
QString percentual(double valor) { return QLocale(QLocale::Portuguese, QLocale::Brazil).toString(std::abs(valor), 'f', 1); }

// The sentence under the comparison: the km the result saves, or travels beyond the schedule
// the run started from (`partida`, as in "a tabela inicial": "inicial", "de partida", ...).
QString resumo_economia(const Economia& economia, const QString& partida)
{
    const QString km = numero(std::abs(economia.km_economizados));
    if (economia.km_economizados >= 0)
        return QStringLiteral("Economia obtida: %1 km (%2 % da distância da tabela %3)")
            .arg(km, percentual(economia.percentual), partida);
    return QStringLiteral("A tabela obtida percorre %1 km a mais que a %2 (%3 % a mais)")
        .arg(km, partida, percentual(economia.percentual));
}

// The requirements the result does not meet, one sentence each, naming the requirement's
// line; or the sentence that it meets them all.
QWidget* lista_requisitos(QWidget* pai, const Explicacao& explicacao)
{
    QStringList frases;
    for (const Ocorrencia& o : explicacao.ocorrencias)
        if (o.inviabilidade == Inviabilidade::requisitos) frases << QString::fromStdString(o.frase) + QLatin1Char('.');
    auto* lista = new QListWidget(pai);
    lista->setObjectName(QStringLiteral("requisitos_nao_atendidos"));
    lista->addItem(frases.isEmpty() ? QStringLiteral("A tabela obtida atende a todos os requisitos do planejador.")
                                    : QStringLiteral("Requisitos do planejador que a tabela obtida não atende:"));
    lista->item(0)->setFlags(Qt::ItemIsEnabled);
    QFont negrito = lista->font();
    negrito.setBold(true);
    lista->item(0)->setFont(negrito);
    lista->addItems(frases);
    // Four lines in sight, the rest a scroll away, so that the window fits a small screen.
    lista->setFixedHeight(4 * lista->sizeHintForRow(0) + 2 * lista->frameWidth());
    return lista;
}

// In a re-plan: how many games left the round they had in the schedule it started from, how
// many of each team's, and each of them ("Grêmio x Vasco: rodada 8 → 14").
QWidget* lista_mudancas(QWidget* pai, const Campeonato& campeonato, const Economia& economia)
{
    QStringList frases;
    for (const Ocorrencia& o : economia.explicacao_obtida.ocorrencias)
        if (o.inviabilidade == Inviabilidade::mudancas) frases << QString::fromStdString(o.frase);
    auto* lista = new QListWidget(pai);
    lista->setObjectName(QStringLiteral("jogos_mudados"));
    QFont negrito = lista->font();
    negrito.setBold(true);
    const auto titulo = [&](const QString& texto) {
        lista->addItem(texto);
        lista->item(lista->count() - 1)->setFlags(Qt::ItemIsEnabled);
        lista->item(lista->count() - 1)->setFont(negrito);
    };
    if (frases.isEmpty()) {
        titulo(QStringLiteral("Nenhum jogo mudou de rodada em relação à tabela de partida."));
    } else {
        titulo(frases.size() == 1 ? QStringLiteral("1 jogo mudou de rodada em relação à tabela de partida:")
                                  : QStringLiteral("%1 jogos mudaram de rodada em relação à tabela de partida:")
                                        .arg(frases.size()));
        QStringList por_time;
        for (std::size_t t = 1; t < economia.mudados_por_time.size(); ++t)
            if (const int m = economia.mudados_por_time[t]; m > 0)
                por_time << QString::fromStdString(campeonato.nomes_times[t]) + QLatin1Char(' ') + QString::number(m);
        titulo(QStringLiteral("Por time: ") + por_time.join(QStringLiteral(", ")) + QLatin1Char('.'));
        lista->addItems(frases);
    }
    lista->setFixedHeight(4 * lista->sizeHintForRow(0) + 2 * lista->frameWidth());
    return lista;
}

}  // namespace

Tform_economia::Tform_economia(const Campeonato& campeonato, const Economia& economia, bool partida_compacta,
                               QWidget* pai, std::function<void()> abre_visao_geral)
    : QDialog(pai)
{
    setObjectName(QStringLiteral("form_economia"));
    setWindowTitle(QStringLiteral("Economia Obtida"));
    auto* conteudo = new QWidget(this);
    auto* coluna = new QVBoxLayout(conteudo);
    coluna->setContentsMargins(0, 0, 0, 0);

    // Nine counts, the tenth when the run had the planner's requirements, the eleventh in a
    // re-plan.
    const std::vector<std::size_t> vistas = economia.explicacao_obtida.vistas.indices();
    const int contadas = static_cast<int>(vistas.size());
    QStringList linhas;
    for (const std::size_t k : vistas) linhas << QStringLiteral("Inviabilidade %1").arg(k + 1);
    linhas << QStringLiteral("Função objetivo") << QStringLiteral("Distância total (km)");
    // The compact search does not start from the initial schedule but from a compact round
    // robin of its own: that is the schedule the result is compared with.
    if (partida_compacta) {
        auto* aviso = new QLabel(QStringLiteral("A busca compacta não parte da tabela inicial, e sim de um rodízio "
                                                "sorteado por ela, em que todo time joga em toda rodada."),
                                 conteudo);
        aviso->setObjectName(QStringLiteral("partida"));
        aviso->setWordWrap(true);
        coluna->addWidget(aviso);
    }
    // A re-plan starts from the schedule that was on screen.
    const bool replanejamento = economia.explicacao_obtida.vistas.mudancas;
    const QString inicial = replanejamento     ? QStringLiteral("Tabela de partida")
                            : partida_compacta ? QStringLiteral("Partida da busca compacta")
                                               : QStringLiteral("Tabela inicial");
    // Which counts FO counts: the objectives in force when the run ended.
    auto* comparacao = tabela_de_textos(conteudo, "comparacao",
                                        {inicial, QStringLiteral("Tabela obtida"), QStringLiteral("Objetivo")}, linhas);
    for (int i = 0; i < contadas; ++i) {
        const std::size_t k = vistas[static_cast<std::size_t>(i)];
        poe(comparacao, i, 0, numero(economia.inicial[k]));
        poe(comparacao, i, 1, numero(economia.obtida[k]));
        poe(comparacao, i, 2, economia.objetivos[k] != 0 ? QStringLiteral("Sim") : QStringLiteral("Não"), false);
    }
    poe(comparacao, contadas, 0, numero(economia.fo_inicial));
    poe(comparacao, contadas, 1, numero(economia.fo_obtida));
    poe(comparacao, contadas + 1, 0, numero(economia.inicial[Inviabilidade::distancia_total]));
    poe(comparacao, contadas + 1, 1, numero(economia.obtida[Inviabilidade::distancia_total]));
    comparacao->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    // Every row in sight.
    comparacao->setMinimumHeight(comparacao->verticalHeader()->length() + comparacao->horizontalHeader()->sizeHint().height() +
                                 2 * comparacao->frameWidth());
    coluna->addWidget(comparacao);

    auto* resumo = new QLabel(resumo_economia(economia, replanejamento     ? QStringLiteral("de partida")
                                                        : partida_compacta ? QStringLiteral("de partida da busca compacta")
                                                                           : QStringLiteral("inicial")),
                              conteudo);
    resumo->setObjectName(QStringLiteral("economia"));
    QFont negrito = resumo->font();
    negrito.setBold(true);
    resumo->setFont(negrito);
    coluna->addWidget(resumo);
    if (economia.explicacao_obtida.vistas.requisitos) coluna->addWidget(lista_requisitos(conteudo, economia.explicacao_obtida));
    if (economia.explicacao_obtida.vistas.mudancas) coluna->addWidget(lista_mudancas(conteudo, campeonato, economia));

    QStringList colunas{QStringLiteral("Sequência"), QStringLiteral("Casa"), QStringLiteral("Fora"), QStringLiteral("Km")};
    for (const std::size_t k : vistas) colunas << QStringLiteral("Inv%1").arg(k + 1);
    QStringList nomes;
    for (const LinhaTime& linha : economia.explicacao_obtida.times)
        nomes << QString::fromStdString(campeonato.nomes_times[static_cast<std::size_t>(linha.time)]);
    auto* times = tabela_de_textos(conteudo, "times", colunas, nomes);
    int r = 0;
    for (const LinhaTime& linha : economia.explicacao_obtida.times) {
        QStringList sequencia;
        for (const std::string& s : linha.sequencia) sequencia << QString::fromStdString(s);
        poe(times, r, 0, sequencia.join(QLatin1Char(' ')), false);
        poe(times, r, 1, QString::number(linha.jogos_casa));
        poe(times, r, 2, QString::number(linha.jogos_fora));
        poe(times, r, 3, numero(static_cast<double>(linha.km)));
        for (int i = 0; i < contadas; ++i)
            poe(times, r, 4 + i, numero(static_cast<double>(linha.parcelas[vistas[static_cast<std::size_t>(i)]])));
        ++r;
    }
    times->resizeColumnsToContents();
    times->setMinimumHeight(140);
    coluna->addWidget(times, 1);

    auto* fecha = botao_com_imagem(this, "fecha_economia", QStringLiteral("&Fecha"), icone("window-close", "fechar"));
    connect(fecha, &QPushButton::clicked, this, &QDialog::accept);
    if (!abre_visao_geral) {
        dispoe_dialogo(this, conteudo, {fecha}, QSize(1000, 600));
        return;
    }
    auto* visao = botao_com_imagem(this, "visao_geral", QStringLiteral("&Visão Geral da Temporada"),
                                   icone("view-calendar", "tabela_inicial"));
    connect(visao, &QPushButton::clicked, this, std::move(abre_visao_geral));
    dispoe_dialogo(this, conteudo, {fecha, visao}, QSize(1000, 600));
}

}  // namespace kelm
