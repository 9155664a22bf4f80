#include "ui/form_inviab.hpp"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "evaluation/objetivos.hpp"
#include "ui/icones.hpp"

namespace kelm {

namespace {

const char* const legendas[num_inviabilidades] = {
    "Minimizar o nº de vezes que um time jogam mais de uma vez na mesma rodada.",
    "Minimizar o nº de vezes que um time joga o 1º e o 2º  jogo dentro ou fora de casa ambos.",
    "Minimizar o nº de vezes que os dois últimos jogos não repetem a configuração dos dois primeiros.",
    "Minimizar o nº de vezes que o nº de jogos dentro de casa é diferente do nº de jogos fora de casa.",
    "Minimizar o nº de vezes que dois times do mesmo estado jogam na última rodada.",
    "Minimizar o nº de vezes que um time joga mais de duas vezes consecutivas fora de casa.",
    "Minimizar o nº de vezes que um time joga mais de duas vezes consecutivas dentro de casa.",
    "Minimizar da distância total percorrida.",
    "Minimizar a diferença entre a maior e a menor distância percorrida durante o campeonato.",
};

}  // namespace

Tform_inviab::Tform_inviab(Objetivos& config, const Mensageiro& mensageiro, QWidget* pai)
    : QDialog(pai), config_(config), mensageiro_(mensageiro)
{
    setObjectName(QStringLiteral("form_inviab"));
    setWindowTitle(QStringLiteral(" OBJETIVOS A CUMPRIR"));

    auto* grupo = new QGroupBox(QStringLiteral("  OBJETIVOS A SEREM CUMPRIDOS  "), this);
    grupo->setObjectName(QStringLiteral("GroupBox1"));
    auto* caixas = new QVBoxLayout(grupo);
    caixas->setSpacing(0);
    caixas->setContentsMargins(16, 12, 16, 12);
    for (std::size_t i = 0; i < num_inviabilidades; ++i) {
        auto* c = new QCheckBox(QString::fromUtf8(legendas[i]), grupo);
        c->setObjectName(QStringLiteral("inv%1").arg(i + 1));
        QFont f = c->font();
        f.setPixelSize(13);
        c->setFont(f);
        c->setFixedHeight(24);  // one box every 24 pixels
        caixas->addWidget(c);
        inv_[i] = c;
    }

    auto* ok = botao_com_imagem(this, "ok", QStringLiteral("&Ok"), style()->standardIcon(QStyle::SP_DialogOkButton));
    cancelar_ = botao_com_imagem(this, "cancelar", QStringLiteral("&Cancelar"), style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto* todos = botao_com_imagem(this, "todos", QStringLiteral("&Todos"), icone("edit-select-all", "todos"));
    auto* resete = botao_com_imagem(this, "resete", QStringLiteral("&Resetar"), icone("edit-clear", "resetar"));
    ok->setDefault(true);
    for (QPushButton* b : {cancelar_, todos, resete}) b->setAutoDefault(false);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {ok, cancelar_, todos, resete}) botoes->addWidget(b);
    botoes->addStretch();
    botoes->setSpacing(24);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(16, 16, 16, 16);
    principal->setSpacing(16);
    principal->addWidget(grupo);
    principal->addStretch();
    principal->addLayout(botoes);

    connect(ok, &QPushButton::clicked, this, &Tform_inviab::okClick);
    connect(cancelar_, &QPushButton::clicked, this, &Tform_inviab::cancelarClick);
    connect(todos, &QPushButton::clicked, this, &Tform_inviab::todosClick);
    connect(resete, &QPushButton::clicked, this, &Tform_inviab::reseteClick);

    // 683 x 401, or more when the texts need it.
    const QSize dica = sizeHint();
    setFixedSize(qMax(683, dica.width()), qMax(401, dica.height()));
}

void Tform_inviab::okClick()
{
    std::array<bool, num_inviabilidades> marcados{};
    for (std::size_t i = 0; i < num_inviabilidades; ++i) marcados[i] = inv_[i]->isChecked();
    const Desfecho d = define_objetivos(config_, marcados);
    if (!d.sucesso) {
        mensageiro_.mostra(this, Mensagem::de(d));
        return;
    }
    accept();
}

void Tform_inviab::cancelarClick()
{
    config_.objetivos_escolhidos = false;
    reject();
}

void Tform_inviab::todosClick()
{
    for (QCheckBox* c : inv_) c->setChecked(true);
}

void Tform_inviab::reseteClick()
{
    for (QCheckBox* c : inv_) c->setChecked(false);
}

void Tform_inviab::keyPressEvent(QKeyEvent* evento)
{
    if (evento->key() == Qt::Key_Escape && evento->modifiers() == Qt::NoModifier) {
        cancelar_->click();
        return;
    }
    QDialog::keyPressEvent(evento);
}

}  // namespace kelm
