#include "ui/paineis.hpp"

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "search/execucoes.hpp"
#include "ui/regional.hpp"

namespace kelm {

namespace {

QString prefixo_inviabilidade(int k) { return QStringLiteral("Inviabilidade %1:   ").arg(k); }

// How far the objective and the times move down when the tenth count shows: one line of the
// right column of counts.
constexpr int linha_requisitos = 22;

}  // namespace

QString texto_execucoes(const Andamento& a, int threads)
{
    if (a.execucoes <= 1) return {};
    if (threads <= 1)
        return QStringLiteral("execução %1 de %2").arg(qMin(a.execucoes_concluidas + 1, a.execucoes)).arg(a.execucoes);
    return QStringLiteral("%1 execuções em paralelo, %2 %3")
        .arg(a.execucoes)
        .arg(a.execucoes_concluidas)
        .arg(a.execucoes_concluidas == 1 ? QStringLiteral("concluída") : QStringLiteral("concluídas"));
}

void pinta_painel(QWidget* painel)
{
    QPalette p = QApplication::palette();
    p.setBrush(QPalette::Window, QApplication::palette().brush(QPalette::Highlight));
    p.setBrush(QPalette::WindowText, QApplication::palette().brush(QPalette::HighlightedText));
    painel->setPalette(p);
    painel->setAutoFillBackground(true);
}

PainelAndamento::PainelAndamento(QWidget* pai) : QFrame(pai)
{
    setObjectName(QStringLiteral("executando"));
    resize(largura, altura);
    pinta_painel(this);
    // A raised frame around the panel.
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);

    titulo_ = rotulo("Label1", QStringLiteral("Aguarde. AA Executando..."), 118, 12, 21);
    rotulo_andamento_ = rotulo("Label7", QStringLiteral("Andamento:"), 12, 58, 13);
    percentual_ = rotulo("Label2", QStringLiteral("%"), 110, 58, 16);
    execucoes_ = rotulo("execucoes", QString(), 239, 60, 13);
    hora_inicio_ = rotulo("Label3", QStringLiteral("Hora de Início :"), 12, 91, 13);
    hora_atual_ = rotulo("Label4", QStringLiteral("Hora Atual :"), 239, 91, 13);
    rotulo("Label8", QStringLiteral("Inviabilidades "), 174, 122, 19);  // heading of the nine counts
    const int y_esquerda[5] = {159, 193, 215, 236, 257};
    const int y_direita[4] = {191, 213, 236, 258};
    for (int k = 1; k <= 9; ++k) {
        const QByteArray nome = "inv" + QByteArray::number(k);
        const bool esquerda = k <= 5;
        inv_[k - 1] = rotulo(nome.constData(), QStringLiteral("Inviabilidade %1:").arg(k), esquerda ? 14 : 230,
                             esquerda ? y_esquerda[k - 1] : y_direita[k - 6], 13);
    }
    inv_[num_inviabilidades] = rotulo("inv10", QStringLiteral("Inviabilidade 10:"), 230, 280, 13);
    inv_[num_inviabilidades]->hide();
    inv_[num_inviabilidades + 1] = rotulo("inv11", QStringLiteral("Inviabilidade 11:"), 14, 280, 13);
    inv_[num_inviabilidades + 1]->hide();
    rotulo_fo_ = rotulo("Label6", QStringLiteral("Melhor Função Objetivo: "), 13, 303, 19, false);
    fo_ = rotulo("fo", QStringLiteral("Melhor FO"), 231, 306, 16);
    QPalette amarelo = fo_->palette();
    amarelo.setColor(QPalette::WindowText, Qt::yellow);
    fo_->setPalette(amarelo);
    tempo_execucao_ = rotulo("Label5", QStringLiteral("Tempo de Execução:"), 12, 357, 13);
    reaquece_ = rotulo("reaquece", QStringLiteral("Nº de Reaquecimentos: 0"), 244, 357, 13);
    // Left of the title: the run ends at its next temperature level, keeping its best schedule.
    parar_ = new QPushButton(QStringLiteral("&Parar"), this);
    parar_->setObjectName(QStringLiteral("parar"));
    parar_->setGeometry(12, 12, 94, 28);
    parar_->setFocusPolicy(Qt::NoFocus);
    parar_->setToolTip(QStringLiteral("Termina a execução no próximo nível de temperatura, com a melhor tabela "
                                      "encontrada até então (Esc)"));
    parar_->setAutoFillBackground(false);
    parar_->setPalette(QApplication::palette());
    connect(parar_, &QPushButton::clicked, this, &PainelAndamento::parar);

    // Thin lines divide the panel into its groups: title, progress, times, counts, objective,
    // and the last line; a vertical one parts the two columns of counts.
    linha("Bevel7", 8, 48, largura - 16, true);
    linha("Bevel8", 8, 84, largura - 16, true);
    linha("Bevel9", 8, 116, largura - 16, true);
    linha("Bevel10", 8, 152, largura - 16, true);
    QWidget* bevel11 = linha("Bevel11", 8, 290, largura - 16, true);
    QWidget* bevel12 = linha("Bevel12", 8, 346, largura - 16, true);
    divisao_colunas_ = linha("Bevel14", 222, 152, 290 - 152, false);
    abaixo_das_contagens_ = {bevel11, bevel12, rotulo_fo_, fo_, tempo_execucao_, reaquece_};
    reorganiza();
}

