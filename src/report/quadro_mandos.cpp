#include "report/quadro_mandos.hpp"

#include <algorithm>

namespace kelm {

namespace {

// One team's game, in schedule order, with the board's cell it falls in.
struct JogoNoQuadro {
    int rodada = 0;
    bool em_casa = false;
};

// Marks the breaks and the long runs of one team's games, given in schedule order.
void marca_sequencias(std::vector<CasaQuadro>& linha, const std::vector<JogoNoQuadro>& jogos)
{
    for (std::size_t k = 0; k < jogos.size();) {
        std::size_t fim = k;
        while (fim < jogos.size() && jogos[fim].em_casa == jogos[k].em_casa) ++fim;
        for (std::size_t j = k; j < fim; ++j) {
            CasaQuadro& casa = linha[static_cast<std::size_t>(jogos[j].rodada)];
            if (j > k) casa.quebra = true;
            if (fim - k > 2) casa.sequencia_longa = true;
        }
        k = fim;
    }
}

}  // namespace

QuadroMandos monta_quadro_mandos(const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao,
                                 int inicio_returno)
{
    QuadroMandos q;
    q.rodadas = tabela.linhas();
    q.inicio_returno = inicio_returno > 0 && inicio_returno < q.rodadas ? inicio_returno : 0;
    const int n = campeonato.num_times;
    q.casas.assign(static_cast<std::size_t>(n), std::vector<CasaQuadro>(static_cast<std::size_t>(q.rodadas)));
    std::vector<std::vector<JogoNoQuadro>> jogos(static_cast<std::size_t>(n) + 1);

    for (int r = 0; r < q.rodadas; ++r) {
        for (int g = 0; g < tabela.colunas(); ++g) {
            const Jogo jogo = tabela[r][g];
            if (jogo.vazio()) continue;
            for (const bool em_casa : {true, false}) {
                const int t = em_casa ? jogo.mandante() : jogo.visitante();
                if (t < 1 || t > n) continue;
                CasaQuadro& casa = q.casas[static_cast<std::size_t>(t - 1)][static_cast<std::size_t>(r)];
                casa.jogos.push_back({r, g});
                casa.adversarios.push_back(em_casa ? jogo.visitante() : jogo.mandante());
                casa.mandos += em_casa ? 'C' : 'F';
                jogos[static_cast<std::size_t>(t)].push_back({r, em_casa});
            }
        }
    }
    for (int t = 1; t <= n; ++t) {
        auto& linha = q.casas[static_cast<std::size_t>(t - 1)];
        marca_sequencias(linha, jogos[static_cast<std::size_t>(t)]);
        for (CasaQuadro& casa : linha)
            if (casa.mandos.empty()) casa.mandos = "-";
    }

    // The games an occurrence says something of, by team: the team it is charged to, or
    // both teams of a same-state game in the last round.
    for (const Ocorrencia& o : explicacao.ocorrencias) {
        for (const JogoEnvolvido& j : o.jogos) {
            const PosicaoJogo p = j.posicao;
            if (j.nota.empty() || p.rodada >= q.rodadas || p.vaga >= tabela.colunas()) continue;
            const Jogo jogo = tabela[p.rodada][p.vaga];
            const bool ambos = o.inviabilidade == Inviabilidade::mesmo_estado;
            for (const int t : {ambos ? jogo.mandante() : o.time, ambos ? jogo.visitante() : o.time}) {
                if (t < 1 || t > n) continue;
                CasaQuadro& casa = q.casas[static_cast<std::size_t>(t - 1)][static_cast<std::size_t>(p.rodada)];
                if (std::find(casa.jogos.begin(), casa.jogos.end(), p) != casa.jogos.end()) casa.em_contagem = true;
            }
        }
    }
    return q;
}

std::uint32_t cor_da_casa(const CasaQuadro& casa)
{
    if (casa.mandos.size() != 1 || casa.mandos == "-") return cores_quadro::sem_jogo;
    if (casa.mandos[0] == 'C') return casa.sequencia_longa ? cores_quadro::casa_seguida : cores_quadro::casa;
    return casa.sequencia_longa ? cores_quadro::fora_seguida : cores_quadro::fora;
}

}  // namespace kelm
