#include "ui/form_pesos.hpp"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>

#include "evaluation/objetivos.hpp"
#include "files/formatos.hpp"
#include "ui/dialogos_comuns.hpp"
#include "ui/icones.hpp"
#include "ui/regional.hpp"

namespace kelm {

Tform_pesos::Tform_pesos(Criterios& criterios, const Mensageiro& mensageiro, QWidget* pai)
    : QDialog(pai), criterios_(criterios), mensageiro_(mensageiro)
{
    setObjectName(QStringLiteral("form_pesos"));
    setWindowTitle(QStringLiteral(" PESOS PARA AS PENALIDADES"));

    auto* grupo = new QGroupBox(QStringLiteral(" ENTRE COM OS PESOS DAS INVIABILIDADES "), this);
    grupo->setObjectName(QStringLiteral("GroupBox1"));
    auto* grade = new QGridLayout(grupo);
    grade->setContentsMargins(16, 12, 16, 12);
    grade->setHorizontalSpacing(12);
    grade->setVerticalSpacing(4);
    for (std::size_t i = 0; i < num_contagens; ++i) {
        auto* e = new QLineEdit(grupo);
        e->setObjectName(QStringLiteral("peso%1").arg(i + 1));
        e->setFixedWidth(120);
        auto* l = new QLabel(QString::fromUtf8(legendas[i].peso), grupo);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        QFont f = l->font();
        f.setPixelSize(13);
        l->setFont(f);
        l->setBuddy(e);
        grade->addWidget(e, static_cast<int>(i), 0);
        grade->addWidget(l, static_cast<int>(i), 1);
        peso_[i] = e;
        if (i == static_cast<std::size_t>(Inviabilidade::requisitos)) rotulo_requisitos_ = l;
    }

    auto* ok = botao_com_imagem(this, "ok_peso", QStringLiteral("&Ok"), style()->standardIcon(QStyle::SP_DialogOkButton));
    auto* cancelar =
        botao_com_imagem(this, "cancelar_peso", QStringLiteral("&Cancelar"), style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto* resete = botao_com_imagem(this, "resete_peso", QStringLiteral("&Default"), icone("document-revert", "padrao"));

    // Tab order: the weights (the tenth while it is shown), then Ok, Cancelar, Default.
    QWidget* anterior = nullptr;
    auto segue = [&](QWidget* w) {
        if (anterior != nullptr) setTabOrder(anterior, w);
        anterior = w;
    };
    for (QLineEdit* e : peso_) segue(e);
    for (QWidget* b : {ok, cancelar, resete}) segue(b);

    connect(ok, &QPushButton::clicked, this, &Tform_pesos::ok_pesoClick);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(resete, &QPushButton::clicked, this, &Tform_pesos::resete_pesoClick);

    // The edits start with the default weights.
    resete_pesoClick();
    // Sized with the requirements' weight in view, so that showing it later needs no new size.
    dispoe_dialogo(this, grupo, {ok, cancelar, resete}, QSize(706, 401));
    mostra_requisitos(false);
    for (QWidget* w : {static_cast<QWidget*>(peso_[static_cast<std::size_t>(Inviabilidade::mudancas)]),
                       grupo->findChild<QWidget*>(QStringLiteral("Label11"))})
        w->hide();
}

void Tform_pesos::mostra_requisitos(bool em_vigor)
{
    peso_[static_cast<std::size_t>(Inviabilidade::requisitos)]->setVisible(em_vigor);
    rotulo_requisitos_->setVisible(em_vigor);
}

void Tform_pesos::resete_pesoClick()
{
    const char separador = separador_decimal();
    for (std::size_t i = 0; i < num_contagens; ++i)
        peso_[i]->setText(QString::fromStdString(formata_numero(criterios_.pesos_padrao[i], separador)));
}

void Tform_pesos::ok_pesoClick()
{
    std::array<std::string, num_inviabilidades> textos;
    for (std::size_t i = 0; i < num_inviabilidades; ++i) textos[i] = peso_[i]->text().toStdString();
    // A hidden requirements' weight is not read: their weight stays as it was.
    const QLineEdit* requisitos = peso_[static_cast<std::size_t>(Inviabilidade::requisitos)];
    const std::string texto_requisitos = requisitos->text().toStdString();
    int campo = -1;
    const Desfecho d = aplica_pesos(criterios_, textos, separador_decimal(), &campo,
                                    !requisitos->isVisibleTo(this) ? nullptr : &texto_requisitos);
    if (!d.sucesso) {
        mensageiro_.mostra(this, Mensagem::de(d));
        if (campo >= 0 && campo < num_contagens) {
            QLineEdit* e = peso_[static_cast<std::size_t>(campo)];
            e->setFocus();
            e->selectAll();
        }
        return;
    }
    accept();
}

}  // namespace kelm
