#include "search/comandos_planilha.hpp"

#include "files/planilha.hpp"
#include "model/temporada.hpp"
#include "report/explicacao.hpp"
#include "report/ficha.hpp"
#include "search/comandos.hpp"

namespace kelm {

Desfecho grava_planilha_resultado(const Campeonato& campeonato, const Execucao& execucao,
                                  const std::filesystem::path& destino, const std::string& nome_campeonato,
                                  const Requisitos* requisitos)
{
    if (Desfecho pode = pode_salvar_resultado(campeonato, execucao); !pode.sucesso) return pode;
    const Temporada t = temporada_de(campeonato, execucao.tabela_melhor, execucao.procedencia.returno);
    const Calendario& calendario = execucao.procedencia.calendario;
    return grava_planilha(destino, t.campeonato, t.tabela,
                          explica_tabela(t.campeonato, t.tabela, requisitos, nullptr, &calendario),
                          monta_ficha(nome_campeonato, execucao.inviabilidades_melhor, execucao.fo_star,
                                      execucao.procedencia, t.inicio_returno),
                          &calendario);
}

}  // namespace kelm
