#include "search/vizinhancas.hpp"

#include "evaluation/avaliacao.hpp"
#include "evaluation/referencia.hpp"
#include "neighbourhoods/compacta/rodizio_compacto.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"
#include "neighbourhoods/padrao/vizinhanca_padrao.hpp"

namespace kelm {

Desfecho aceita_busca(const Campeonato& campeonato, TipoBusca busca)
{
    return busca == TipoBusca::compacta ? aceita_busca_compacta(campeonato) : Desfecho::ok();
}

void sorteia_tabela_inicial(int num_times, Gerador& gerador, Tabela& tabela)
{
    gera_solucao_inicial(num_times, gerador, tabela);
}

void sorteia_partida(const Campeonato& campeonato, const OpcoesBusca& opcoes, Execucao& execucao)
{
    if (opcoes.partida != nullptr) {
        execucao.tabela_atual.copia_de(*opcoes.partida);
    } else if (opcoes.busca == TipoBusca::compacta) {
        gera_tabela_compacta(campeonato.num_times, execucao.gerador, execucao.tabela_atual);
    } else {
        return;
    }
    execucao.matriz_controle.zera();
    monta_matriz_controle(execucao.matriz_controle, execucao.tabela_atual);
}

namespace {

// Calls `f` with the neighbourhood the options ask for, made from the run's schedule as it
// stands, scored incrementally or by the reference.
template <class F>
auto com_vizinhanca(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao,
                    const OpcoesBusca& opcoes, Fase fase, F&& f)
{
    Tabela& tabela = execucao.tabela_atual;
    Matriz<Controle>& controle = execucao.matriz_controle;
    const bool referencia = opcoes.avaliacao == ModoAvaliacao::completa;
    if (opcoes.busca == TipoBusca::compacta) {
        if (referencia) {
            RodizioCompacto rodizio(campeonato, tabela, controle);
            AvaliadaPelaReferencia vizinhanca(rodizio, campeonato, criterios, execucao, opcoes.returno, opcoes.requisitos,
                                              opcoes.jogos_da_partida, &opcoes.congeladas);
            return f(vizinhanca);
        }
        VizinhancaCompacta vizinhanca(campeonato, criterios, tabela, controle, opcoes.returno, opcoes.requisitos,
                                      opcoes.jogos_da_partida, &opcoes.congeladas);
        return f(vizinhanca);
    }
    if (referencia) {
        MovimentosPadrao movimentos(campeonato, tabela, controle, fase);
        AvaliadaPelaReferencia vizinhanca(movimentos, campeonato, criterios, execucao, opcoes.returno, opcoes.requisitos,
                                          opcoes.jogos_da_partida, &opcoes.congeladas);
        return f(vizinhanca);
    }
    VizinhancaPadrao vizinhanca(campeonato, criterios, tabela, controle, fase, opcoes.returno, opcoes.requisitos,
                                opcoes.jogos_da_partida, &opcoes.congeladas);
    return f(vizinhanca);
}

}  // namespace

double calcula_t0(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                  Fase fase, int num_iteracoes, const OpcoesBusca& opcoes)
{
    return com_vizinhanca(campeonato, criterios, execucao, opcoes, fase,
                          [&](auto& vizinhanca) { return calcula_t0(vizinhanca, marcha, num_iteracoes); });
}

FimFase recozimento(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao, Marcha& marcha,
                    const ParametrosFase& parametros, const OpcoesBusca& opcoes)
{
    return com_vizinhanca(campeonato, criterios, execucao, opcoes, parametros.fase,
                          [&](auto& vizinhanca) { return recozimento(vizinhanca, marcha, parametros); });
}

}  // namespace kelm
