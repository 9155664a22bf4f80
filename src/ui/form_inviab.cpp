#include "ui/form_inviab.hpp"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "evaluation/objetivos.hpp"
#include "ui/dialogos_comuns.hpp"
#include "ui/icones.hpp"

namespace kelm {

Tform_inviab::Tform_inviab(Criterios& criterios, const Mensageiro& mensageiro, QWidget* pai)
    : QDialog(pai), criterios_(criterios), mensageiro_(mensageiro)
{
    setObjectName(QStringLiteral("form_inviab"));
    setWindowTitle(QStringLiteral(" OBJETIVOS A CUMPRIR"));

    auto* grupo = new QGroupBox(QStringLiteral("  OBJETIVOS A SEREM CUMPRIDOS  "), this);
    grupo->setObjectName(QStringLiteral("GroupBox1"));
    auto* caixas = new QVBoxLayout(grupo);
    caixas->setSpacing(0);
    caixas->setContentsMargins(16, 12, 16, 12);
    for (std::size_t i = 0; i < num_contagens; ++i) {
        auto* c = new QCheckBox(QString::fromUtf8(legendas[i].objetivo), grupo);
        c->setObjectName(QStringLiteral("inv%1").arg(i + 1));
        QFont f = c->font();
        f.setPixelSize(13);
        c->setFont(f);
        c->setFixedHeight(24);  // one box every 24 pixels
        caixas->addWidget(c);
        inv_[i] = c;
    }
    QCheckBox* requisitos = inv_[static_cast<std::size_t>(Inviabilidade::requisitos)];

    auto* ok = botao_com_imagem(this, "ok", QStringLiteral("&Ok"), style()->standardIcon(QStyle::SP_DialogOkButton));
    cancelar_ = botao_com_imagem(this, "cancelar", QStringLiteral("&Cancelar"), style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto* todos = botao_com_imagem(this, "todos", QStringLiteral("&Todos"), icone("edit-select-all", "todos"));
    auto* resete = botao_com_imagem(this, "resete", QStringLiteral("&Resetar"), icone("edit-clear", "resetar"));
    // Sized with the requirements' box in view, so that showing it later needs no new size.
    dispoe_dialogo(this, grupo, {ok, cancelar_, todos, resete}, QSize(683, 401));
    requisitos->hide();
    inv_[static_cast<std::size_t>(Inviabilidade::mudancas)]->hide();

    connect(ok, &QPushButton::clicked, this, &Tform_inviab::okClick);
    connect(cancelar_, &QPushButton::clicked, this, &Tform_inviab::cancelarClick);
    connect(todos, &QPushButton::clicked, this, &Tform_inviab::todosClick);
    connect(resete, &QPushButton::clicked, this, &Tform_inviab::reseteClick);
}

void Tform_inviab::mostra_requisitos(bool em_vigor)
{
    inv_[static_cast<std::size_t>(Inviabilidade::requisitos)]->setVisible(em_vigor);
}

void Tform_inviab::okClick()
{
    std::array<bool, num_inviabilidades> marcados{};
    for (std::size_t i = 0; i < num_inviabilidades; ++i) marcados[i] = inv_[i]->isChecked();
    // A hidden requirements' box says nothing: their flag stays as it was.
    const QCheckBox* requisitos = inv_[static_cast<std::size_t>(Inviabilidade::requisitos)];
    std::optional<bool> marcado_requisitos;
    if (requisitos->isVisibleTo(this)) marcado_requisitos = requisitos->isChecked();
    const Desfecho d = define_objetivos(criterios_, marcados, marcado_requisitos);
    if (!d.sucesso) {
        mensageiro_.mostra(this, Mensagem::de(d));
        return;
    }
    accept();
}

void Tform_inviab::cancelarClick()
{
    criterios_.objetivos_escolhidos = false;
    reject();
}

// "&Todos" and "&Resetar" reach every box, the requirements' too while it is hidden, so that it
// shows as the others when requirements come into force.
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
