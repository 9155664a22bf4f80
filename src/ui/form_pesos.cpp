#include "ui/form_pesos.hpp"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "evaluation/objetivos.hpp"
#include "search/formatos.hpp"
#include "ui/icones.hpp"
#include "ui/regional.hpp"

namespace kelm {

namespace {

const char* const legendas[num_inviabilidades] = {
    "Nº de vezes que um time jogam mais de uma vez na mesma rodada.",
    "Nº de vezes que um time joga o 1º e o 2º  jogo dentro ou fora de casa ambos.",
    "Nº de vezes que os dois últimos jogos não repetem a configuração dos dois primeiros.",
    "Nº de vezes que o nº de jogos dentro de casa é diferente do nº de jogos fora de casa.",
    "Nº de vezes que dois times do mesmo estado jogam na última rodada.",
    "Nº de vezes que um time joga mais de duas vezes consecutivas fora de casa.",
    "Nº de vezes que um time joga mais de duas vezes consecutivas dentro de casa.",
    "Distância total percorrida.",
    "Diferença entre a maior e a menor distância percorrida durante o campeonato.",
};

}  // namespace

Tform_pesos::Tform_pesos(Objetivos& config, const Mensageiro& mensageiro, QWidget* pai)
    : QDialog(pai), config_(config), mensageiro_(mensageiro)
{
    setObjectName(QStringLiteral("form_pesos"));
    setWindowTitle(QStringLiteral(" PESOS PARA AS PENALIDADES"));

    auto* grupo = new QGroupBox(QStringLiteral(" ENTRE COM OS PESOS DAS INVIABILIDADES "), this);
    grupo->setObjectName(QStringLiteral("GroupBox1"));
    auto* grade = new QGridLayout(grupo);
    grade->setContentsMargins(16, 12, 16, 12);
    grade->setHorizontalSpacing(12);
    grade->setVerticalSpacing(4);
    for (std::size_t i = 0; i < num_inviabilidades; ++i) {
        auto* e = new QLineEdit(grupo);
        e->setObjectName(QStringLiteral("peso%1").arg(i + 1));
        e->setFixedWidth(120);
        auto* l = new QLabel(QString::fromUtf8(legendas[i]), grupo);
        l->setObjectName(QStringLiteral("Label%1").arg(i + 1));
        QFont f = l->font();
        f.setPixelSize(13);
        l->setFont(f);
        l->setBuddy(e);
        grade->addWidget(e, static_cast<int>(i), 0);
        grade->addWidget(l, static_cast<int>(i), 1);
        peso_[i] = e;
    }

    auto* ok = botao_com_imagem(this, "ok_peso", QStringLiteral("&Ok"), style()->standardIcon(QStyle::SP_DialogOkButton));
    auto* cancelar =
        botao_com_imagem(this, "cancelar_peso", QStringLiteral("&Cancelar"), style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto* resete = botao_com_imagem(this, "resete_peso", QStringLiteral("&Default"), icone("document-revert", "padrao"));
    ok->setDefault(true);
    cancelar->setAutoDefault(false);
    resete->setAutoDefault(false);

    auto* botoes = new QHBoxLayout;
    botoes->addStretch();
    for (QPushButton* b : {ok, cancelar, resete}) botoes->addWidget(b);
    botoes->addStretch();
    botoes->setSpacing(24);

    auto* principal = new QVBoxLayout(this);
    principal->setContentsMargins(16, 16, 16, 16);
    principal->setSpacing(16);
    principal->addWidget(grupo);
    principal->addStretch();
    principal->addLayout(botoes);

    // Tab order: peso1 to peso9, then Ok, Cancelar, Default.
    QWidget* anterior = peso_[0];
    for (QWidget* w : {static_cast<QWidget*>(peso_[1]), static_cast<QWidget*>(peso_[2]),
                       static_cast<QWidget*>(peso_[3]), static_cast<QWidget*>(peso_[4]),
                       static_cast<QWidget*>(peso_[5]), static_cast<QWidget*>(peso_[6]),
                       static_cast<QWidget*>(peso_[7]), static_cast<QWidget*>(peso_[8]),
                       static_cast<QWidget*>(ok), static_cast<QWidget*>(cancelar), static_cast<QWidget*>(resete)}) {
        setTabOrder(anterior, w);
        anterior = w;
    }

    connect(ok, &QPushButton::clicked, this, &Tform_pesos::ok_pesoClick);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(resete, &QPushButton::clicked, this, &Tform_pesos::resete_pesoClick);

    // FormCreate: the edits start with the default weights.
    resete_pesoClick();

    const QSize dica = sizeHint();
    setFixedSize(qMax(706, dica.width()), qMax(401, dica.height()));
}

void Tform_pesos::resete_pesoClick()
{
    const char separador = separador_decimal();
    for (std::size_t i = 0; i < num_inviabilidades; ++i)
        peso_[i]->setText(QString::fromStdString(formata_numero(config_.pesos_padrao[i], separador)));
}

void Tform_pesos::ok_pesoClick()
{
    std::array<std::string, num_inviabilidades> textos;
    for (std::size_t i = 0; i < num_inviabilidades; ++i) textos[i] = peso_[i]->text().toStdString();
    int campo = -1;
    const Desfecho d = aplica_pesos(config_, textos, separador_decimal(), &campo);
    if (!d.sucesso) {
        mensageiro_.mostra(this, Mensagem::de(d));
        if (campo >= 0 && campo < num_inviabilidades) {
            QLineEdit* e = peso_[static_cast<std::size_t>(campo)];
            e->setFocus();
            e->selectAll();
        }
        return;
    }
    accept();
}

}  // namespace kelm
