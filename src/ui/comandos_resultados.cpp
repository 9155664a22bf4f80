// The commands of the results menu that show a result in other ways than the grid: the
// season at a glance and the printed page.

#include <QApplication>

#include "report/explicacao.hpp"
#include "report/ficha.hpp"
#include "search/comandos.hpp"
#include "ui/form_global.hpp"
#include "ui/form_temporada.hpp"
#include "ui/impressao.hpp"

namespace kelm {

void Tform_global::mostra_visao_geral()
{
    if (const Desfecho d = pode_mostrar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    const Tabela& tabela = estado_.execucao.tabela_melhor;
    Tform_temporada janela(estado_.campeonato, tabela, explica_tabela(estado_.campeonato, tabela), 0,
                           QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() : this);
    janela.exec();
}

void Tform_global::imprime_resultado()
{
    if (const Desfecho d = pode_mostrar_resultado(estado_.campeonato, estado_.execucao); !d.sucesso) {
        mostra(d);
        return;
    }
    const Execucao& x = estado_.execucao;
    mostra_impressao(this, estado_.campeonato, x.tabela_melhor, explica_tabela(estado_.campeonato, x.tabela_melhor),
                     monta_ficha(nome_campeonato_.toStdString(), x.inviabilidades_melhor, x.fo_star, x.procedencia));
}

}  // namespace kelm
