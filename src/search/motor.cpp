#include "search/motor.hpp"

#include <cmath>
#include <cstdint>

namespace kelm {

int alvo_aceitacao(int num_iteracoes)
{
    __extension__ using u128 = unsigned __int128;
    // 0.95 as a double is m x 2^-53 exactly, m a 53-bit integer.
    int e = 0;
    const double fracao = std::frexp(0.95, &e);  // 0.95 = fracao x 2^e, fracao in [0.5, 1)
    const auto m = static_cast<std::uint64_t>(std::ldexp(fracao, 53));
    const int escala = 53 - e;  // 0.95 = m x 2^-escala
    if (num_iteracoes <= 0) return 0;

    u128 produto = static_cast<u128>(static_cast<std::uint64_t>(num_iteracoes)) * m;
    // Round the exact product to a 64-bit significand, to nearest, ties to even.
    int bits = 0;
    for (u128 p = produto; p != 0; p >>= 1) ++bits;
    int deslocamento = 0;
    if (bits > 64) {
        deslocamento = bits - 64;
        const u128 resto = produto & ((static_cast<u128>(1) << deslocamento) - 1);
        const u128 metade = static_cast<u128>(1) << (deslocamento - 1);
        produto >>= deslocamento;
        if (resto > metade || (resto == metade && (produto & 1) != 0)) produto += 1;
    }
    // value = produto x 2^(deslocamento - escala); keep its integer part.
    const int expoente = deslocamento - escala;
    const u128 inteiro = expoente >= 0 ? produto << expoente : produto >> (-expoente);
    return static_cast<int>(inteiro);
}

Andamento andamento_do_nivel(const Marcha& marcha, const ParametrosFase& parametros, double temperatura,
                             int reaquecimentos, double& tempo_execucao)
{
    Andamento andamento;
    andamento.fase = static_cast<int>(parametros.fase);
    andamento.percentual = 100.0 - 100.0 * temperatura / static_cast<double>(parametros.t0) - 1e-11;
    andamento.temperatura = temperatura;
    andamento.hora_inicio = marcha.hora_inicio;
    andamento.hora_atual = marcha.relogio.hora_do_dia();
    tempo_execucao = (marcha.relogio.segundos() - marcha.inicio_monotonico) / 86400.0;
    andamento.tempo_execucao = tempo_execucao;
    andamento.inviabilidades_melhor = marcha.melhor;
    andamento.fo_star = marcha.fo_star;
    andamento.num_reaquecimentos = reaquecimentos;
    andamento.movimentos = marcha.movimentos;
    return andamento;
}

}  // namespace kelm
