#include "ui/caixas.hpp"

#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

#include "ui/dialogos_comuns.hpp"

namespace kelm {

std::filesystem::path caminho(const QString& nome) { return std::filesystem::path(QFile::encodeName(nome).toStdString()); }

Mensagem Mensagem::de(const Desfecho& desfecho)
{
    return Mensagem{desfecho.tipo, QString::fromStdString(desfecho.texto), QString::fromStdString(desfecho.detalhe)};
}

Mensageiro::Mensageiro() : funcao_(&Mensageiro::caixa), pergunta_(&Mensageiro::caixa_pergunta) {}

void Mensageiro::caixa(QWidget* pai, const Mensagem& mensagem)
{
    QMessageBox::Icon icone = QMessageBox::NoIcon;
    QString titulo = QString::fromUtf8(titulo_aplicacao);
    switch (mensagem.tipo) {
    case TipoMensagem::informacao:
        icone = QMessageBox::Information;
        titulo = QStringLiteral("Informação");
        break;
    case TipoMensagem::erro:
        icone = QMessageBox::Critical;
        titulo = QStringLiteral("Erro");
        break;
    case TipoMensagem::simples:
        break;
    }
    QMessageBox caixa(icone, titulo, mensagem.texto, QMessageBox::Ok, pai);
    caixa.setObjectName(QStringLiteral("caixa_mensagem"));
    if (!mensagem.detalhe.isEmpty()) caixa.setInformativeText(mensagem.detalhe);
    caixa.exec();
}

int Mensageiro::caixa_pergunta(QWidget* pai, const Pergunta& pergunta)
{
    QMessageBox caixa(QMessageBox::Question, QString::fromUtf8(titulo_aplicacao), pergunta.texto, QMessageBox::NoButton,
                      pai);
    caixa.setObjectName(QStringLiteral("caixa_pergunta"));
    QList<QAbstractButton*> botoes;
    for (qsizetype k = 0; k < pergunta.respostas.size(); ++k) {
        const bool ultima = k + 1 == pergunta.respostas.size();
        botoes << caixa.addButton(pergunta.respostas[k], k == 0 ? QMessageBox::AcceptRole
                                                         : ultima ? QMessageBox::RejectRole
                                                                  : QMessageBox::DestructiveRole);
    }
    if (!botoes.isEmpty()) {
        caixa.setDefaultButton(qobject_cast<QPushButton*>(botoes.first()));
        caixa.setEscapeButton(botoes.last());
    }
    caixa.exec();
    const qsizetype escolhida = botoes.indexOf(caixa.clickedButton());
    return static_cast<int>(escolhida >= 0 ? escolhida : botoes.size() - 1);
}

SeletorArquivos::SeletorArquivos()
    : abrir_(&SeletorArquivos::dialogo_abrir), salvar_(&SeletorArquivos::dialogo_salvar),
      pasta_(&SeletorArquivos::dialogo_pasta)
{
}

QString SeletorArquivos::dialogo_abrir(QWidget* pai, const QString& filtro)
{
    // Qt's own dialog everywhere: it matches the filter's pattern without regard to case,
    // so "*.dat" also lists "BRASIL.DAT".
    QFileDialog dialogo(pai, QString(), QString(), filtro);
    dialogo.setObjectName(QStringLiteral("abrir_arquivo1"));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    prepara_dialogo_arquivos(dialogo);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setFileMode(QFileDialog::ExistingFile);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
    return dialogo.selectedFiles().constFirst();
}

std::optional<ArquivoEscolhido> SeletorArquivos::dialogo_salvar(QWidget* pai, const QString& nome_proposto,
                                                                const QStringList& filtros, int filtro_proposto)
{
    QFileDialog dialogo(pai);
    dialogo.setObjectName(QStringLiteral("Save_tabela"));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setOption(QFileDialog::DontConfirmOverwrite);
    prepara_dialogo_arquivos(dialogo);
    dialogo.setAcceptMode(QFileDialog::AcceptSave);
    dialogo.setFileMode(QFileDialog::AnyFile);
    dialogo.setNameFilters(filtros);
    if (filtro_proposto >= 1 && filtro_proposto <= filtros.size())
        dialogo.selectNameFilter(filtros.at(filtro_proposto - 1));
    dialogo.selectFile(nome_proposto);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return std::nullopt;
    return ArquivoEscolhido{dialogo.selectedFiles().constFirst(),
                            static_cast<int>(filtros.indexOf(dialogo.selectedNameFilter())) + 1};
}

QString SeletorArquivos::dialogo_pasta(QWidget* pai, const QString& titulo)
{
    // Qt's own dialog, folders only; the planner may make a new one in it.
    QFileDialog dialogo(pai, titulo);
    dialogo.setObjectName(QStringLiteral("escolhe_pasta"));
    dialogo.setOption(QFileDialog::DontUseNativeDialog);
    dialogo.setOption(QFileDialog::ShowDirsOnly);
    prepara_dialogo_arquivos(dialogo);
    dialogo.setAcceptMode(QFileDialog::AcceptOpen);
    dialogo.setFileMode(QFileDialog::Directory);
    if (dialogo.exec() != QDialog::Accepted || dialogo.selectedFiles().isEmpty()) return {};
    return dialogo.selectedFiles().constFirst();
}

}  // namespace kelm