QLabel* PainelAndamento::rotulo(const char* nome, const QString& texto, int x, int y, int pixels, bool negrito)
{
    auto* l = new QLabel(texto, this);
    l->setObjectName(QLatin1String(nome));
    QFont f = l->font();
    f.setPixelSize(pixels);
    f.setBold(negrito);
    l->setFont(f);
    l->move(x, y);
    l->setProperty("x_projeto", x);
    l->adjustSize();
    return l;
}

QWidget* PainelAndamento::linha(const char* nome, int x, int y, int comprimento, bool horizontal)
{
    auto* l = new QFrame(this);
    l->setObjectName(QLatin1String(nome));
    l->setFrameShape(horizontal ? QFrame::HLine : QFrame::VLine);
    l->setFrameShadow(QFrame::Sunken);
    if (horizontal)
        l->setGeometry(x, y - 1, comprimento, 2);
    else
        l->setGeometry(x - 1, y, 2, comprimento);
    return l;
}

void PainelAndamento::reorganiza()
{
    const QList<QLabel*> rotulos = findChildren<QLabel*>(Qt::FindDirectChildrenOnly);
    for (QLabel* l : rotulos) l->adjustSize();
    // Pairs on one line: the second starts at its own place, or after the first.
    const std::pair<QLabel*, QLabel*> pares[] = {
        {rotulo_andamento_, percentual_}, {percentual_, execucoes_}, {hora_inicio_, hora_atual_},
        {rotulo_fo_, fo_},                {tempo_execucao_, reaquece_}, {inv_[1], inv_[5]},
        {inv_[2], inv_[6]},               {inv_[3], inv_[7]},           {inv_[4], inv_[8]}};
    for (const auto& [primeiro, segundo] : pares) {
        const int x = qMax(segundo->property("x_projeto").toInt(), primeiro->geometry().right() + 10);
        if (x != segundo->x()) segundo->move(x, segundo->y());
    }
    int direita = largura;
    for (QLabel* l : rotulos) direita = qMax(direita, l->geometry().right() + 12);
    if (direita != width()) resize(direita, height());
}

void PainelAndamento::atualiza_andamento(const Andamento& a, const QLocale& local)
{
    titulo_->setText(QStringLiteral("Aguarde. ") + QString::fromUtf8(a.algoritmo) + QStringLiteral(" Executando..."));
    hora_atual_->setText(QStringLiteral("Hora Atual : ") + texto_hora(a.hora_atual, local));
    percentual_->setText(numero(a.percentual, local) + QStringLiteral(" %"));
    execucoes_->setText(texto_execucoes(a, threads_para(a.execucoes)));
    tempo_execucao_->setText(QStringLiteral("Tempo de Execução: ") + duracao(a.tempo_execucao));
    for (int k = 1; k <= num_contagens; ++k)
        inv_[k - 1]->setText(prefixo_inviabilidade(k) +
                             numero(a.inviabilidades_melhor[static_cast<std::size_t>(k - 1)], local));
    fo_->setText(numero(a.fo_star, local));
    reorganiza();
}

void PainelAndamento::mostra_inicio(double hora_inicio, const QLocale& local)
{
    hora_inicio_->setText(QStringLiteral("Hora de Início : ") + texto_hora(hora_inicio, local));
    reorganiza();
}

void PainelAndamento::mostra_reaquecimentos(int n)
{
    reaquece_->setText(QStringLiteral("Nº de Reaquecimentos: ") + QString::number(n));
    reorganiza();
}

void PainelAndamento::mostra_requisitos(bool em_vigor)
{
    QLabel* requisitos = inv_[num_inviabilidades];
    if (requisitos->isVisibleTo(this) == em_vigor) return;
    const int d = em_vigor ? linha_requisitos : -linha_requisitos;
    for (QWidget* w : abaixo_das_contagens_) w->move(w->x(), w->y() + d);
    divisao_colunas_->resize(divisao_colunas_->width(), divisao_colunas_->height() + d);
    requisitos->setVisible(em_vigor);
    resize(width(), height() + d);
}

void PainelAndamento::permite_parar(bool permite) { parar_->setEnabled(permite); }

PainelTemperatura::PainelTemperatura(QWidget* pai) : QFrame(pai)
{
    setObjectName(QStringLiteral("calc_temp"));
    resize(largura, altura);
    pinta_painel(this);
    setFrameStyle(QFrame::Panel | QFrame::Raised);
    setLineWidth(2);

    auto* label9 = new QLabel(QStringLiteral("Calculando T0..."), this);
    label9->setObjectName(QStringLiteral("Label9"));
    temp_inicial_ = new QLabel(QStringLiteral("T0"), this);
    temp_inicial_->setObjectName(QStringLiteral("temp_inicial"));
    for (QLabel* l : {label9, temp_inicial_}) {
        QFont f = l->font();
        f.setPixelSize(16);
        f.setBold(true);
        l->setFont(f);
    }
    label9->setGeometry(12, 8, largura - 24, 24);
    temp_inicial_->setGeometry(12, 36, largura - 24, 24);
}

void PainelTemperatura::mostra_candidata(double t, const QLocale& local) { temp_inicial_->setText(numero(t, local)); }

}  // namespace kelm
