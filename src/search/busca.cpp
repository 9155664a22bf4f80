#include "search/busca.hpp"

#include "evaluation/avaliador_completo.hpp"
#include "evaluation/avaliador_incremental.hpp"
#include "evaluation/movimentos.hpp"
#include "evaluation/objetivos.hpp"
#include "search/formatos.hpp"

namespace kelm {

namespace {

const Relogio& relogio_de(const OpcoesBusca& opcoes)
{
    static const RelogioSistema sistema;
    return opcoes.relogio != nullptr ? *opcoes.relogio : sistema;
}

constexpr double temperatura_inicial_candidata = 2000000.0;
constexpr double fator_candidata = 1.1;
constexpr double temperatura_final = 1e-11;
constexpr double temperatura_fria = 1e-6;
constexpr double fator_reaquecimento = 1.1;
constexpr double fracao_reaquecimento = 0.2;
constexpr int iteracoes_por_reaquecimento = 100;

template <class Avaliador>
double calcula_t0_com(Estado& estado, Observador& observador, int num_iteracoes)
{
    int aceitos = 0;
    const int alvo = alvo_aceitacao(num_iteracoes);
    double candidata = temperatura_inicial_candidata;

    Avaliador avaliador(estado);
    const SorteioMovimentos sorteio(estado);
    estado.fo_star = avaliador.avalia();
    observador.calculo_t0_iniciado();
    while (aceitos < alvo) {
        // A whole round always runs, even once the target is reached.
        for (int i = 0; i < num_iteracoes; ++i) {
            const Movimento m = sorteio.sorteia(estado.gerador);
            const double delta = avaliador.aplica(m, estado.fo_star, candidata) - estado.fo_star;
            if (aceita_movimento(delta, candidata, estado.gerador)) ++aceitos;
            avaliador.desfaz(m);
        }
        estado.movimentos_avaliados += num_iteracoes;
        if (aceitos >= alvo) break;
        aceitos = 0;
        candidata *= fator_candidata;
        observador.temperatura_candidata(candidata);
    }
    observador.calculo_t0_concluido();
    return candidata;
}

template <class Avaliador>
FimFase recozimento_com(Estado& estado, Observador& observador, int num_iteracoes, float t0, float fator,
                        const OpcoesBusca& opcoes)
{
    const Relogio& relogio = relogio_de(opcoes);
    const int fase = estado.primeira_fase ? 1 : 2;
    FimFase fim;
    double temperatura = t0;

    observador.fase_iniciada(fase, estado.hora_inicio);
    Avaliador avaliador(estado);
    const SorteioMovimentos sorteio(estado);
    estado.fo_star = avaliador.avalia();

    // Rejected moves are undone, so after the first accepted move tabela_atual always holds
    // the last accepted schedule: it is copied into tabela_melhor once, when the phase ends,
    // instead of at every accepted move. The counts are copied at every accepted move.
    bool melhor_pendente = false;

    while (temperatura > temperatura_final) {
        Andamento andamento;
        andamento.fase = fase;
        andamento.percentual = 100.0 - 100.0 * temperatura / static_cast<double>(t0) - 1e-11;
        andamento.temperatura = temperatura;
        andamento.hora_inicio = estado.hora_inicio;
        andamento.hora_atual = relogio.hora_do_dia();
        estado.tempo_execucao = (relogio.segundos() - estado.inicio_monotonico) / 86400.0;
        andamento.tempo_execucao = estado.tempo_execucao;
        andamento.inviabilidades_melhor = estado.inviabilidades_melhor;
        andamento.fo_star = estado.fo_star;
        andamento.num_reaquecimentos = fim.reaquecimentos;
        andamento.movimentos = estado.movimentos_avaliados;
        observador.andamento(andamento);

        if (estado.primeira_fase && estado.fo_star == 0.0) {
            estado.primeira_fase_concluida = true;
            break;
        }

        for (int i = 0; i < num_iteracoes; ++i) {
            const Movimento m = sorteio.sorteia(estado.gerador);
            const double delta = avaliador.aplica(m, estado.fo_star, temperatura) - estado.fo_star;
            if (aceita_movimento(delta, temperatura, estado.gerador)) {
                avaliador.confirma();
                estado.inviabilidades_melhor = estado.inviabilidades;
                melhor_pendente = true;
                estado.fo_star += delta;
            } else {
                avaliador.desfaz(m);
            }
        }
        estado.movimentos_avaliados += num_iteracoes;

        temperatura = static_cast<double>(fator) * temperatura;
        if (temperatura >= temperatura_fria || !estado.primeira_fase) continue;

        const Contagens& melhor = estado.inviabilidades_melhor;
        const double pendentes = melhor[Inviabilidade::jogos_na_rodada] + melhor[Inviabilidade::inicio] +
                                 melhor[Inviabilidade::fim] + melhor[Inviabilidade::mesmo_estado];
        if (pendentes > 0) {
            if (fim.reaquecimentos >= opcoes.max_reaquecimentos) {
                fim.limite_atingido = true;
                break;
            }
            observador.bipe();
            t0 = static_cast<float>(static_cast<double>(t0) * fator_reaquecimento);
            num_iteracoes += iteracoes_por_reaquecimento;
            temperatura = fracao_reaquecimento * static_cast<double>(t0);
            ++fim.reaquecimentos;
            observador.reaquecimento(fim.reaquecimentos);
        } else {
            estado.primeira_fase_concluida = true;
            break;
        }
    }

    if (melhor_pendente) estado.tabela_melhor.copia_de(estado.tabela_atual);
    estado.programa_executado = true;
    observador.resultado_disponivel();
    observador.bipe();
    observador.fase_concluida(fase);
    if (fase == 2) observador.mensagem(msg_terminou);
    return fim;
}

}  // namespace

bool aceita_movimento(double delta, double temperatura, Gerador& gerador)
{
    if (delta <= 0.0) return true;
    const double r = gerador.aleatorio_real(0.0, 1.0);
    return 1.0 - delta / temperatura > r;
}

double calcula_t0(Estado& estado, Observador& observador, int num_iteracoes, const OpcoesBusca& opcoes)
{
    if (opcoes.avaliacao == ModoAvaliacao::completa)
        return calcula_t0_com<AvaliadorCompleto>(estado, observador, num_iteracoes);
    return calcula_t0_com<AvaliadorIncremental>(estado, observador, num_iteracoes);
}

FimFase recozimento(Estado& estado, Observador& observador, int num_iteracoes, float t0, float fator,
                    const OpcoesBusca& opcoes)
{
    if (opcoes.avaliacao == ModoAvaliacao::completa)
        return recozimento_com<AvaliadorCompleto>(estado, observador, num_iteracoes, t0, fator, opcoes);
    return recozimento_com<AvaliadorIncremental>(estado, observador, num_iteracoes, t0, fator, opcoes);
}

ResumoBusca executa_busca(Estado& estado, Observador& observador, const OpcoesBusca& opcoes)
{
    ResumoBusca resumo;
    if (!estado.dados_carregados) {
        resumo.desfecho = {false, TipoMensagem::informacao, msg_dados_nao_carregados, {}};
        return resumo;
    }
    const Relogio& relogio = relogio_de(opcoes);

    estado.gerador.semeia(Gerador::semente_execucao);
    observador.execucao_iniciada();
    // The objectives are asked for before the run is prepared, so that a cancelled choice
    // leaves the earlier result as it was.
    if (!estado.config.objetivos_escolhidos) {
        resumo.objetivos_na_execucao = true;
        if (opcoes.escolhe_objetivos) opcoes.escolhe_objetivos();
        if (!estado.config.objetivos_escolhidos) return resumo;
    }
    estado.primeira_fase_concluida = false;
    estado.movimentos_avaliados = 0;
    resumo.desfecho = prepara_execucao(estado);
    if (!resumo.desfecho.sucesso) return resumo;
    resumo.executada = true;

    estado.primeira_fase = true;
    estado.hora_inicio = relogio.hora_do_dia();
    estado.inicio_monotonico = relogio.segundos();
    float t0 = static_cast<float>(calcula_t0(estado, observador, iteracoes_primeira_fase, opcoes));
    const FimFase primeira = recozimento(estado, observador, iteracoes_primeira_fase, t0, fator_resfriamento, opcoes);
    resumo.reaquecimentos = primeira.reaquecimentos;

    liga_objetivos_segunda_fase(estado.config);
    estado.primeira_fase = false;

    if (estado.primeira_fase_concluida) {
        const int iteracoes = resumo.objetivos_na_execucao ? iteracoes_segunda_fase_objetivos_na_execucao
                                                           : iteracoes_segunda_fase;
        t0 = static_cast<float>(calcula_t0(estado, observador, iteracoes, opcoes));
        recozimento(estado, observador, iteracoes, t0, fator_resfriamento, opcoes);
    } else {
        resumo.interrompida = true;
        observador.bipe();
        observador.mensagem(msg_interrompida);
    }
    resumo.movimentos = estado.movimentos_avaliados;
    return resumo;
}

}  // namespace kelm
