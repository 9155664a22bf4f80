#include "ui/form_parametros.hpp"

#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "search/comandos.hpp"
#include "ui/dialogos_comuns.hpp"
#include "ui/icones.hpp"

namespace kelm {

Tform_parametros::Tform_parametros(OpcoesBusca& opcoes, const Mensageiro& mensageiro, QWidget* pai)
    : QDialog(pai), opcoes_(opcoes), mensageiro_(mensageiro)
{
    setObjectName(QStringLiteral("form_parametros"));
    setWindowTitle(QStringLiteral("Parâmetros da Busca"));

    auto* conteudo = new QWidget(this);
    auto* coluna = new QVBoxLayout(conteudo);
    coluna->setContentsMargins(0, 0, 0, 0);
    coluna->setSpacing(16);

    auto* busca = new QGroupBox(QStringLiteral(" Busca "), conteudo);
    auto* opcoes_busca = new QVBoxLayout(busca);
    padrao_ = new QRadioButton(QStringLiteral("Pa&drão: os jogos mudam de rodada e de mando, com qualquer número de rodadas"), busca);
    padrao_->setObjectName(QStringLiteral("busca_padrao"));
    compacta_ = new QRadioButton(
        QStringLiteral("&Compacta: todo time joga em toda rodada (N-1 rodadas, ou N com um número ímpar de times)"), busca);
    compacta_->setObjectName(QStringLiteral("busca_compacta"));
    opcoes_busca->addWidget(padrao_);
    opcoes_busca->addWidget(compacta_);
    coluna->addWidget(busca);

    auto* temporada = new QGroupBox(QStringLiteral(" Temporada "), conteudo);
    auto* opcoes_temporada = new QVBoxLayout(temporada);
    so_turno_ = new QRadioButton(QStringLiteral("Só o &turno: as rodadas dos dados"), temporada);
    so_turno_->setObjectName(QStringLiteral("returno_nenhum"));
    espelhado_ = new QRadioButton(
        QStringLiteral("Turno e returno &espelhado: a rodada R+r repete a rodada r com os mandos trocados"), temporada);
    espelhado_->setObjectName(QStringLiteral("returno_espelhado"));
    frances_ = new QRadioButton(
        QStringLiteral("Turno e returno &francês: a última rodada repete a 1ª, e a rodada R+r-1 a rodada r"), temporada);
    frances_->setObjectName(QStringLiteral("returno_frances"));
    for (QRadioButton* b : {so_turno_, espelhado_, frances_}) opcoes_temporada->addWidget(b);
    // A whole season asked of the padrao search: the advice of the compact one, while it is chosen.
    aviso_temporada_ = new QLabel(QString::fromUtf8(msg_temporada_com_busca_padrao) +
                                      QStringLiteral(" (Rodadas: Completas)."),
                                  temporada);
    aviso_temporada_->setObjectName(QStringLiteral("aviso_temporada"));
    aviso_temporada_->setWordWrap(true);
    opcoes_temporada->addWidget(aviso_temporada_);
    for (QRadioButton* b : {padrao_, compacta_, so_turno_, espelhado_, frances_})
        connect(b, &QRadioButton::toggled, this, [this] {
            aviso_temporada_->setVisible(padrao_->isChecked() && !so_turno_->isChecked());
        });
    coluna->addWidget(temporada);

    auto* campos = new QFormLayout;
    max_reaquecimentos_ = new QLineEdit(conteudo);
    max_reaquecimentos_->setObjectName(QStringLiteral("max_reaquecimentos"));
    semente_ = new QLineEdit(conteudo);
    semente_->setObjectName(QStringLiteral("semente"));
    execucoes_ = new QLineEdit(conteudo);
    execucoes_->setObjectName(QStringLiteral("execucoes"));
    esforco_ = new QLineEdit(conteudo);
    esforco_->setObjectName(QStringLiteral("esforco"));
    for (QLineEdit* e : {max_reaquecimentos_, semente_, execucoes_, esforco_}) e->setFixedWidth(120);
    campos->addRow(QStringLiteral("Limite de &reaquecimentos da primeira fase:"), max_reaquecimentos_);
    campos->addRow(QStringLiteral("&Semente do gerador aleatório (a mesma semente dá a mesma tabela):"), semente_);
    campos->addRow(QStringLiteral("&Número de execuções, com as sementes seguintes (fica a melhor):"), execucoes_);
    campos->addRow(QStringLiteral("Esforço: &multiplica os movimentos por nível e o tempo:"), esforco_);
    coluna->addLayout(campos);

    auto* ok = botao_com_imagem(this, "ok_parametros", QStringLiteral("&Ok"), style()->standardIcon(QStyle::SP_DialogOkButton));
    auto* cancelar = botao_com_imagem(this, "cancelar_parametros", QStringLiteral("&Cancelar"),
                                      style()->standardIcon(QStyle::SP_DialogCancelButton));
    auto* padrao = botao_com_imagem(this, "padrao_parametros", QStringLiteral("&Padrão"), icone("document-revert", "padrao"));
    dispoe_dialogo(this, conteudo, {ok, cancelar, padrao}, QSize(600, 420));

    connect(ok, &QPushButton::clicked, this, &Tform_parametros::okClick);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
    connect(padrao, &QPushButton::clicked, this, &Tform_parametros::padraoClick);
}

void Tform_parametros::mostra_valores(const OpcoesBusca& opcoes)
{
    (opcoes.busca == TipoBusca::compacta ? compacta_ : padrao_)->setChecked(true);
    (opcoes.returno == Returno::espelhado ? espelhado_ : opcoes.returno == Returno::frances ? frances_ : so_turno_)
        ->setChecked(true);
    max_reaquecimentos_->setText(QString::number(opcoes.max_reaquecimentos));
    semente_->setText(QString::number(opcoes.semente));
    execucoes_->setText(QString::number(opcoes.execucoes));
    esforco_->setText(QString::number(opcoes.esforco));
    aviso_temporada_->setVisible(temporada_com_busca_padrao(opcoes.busca, opcoes.returno));
}

void Tform_parametros::showEvent(QShowEvent* evento)
{
    mostra_valores(opcoes_);
    QDialog::showEvent(evento);
}

void Tform_parametros::padraoClick() { mostra_valores(OpcoesBusca{}); }

void Tform_parametros::okClick()
{
    int max_reaquecimentos = 0;
    std::uint32_t semente = 0;
    int execucoes = 1;
    int esforco = 1;
    auto texto = [](const QLineEdit* campo) { return campo->text().toStdString(); };
    // Each field is read in order; the first bad one is named, and takes the focus.
    for (const auto& [campo, d] :
         {std::pair{max_reaquecimentos_, converte_max_reaquecimentos(texto(max_reaquecimentos_), max_reaquecimentos)},
          std::pair{semente_, converte_semente(texto(semente_), semente)},
          std::pair{execucoes_, converte_execucoes(texto(execucoes_), execucoes)},
          std::pair{esforco_, converte_esforco(texto(esforco_), esforco)}}) {
        if (!d.sucesso) {
            mensageiro_.mostra(this, Mensagem::de(d));
            campo->setFocus();
            campo->selectAll();
            return;
        }
    }
    opcoes_.busca = compacta_->isChecked() ? TipoBusca::compacta : TipoBusca::padrao;
    opcoes_.returno = espelhado_->isChecked() ? Returno::espelhado
                      : frances_->isChecked() ? Returno::frances
                                              : Returno::nenhum;
    opcoes_.max_reaquecimentos = max_reaquecimentos;
    opcoes_.semente = semente;
    opcoes_.execucoes = execucoes;
    opcoes_.esforco = esforco;
    accept();
}

}  // namespace kelm
