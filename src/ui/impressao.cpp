#include "ui/impressao.hpp"

#include <algorithm>

#include <QFontMetricsF>
#include <QPainter>
#include <QPrintPreviewDialog>
#include <QPrinter>

#include "report/quadro_mandos.hpp"
#include "ui/quadro_temporada.hpp"
#include "ui/regional.hpp"

namespace kelm {

namespace {

// The pages being laid out: where the next line goes, and the heading of every page. Laid
// out twice, first without a painter to count the pages, then painting with the count known.
class Paginas {
public:
    Paginas(QPagedPaintDevice& destino, QPainter* pintor, QString titulo, QString data, int total)
        : d_(destino), p_(pintor), titulo_(std::move(titulo)), data_(std::move(data)), total_(total)
    {
    }

    // Millimetres in the device's units; the fonts of the page; the height and width of a
    // text; a text cut to a width.
    double mm(double milimetros) const { return milimetros * d_.logicalDpiY() / 25.4; }
    QFont fonte(double pontos, bool negrito = false) const
    {
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPointSizeF(pontos);
        f.setBold(negrito);
        return f;
    }
    double altura(const QFont& f) const { return QFontMetricsF(f, &d_).height(); }
    double largura(const QFont& f, const QString& texto) const { return QFontMetricsF(f, &d_).horizontalAdvance(texto); }
    QString encurta(const QFont& f, const QString& texto, double largura) const
    {
        return QFontMetricsF(f, &d_).elidedText(texto, Qt::ElideRight, largura);
    }

    // The printable area: its width, its bottom, the first line below the page's heading.
    double largura_util() const { return d_.width(); }
    double base() const { return d_.height(); }
    double topo() const { return topo_; }
    double y = 0;
    int pagina() const { return pagina_; }
    QPainter* pintor() const { return p_; }

    // Starts a page: a new sheet after the first, then its heading.
    void nova_pagina()
    {
        if (pagina_ > 0 && p_ != nullptr) d_.newPage();
        ++pagina_;
        const QFont grande = fonte(12, true);
        const QFont pequena = fonte(8);
        const double w = largura_util();
        texto({0, 0, w, altura(grande)}, Qt::AlignLeft, encurta(grande, titulo_, w - largura(pequena, data_) - mm(5)), grande);
        texto({0, 0, w, altura(grande)}, Qt::AlignRight, data_, pequena);
        const double y2 = altura(grande);
        texto({0, y2, w, altura(pequena)}, Qt::AlignRight, QStringLiteral("Página %1 de %2").arg(pagina_).arg(total_), pequena);
        y = y2 + altura(pequena) + mm(1);
        if (p_ != nullptr) p_->fillRect(QRectF(0, y, w, mm(0.3)), Qt::black);
        y += mm(3);
        topo_ = y;
    }

    // Goes on to a new page when `altura` does not fit below the last line.
    void garante(double altura_pedida)
    {
        if (pagina_ == 0 || (y + altura_pedida > base() && y > topo_)) nova_pagina();
    }

    // Writes a text in `area` (nothing while the pages are only being counted).
    void texto(const QRectF& area, int alinhamento, const QString& t, const QFont& f, const QColor& cor = Qt::black)
    {
        if (p_ == nullptr) return;
        p_->setFont(f);
        p_->setPen(cor);
        const int linhas = (alinhamento & Qt::TextWordWrap) != 0 ? 0 : Qt::TextSingleLine;
        p_->drawText(area, alinhamento | Qt::AlignVCenter | linhas, t);
    }

