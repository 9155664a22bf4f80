// The commands of the results menu that show a result in other ways than the grid: the
// season at a glance and the printed page.

#include <QApplication>
#include <QStatusBar>

#include "model/temporada.hpp"
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
    const Temporada t = temporada_de(estado_.campeonato, estado_.execucao.tabela_melhor, estado_.execucao.procedencia.returno);
    const Calendario* calendario = calendario_da_tabela(OrigemTabela::obtida, t.tabela.linhas());
    Tform_temporada janela(t.campeonato, t.tabela,
                           explica_tabela(t.campeonato, t.tabela, requisitos_do_resultado(), nullptr, calendario),
                           t.inicio_returno, calendario,
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
    const Temporada t = temporada_de(estado_.campeonato, x.tabela_melhor, x.procedencia.returno);
    const Calendario* calendario = calendario_da_tabela(OrigemTabela::obtida, t.tabela.linhas());
    const QString pdf = mostra_impressao(
        this, t.campeonato, t.tabela, explica_tabela(t.campeonato, t.tabela, requisitos_do_resultado(), nullptr, calendario),
        monta_ficha(nome_campeonato_.toStdString(), x.inviabilidades_melhor, x.fo_star, x.procedencia, t.inicio_returno),
        calendario);
    if (!pdf.isEmpty()) statusBar()->showMessage(QStringLiteral("Gravado em ") + pdf, tempo_gravado_ms);
}

}  // namespace kelm
