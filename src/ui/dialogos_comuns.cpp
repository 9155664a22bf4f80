#include "ui/dialogos_comuns.hpp"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kelm {

const std::array<Legenda, num_inviabilidades> legendas = {{
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

}  // namespace kelm
