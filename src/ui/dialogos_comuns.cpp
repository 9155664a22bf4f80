#include "ui/dialogos_comuns.hpp"

#include <algorithm>

#include <QDateTime>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QPushButton>
#include <QTreeView>
#include <QVBoxLayout>

namespace kelm {

const std::array<Legenda, num_contagens> legendas = {{
    {"Minimizar o nº de vezes que um time jogam mais de uma vez na mesma rodada.",
     "Nº de vezes que um time jogam mais de uma vez na mesma rodada."},
    {"Minimizar o nº de vezes que um time joga o 1º e o 2º  jogo dentro ou fora de casa ambos.",
     "Nº de vezes que um time joga o 1º e o 2º  jogo dentro ou fora de casa ambos."},
    {"Minimizar o nº de vezes que os dois últimos jogos não repetem a configuração dos dois primeiros.",
     "Nº de vezes que os dois últimos jogos não repetem a configuração dos dois primeiros."},
    {"Minimizar o nº de vezes que o nº de jogos dentro de casa é diferente do nº de jogos fora de casa.",
     "Nº de vezes que o nº de jogos dentro de casa é diferente do nº de jogos fora de casa."},
    {"Minimizar o nº de vezes que dois times do mesmo estado jogam na última rodada.",
     "Nº de vezes que dois times do mesmo estado jogam na última rodada."},
    {"Minimizar o nº de vezes que um time joga mais de duas vezes consecutivas fora de casa.",
     "Nº de vezes que um time joga mais de duas vezes consecutivas fora de casa."},
    {"Minimizar o nº de vezes que um time joga mais de duas vezes consecutivas dentro de casa.",
     "Nº de vezes que um time joga mais de duas vezes consecutivas dentro de casa."},
    {"Minimizar da distância total percorrida.", "Distância total percorrida."},
    {"Minimizar a diferença entre a maior e a menor distância percorrida durante o campeonato.",
     "Diferença entre a maior e a menor distância percorrida durante o campeonato."},
    {"Minimizar os requisitos do planejador não atendidos.",
     "Soma dos tamanhos dos requisitos do planejador não atendidos."},
    {"Minimizar os jogos mudados em relação à tabela de partida do replanejamento.",
     "Jogos mudados em relação à tabela de partida do replanejamento."},
}};

QPushButton* botao_com_imagem(QWidget* pai, const char* nome, const QString& texto, const QIcon& imagem)
{
    auto* b = new QPushButton(imagem, texto, pai);
    b->setObjectName(QLatin1String(nome));
    b->setIconSize(QSize(24, 24));
    b->setMinimumSize(96, 38);
    return b;
}

void dispoe_dialogo(QDialog* dialogo, QWidget* conteudo, std::initializer_list<QPushButton*> botoes, QSize minimo)
{
    auto* linha = new QHBoxLayout;
    linha->addStretch();
    linha->setSpacing(24);
    bool primeiro = true;
    for (QPushButton* b : botoes) {
        b->setDefault(primeiro);
        b->setAutoDefault(primeiro);
        primeiro = false;
        linha->addWidget(b);
    }
    linha->addStretch();

    auto* principal = new QVBoxLayout(dialogo);
    principal->setContentsMargins(16, 16, 16, 16);
    principal->setSpacing(16);
    principal->addWidget(conteudo);
    principal->addStretch();
    principal->addLayout(linha);

    const QSize dica = dialogo->sizeHint();
    dialogo->setFixedSize(qMax(minimo.width(), dica.width()), qMax(minimo.height(), dica.height()));
}

namespace {

const QLocale portugues(QLocale::Portuguese, QLocale::Brazil);

// What a file is, in Portuguese: the program's own kinds by name, any other by its extension.
QString tipo_do_arquivo(const QFileInfo& info)
{
    if (info.isDir()) return QStringLiteral("Pasta");
    const QString extensao = info.suffix().toLower();
    if (extensao == QLatin1String("dat")) return QStringLiteral("Dados de campeonato");
    if (extensao == QLatin1String("txt")) return QStringLiteral("Documento de texto");
    if (extensao == QLatin1String("xls")) return QStringLiteral("Planilha (texto)");
    if (extensao == QLatin1String("xlsx")) return QStringLiteral("Planilha");
    if (extensao.isEmpty()) return QStringLiteral("Arquivo");
    return QStringLiteral("Arquivo ") + extensao.toUpper();
}

// The file dialog's model seen in Portuguese: its size, type and date columns rewritten, the
// rest (names, icons, sorting) as the file system model gives them.
class ArquivosEmPortugues : public QIdentityProxyModel {
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex& indice, int papel) const override
    {
        const auto* arquivos = qobject_cast<const QFileSystemModel*>(sourceModel());
        if (papel != Qt::DisplayRole || arquivos == nullptr || indice.column() == 0)
            return QIdentityProxyModel::data(indice, papel);
        const QFileInfo info = arquivos->fileInfo(mapToSource(indice));
        switch (indice.column()) {
        case 1:
            return info.isDir() ? QString() : portugues.formattedDataSize(info.size(), 1, QLocale::DataSizeTraditionalFormat);
        case 2: return tipo_do_arquivo(info);
        case 3: return portugues.toString(info.lastModified(), QStringLiteral("dd/MM/yyyy HH:mm"));
        default: return QIdentityProxyModel::data(indice, papel);
        }
    }
};

}  // namespace

void prepara_dialogo_arquivos(QFileDialog& dialogo)
{
    dialogo.setProxyModel(new ArquivosEmPortugues(&dialogo));
    dialogo.resize(900, 540);
    auto* detalhes = dialogo.findChild<QTreeView*>(QStringLiteral("treeView"));
    if (detalhes == nullptr) return;
    // Size, type and date as wide as their longest usual text and their heading; the name
    // takes what is left.
    const QFontMetrics medidas = detalhes->fontMetrics();
    QHeaderView* cabecalho = detalhes->header();
    const QString exemplos[] = {QString(), QStringLiteral("999,9 bytes"), QStringLiteral("Dados de campeonato"),
                                QStringLiteral("00/00/0000 00:00")};
    for (int coluna = 1; coluna <= 3; ++coluna) {
        const QString titulo = detalhes->model()->headerData(coluna, Qt::Horizontal).toString();
        cabecalho->resizeSection(coluna, std::max(medidas.horizontalAdvance(exemplos[coluna]),
                                                  cabecalho->fontMetrics().horizontalAdvance(titulo)) +
                                             4 * medidas.averageCharWidth());
    }
    cabecalho->setSectionResizeMode(0, QHeaderView::Stretch);
}

}  // namespace kelm
