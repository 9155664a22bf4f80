#include "ui/form_replanejar.hpp"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "files/formatos.hpp"
#include "model/numeros.hpp"
#include "ui/dialogos_comuns.hpp"
#include "ui/regional.hpp"

namespace kelm {

Tform_replanejar::Tform_replanejar(int rodadas, std::int32_t peso, const Mensageiro& mensageiro, QWidget* pai)
    : QDialog(pai), rodadas_(rodadas), mensageiro_(mensageiro)
{
    setObjectName(QStringLiteral("form_replanejar"));
    setWindowTitle(QStringLiteral("Replanejar"));

    auto* conteudo = new QWidget(this);
    auto* coluna = new QVBoxLayout(conteudo);
    coluna->setContentsMargins(0, 0, 0, 0);
    auto* explicacao = new QLabel(
        QStringLiteral("A busca parte da tabela na tela, com os requisitos e jogos fixados em vigor. Nenhum movimento toca "
                       "as rodadas já jogadas (numa temporada, nem as que o returno liga a elas), e cada jogo que sair da "
                       "rodada que tem hoje custa o peso abaixo (Inviabilidade 11): com o peso padrão, um jogo só muda "
                       "para atender a um requisito ou desfazer uma inviabilidade grave."),
        conteudo);
    explicacao->setWordWrap(true);
    coluna->addWidget(explicacao);

    auto* campos = new QFormLayout;
    congeladas_ = new QLineEdit(conteudo);
    congeladas_->setObjectName(QStringLiteral("congeladas"));
    congeladas_->setPlaceholderText(QStringLiteral("por exemplo 1-10, 12 (vazio: nenhuma)"));
    peso_ = new QLineEdit(QString::fromStdString(formata_numero(peso, separador_decimal())), conteudo);
    peso_->setObjectName(QStringLiteral("peso_mudanca"));
    campos->addRow(QStringLiteral("&Rodadas já jogadas (de 1 a %1):").arg(rodadas), congeladas_);
    campos->addRow(QStringLiteral("&Peso de cada jogo mudado:"), peso_);
    coluna->addLayout(campos);

    auto* ok = botao_com_imagem(this, "ok_replanejar", QStringLiteral("&Replanejar"),
                                style()->standardIcon(QStyle::SP_DialogOkButton));
    auto* cancelar = botao_com_imagem(this, "cancelar_replanejar", QStringLiteral("&Cancelar"),
                                      style()->standardIcon(QStyle::SP_DialogCancelButton));
    dispoe_dialogo(this, conteudo, {ok, cancelar}, QSize(560, 260));
    connect(ok, &QPushButton::clicked, this, &Tform_replanejar::okClick);
    connect(cancelar, &QPushButton::clicked, this, &QDialog::reject);
}

void Tform_replanejar::okClick()
{
    PedidoReplanejamento pedido;
    const auto recusa = [this](QLineEdit* campo, const Desfecho& d) {
        mensageiro_.mostra(this, Mensagem::de(d));
        campo->setFocus();
        campo->selectAll();
    };
    const std::string texto = congeladas_->text().toStdString();
    if (const std::string_view rodadas = sem_brancos(texto); !rodadas.empty()) {
        if (const Desfecho d = converte_rodadas(rodadas, rodadas_, pedido.congeladas); !d.sucesso)
            return recusa(congeladas_, Desfecho::erro("Rodadas já jogadas: " + d.texto));
    }
    const int inviabilidade = static_cast<int>(Inviabilidade::mudancas) + 1;
    if (const Desfecho d = converte_peso(peso_->text().toStdString(), separador_decimal(), inviabilidade, pedido.peso_mudanca);
        !d.sucesso)
        return recusa(peso_, d);
    if (pedido.peso_mudanca < 0)
        return recusa(peso_, Desfecho::erro("O peso de cada jogo mudado não pode ser negativo."));
    pedido_ = std::move(pedido);
    accept();
}

}  // namespace kelm