    // The title of a section, on the line below.
    void titulo_secao(const QString& t)
    {
        const QFont f = fonte(11, true);
        garante(altura(f) * 3);
        texto({0, y, largura_util(), altura(f)}, Qt::AlignLeft, t, f);
        y += altura(f) + mm(2);
    }

private:
    QPagedPaintDevice& d_;
    QPainter* p_;
    QString titulo_;
    QString data_;
    int total_;
    int pagina_ = 0;
    double topo_ = 0;
};

// What is printed, and the names as Qt texts.
struct Impresso {
    const Campeonato& campeonato;
    const Tabela& tabela;
    const Explicacao& explicacao;
    const Ficha& ficha;
    QStringList nomes;
    const Calendario* calendario;  // the rounds' dates, or null
};

// The fixture list: the rounds flow down the page's columns, each round kept whole.
void imprime_jogos(Paginas& pg, const Impresso& im)
{
    pg.nova_pagina();
    pg.titulo_secao(QStringLiteral("Tabela de Jogos"));
    const QFont cabeca = pg.fonte(9.5, true);
    const QFont corpo = pg.fonte(9);
    const double h_cabeca = pg.altura(cabeca) * 1.3;
    const double h_linha = pg.altura(corpo) * 1.15;
    const int colunas = std::max(1, static_cast<int>(pg.largura_util() / pg.mm(85)));
    const double lc = pg.largura_util() / colunas;
    const double meio = lc / 2 - pg.mm(2);
    int coluna = 0;
    double topo = pg.y;
    const auto avanca = [&] {
        if (++coluna >= colunas) {
            pg.nova_pagina();
            coluna = 0;
            topo = pg.topo();
        }
        pg.y = topo;
    };
    const auto cabecalho = [&](int r, bool continua) {
        const double x = coluna * lc;
        if (QPainter* p = pg.pintor()) p->fillRect(QRectF(x, pg.y, lc - pg.mm(4), h_cabeca * 0.9), QColor(0xE0, 0xE0, 0xE0));
        QString t = QStringLiteral("%1ª RODADA").arg(r + 1);
        if (im.calendario != nullptr) t += QStringLiteral(" - ") + QString::fromStdString(texto_data(im.calendario->dia(r).data));
        if (im.ficha.inicio_returno > 0 && r == im.ficha.inicio_returno) t += QStringLiteral(" - início do returno");
        if (continua) t += QStringLiteral(" (continuação)");
        pg.texto({x + pg.mm(1), pg.y, lc - pg.mm(6), h_cabeca * 0.9}, Qt::AlignLeft, t, cabeca);
        pg.y += h_cabeca;
    };
    for (int r = 0; r < im.tabela.linhas(); ++r) {
        std::vector<Jogo> jogos;
        for (int g = 0; g < im.tabela.colunas(); ++g)
            if (!im.tabela[r][g].vazio()) jogos.push_back(im.tabela[r][g]);
        const double altura = h_cabeca + static_cast<double>(jogos.size()) * h_linha + pg.mm(3);
        const bool cabe_numa_coluna = altura <= pg.base() - pg.topo();
        if (pg.y + altura > pg.base() && (cabe_numa_coluna || pg.y > topo)) avanca();
        cabecalho(r, false);
        for (const Jogo& j : jogos) {
            if (pg.y + h_linha > pg.base()) {
                avanca();
                cabecalho(r, true);
            }
            const double x = coluna * lc;
            const QString casa = pg.encurta(corpo, im.nomes.value(j.mandante()), meio - pg.mm(3));
            const QString fora = pg.encurta(corpo, im.nomes.value(j.visitante()), meio - pg.mm(3));
            pg.texto({x, pg.y, meio - pg.mm(2), h_linha}, Qt::AlignRight, casa, corpo);
            pg.texto({x + meio - pg.mm(2), pg.y, pg.mm(4), h_linha}, Qt::AlignHCenter, QStringLiteral("X"), corpo);
            pg.texto({x + meio + pg.mm(2), pg.y, meio - pg.mm(2), h_linha}, Qt::AlignLeft, fora, corpo);
            pg.y += h_linha;
        }
        pg.y += pg.mm(3);
    }
}

// One band of the home/away board: the rounds from `primeira` to before `fim`, with the
// home and away games and km after the last round.
void imprime_faixa(Paginas& pg, const Impresso& im, const QuadroMandos& q, int primeira, int fim, double largura_nome,
                   double largura_casa, bool com_totais)
{
    const QFont f = pg.fonte(6.5);
    const QFont negrito = pg.fonte(6.5, true);
    const QFont numeros = pg.fonte(5.5);
    const double h = std::max(pg.mm(4.2), pg.altura(f) * 1.25);
    const double largura_numero = pg.largura(negrito, QStringLiteral("000000")) + pg.mm(2);
    const auto cabecalho = [&] {
        pg.texto({0, pg.y, largura_nome, h}, Qt::AlignLeft, QStringLiteral("Time"), negrito);
        for (int r = primeira; r < fim; ++r)
            pg.texto({largura_nome + (r - primeira) * largura_casa, pg.y, largura_casa, h}, Qt::AlignHCenter,
                     QString::number(r + 1), numeros);
        const double x = largura_nome + (fim - primeira) * largura_casa;
        if (com_totais)
            for (int k = 0; k < 3; ++k)
                pg.texto({x + k * largura_numero, pg.y, largura_numero, h}, Qt::AlignRight,
                         QStringList{QStringLiteral("Casa"), QStringLiteral("Fora"), QStringLiteral("Km")}[k], negrito);
        pg.y += h;
    };
    pg.garante(2 * h);
    cabecalho();
    for (const LinhaTime& l : im.explicacao.times) {
        if (pg.y + h > pg.base()) {
            pg.nova_pagina();
            cabecalho();
        }
        pg.texto({0, pg.y, largura_nome, h}, Qt::AlignLeft, pg.encurta(f, im.nomes.value(l.time), largura_nome - pg.mm(1)), f);
        for (int r = primeira; r < fim; ++r)
            if (QPainter* p = pg.pintor()) {
                p->setFont(f);
                pinta_casa(*p, QRectF(largura_nome + (r - primeira) * largura_casa, pg.y, largura_casa, h), q.casa(l.time, r),
                           q.inicio_returno > 0 && r == q.inicio_returno);
            }
        const double x = largura_nome + (fim - primeira) * largura_casa;
        if (com_totais) {
            const double valores[] = {double(l.jogos_casa), double(l.jogos_fora), double(l.km)};
            for (int k = 0; k < 3; ++k)
                pg.texto({x + k * largura_numero, pg.y, largura_numero, h}, Qt::AlignRight, numero(valores[k]), f);
        }
        pg.y += h;
    }
    pg.y += pg.mm(4);
}

// The home/away board, in bands of rounds as wide as the page allows.
void imprime_mandos(Paginas& pg, const Impresso& im)
{
    pg.nova_pagina();
    pg.titulo_secao(QStringLiteral("Mandos por Time"));
    const QuadroMandos q = monta_quadro_mandos(im.campeonato, im.tabela, im.explicacao, im.ficha.inicio_returno);
    const QFont f = pg.fonte(6.5);
    double largura_nome = pg.mm(10);
    for (const LinhaTime& l : im.explicacao.times) largura_nome = std::max(largura_nome, pg.largura(f, im.nomes.value(l.time)));
    largura_nome = std::min(largura_nome + pg.mm(2), pg.mm(35));
    const double totais = 3 * (pg.largura(pg.fonte(6.5, true), QStringLiteral("000000")) + pg.mm(2));
    const double livre = pg.largura_util() - largura_nome - totais;
    const int por_faixa = std::max(1, static_cast<int>(livre / pg.mm(3.4)));
    const double largura_casa = std::min(pg.mm(7), livre / std::max(1, std::min(q.rodadas, por_faixa)));
    int primeira = 0;
    do {
        const int fim = std::min(q.rodadas, primeira + por_faixa);
        imprime_faixa(pg, im, q, primeira, fim, largura_nome, largura_casa, fim == q.rodadas);
        primeira = fim;
    } while (primeira < q.rodadas);
    const QFont pequena = pg.fonte(7);
    pg.garante(pg.altura(pequena) * 2);
    pg.texto({0, pg.y, pg.largura_util(), pg.altura(pequena) * 2}, Qt::AlignLeft | Qt::TextWordWrap,
             QStringLiteral("Verde: em casa; laranja: fora; tons fortes: três ou mais jogos seguidos no mesmo mando. "
                            "Canto preto: quebra (mesmo mando do jogo anterior). Letra vermelha: jogo que entra numa "
                            "inviabilidade do time.%1")
                 .arg(q.inicio_returno > 0 ? QStringLiteral(" Linha grossa: início do returno.") : QString()),
             pequena);
    pg.y += pg.altura(pequena) * 2;
}

// The counts, FO and what produced them.
void imprime_contagens(Paginas& pg, const Impresso& im)
{
    const QFont f = pg.fonte(8.5);
    const QFont negrito = pg.fonte(8.5, true);
    const double h = pg.altura(f) * 1.35;
    pg.y += pg.mm(4);
    pg.garante(h * static_cast<double>(im.ficha.contagens.size() + 4));
    pg.titulo_secao(QStringLiteral("Contagens"));
    const double x_valor = pg.largura_util() - pg.mm(70);
    const double largura_descricao = x_valor - pg.mm(38);
    const auto linha = [&](const QString& nome, const QString& descricao, const QString& valor, const QString& peso,
                           const QString& objetivo, const QFont& fonte) {
        // A description too long for its column takes a second line.
        const double altura = pg.largura(fonte, descricao) > largura_descricao ? 2 * h : h;
        pg.garante(altura);
        pg.texto({0, pg.y, pg.mm(36), altura}, Qt::AlignLeft, nome, fonte);
        pg.texto({pg.mm(37), pg.y, largura_descricao, altura}, Qt::AlignLeft | Qt::TextWordWrap, descricao, fonte);
        pg.texto({x_valor, pg.y, pg.mm(28), altura}, Qt::AlignRight, valor, fonte);
        pg.texto({x_valor + pg.mm(28), pg.y, pg.mm(24), altura}, Qt::AlignRight, peso, fonte);
        pg.texto({x_valor + pg.mm(52), pg.y, pg.mm(18), altura}, Qt::AlignRight, objetivo, fonte);
        pg.y += altura;
    };
    linha(QStringLiteral("Inviabilidade"), QStringLiteral("Descrição"), QStringLiteral("Valor"), QStringLiteral("Peso"),
          QStringLiteral("Objetivo"), negrito);
    for (const ItemContagem& item : im.ficha.contagens)
        linha(QString::fromStdString(item.nome), QString::fromStdString(item.descricao), numero(item.valor),
              numero(item.peso), item.objetivo ? QStringLiteral("Sim") : QStringLiteral("Não"), f);
    linha(QStringLiteral("FO_STAR"), QStringLiteral("Função objetivo"), numero(im.ficha.fo), {}, {}, negrito);
    pg.y += pg.mm(3);
    for (const ItemProcedencia& item : im.ficha.procedencia)
        linha(QString::fromStdString(item.rotulo), QString::fromStdString(item.texto), {}, {}, {}, f);
}

}  // namespace

int imprime_tabela(QPagedPaintDevice& destino, const Campeonato& campeonato, const Tabela& tabela,
                   const Explicacao& explicacao, const Ficha& ficha, const QDate& data, const Calendario* calendario)
{
    QStringList nomes;
    for (const std::string& nome : campeonato.nomes_times) nomes << QString::fromStdString(nome);
    if (calendario != nullptr && calendario->num_rodadas() != tabela.linhas()) calendario = nullptr;
    const Impresso im{campeonato, tabela, explicacao, ficha, nomes, calendario};
    QString titulo = QStringLiteral("Programação de Jogos");
    if (!ficha.campeonato.empty()) titulo += QStringLiteral(" - ") + QString::fromStdString(ficha.campeonato);
    const QString dia = data.toString(QStringLiteral("dd/MM/yyyy"));

    const auto dispoe = [&](QPainter* pintor, int total) {
        Paginas pg(destino, pintor, titulo, dia, total);
        imprime_jogos(pg, im);
        imprime_mandos(pg, im);
        imprime_contagens(pg, im);
        return pg.pagina();
    };
    const int total = dispoe(nullptr, 0);
    QPainter pintor;
    if (!pintor.begin(&destino)) return 0;
    dispoe(&pintor, total);
    pintor.end();
    return total;
}

QString mostra_impressao(QWidget* pai, const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao,
                         const Ficha& ficha, const Calendario* calendario)
{
    QPrinter impressora(QPrinter::HighResolution);
    impressora.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(12, 12, 12, 12),
                                         QPageLayout::Millimeter));
    impressora.setDocName(QStringLiteral("Programação de Jogos"));
    QPrintPreviewDialog previa(&impressora, pai);
    previa.setObjectName(QStringLiteral("previa_impressao"));
    previa.setWindowTitle(QStringLiteral("Imprimir a Tabela Obtida"));
    QObject::connect(&previa, &QPrintPreviewDialog::paintRequested, &previa, [&](QPrinter* p) {
        imprime_tabela(*p, campeonato, tabela, explicacao, ficha, QDate::currentDate(), calendario);
    });
    previa.resize(1100, 720);
    // The preview closes accepted once it has printed.
    if (previa.exec() != QDialog::Accepted || impressora.outputFormat() != QPrinter::PdfFormat) return {};
    return impressora.outputFileName();
}

}  // namespace kelm
