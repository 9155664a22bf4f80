// The tenth count explained: every requirement of the planner that a schedule does not meet, in
// a sentence naming the requirement's line, with the games it involves.

#include <algorithm>
#include <cstdlib>

#include "evaluation/requisitos.hpp"
#include "report/explicacao.hpp"

namespace kelm {

namespace {

// Team t's name.
const std::string& nome(const Campeonato& c, int t) { return c.nomes_times[static_cast<std::size_t>(t)]; }

// "Bahia", "Bahia e Vitória", ...: the requirement's teams.
std::string nomes(const Campeonato& c, const Requisito& r)
{
    std::vector<std::string> n;
    for (const int t : r.times) n.push_back(nome(c, t));
    return junta(n);
}

// How a requirement is broken, in a sentence without its line; its rounds by their dates when
// a calendar is in force.
std::string frase(const Campeonato& c, const Requisito& r, const Violacao& v, const Calendario* calendario)
{
    const std::string nas = nas_datas(v.rodadas, calendario);
    const std::string em_nenhuma =
        nas_datas(v.rodadas, calendario, "na rodada ", "em nenhuma das rodadas ", "em nenhuma das datas ");
    switch (r.tipo) {
    case TipoRequisito::casa: return nome(c, r.times[0]) + " não joga em casa " + nas;
    case TipoRequisito::fora: return nome(c, r.times[0]) + " joga em casa " + nas;
    case TipoRequisito::maximo:
        // None of the group may be at home: any one at home breaks it.
        if (r.limite == 0) return nomes(c, r) + " não podem jogar em casa, e algum deles joga em casa " + nas;
        return "mais de " + std::to_string(r.limite) + " de " + nomes(c, r) + " jogam em casa " + nas;
    case TipoRequisito::jogo: return "o jogo " + nome(c, r.times[0]) + " x " + nome(c, r.times[1]) + " não é " + em_nenhuma;
    case TipoRequisito::encontro: return nomes(c, r) + " não se enfrentam " + em_nenhuma;
    case TipoRequisito::sem_encontro: return nomes(c, r) + " se enfrentam " + nas;
    case TipoRequisito::fim_de_semana: return nomes(c, r) + " se enfrentam fora do fim de semana " + nas;
    }
    return {};
}

// A requirement's sentence with its line.
std::string frase_com_linha(const Campeonato& c, const Violacao& v, const Calendario* calendario)
{
    return frase(c, *v.requisito, v, calendario) + " (requisito da linha " + std::to_string(v.requisito->linha) + ")";
}

class ExplicaRequisitos {
public:
    ExplicaRequisitos(const Campeonato& campeonato, const Tabela& tabela, Explicacao& explicacao,
                      const Calendario* calendario)
        : campeonato_(campeonato), tabela_(tabela), e_(explicacao), calendario_(calendario)
    {
    }

    void explica(const Violacao& v)
    {
        const Requisito& r = *v.requisito;
        Ocorrencia o;
        o.inviabilidade = Inviabilidade::requisitos;
        o.time = r.times[0];
        o.valor = v.tamanho;
        o.rodadas = v.rodadas;
        o.frase = frase_com_linha(campeonato_, v, calendario_);
        const std::string nota = "requisito da linha " + std::to_string(r.linha) + " não atendido (Inviabilidade 10)";
        for (const PosicaoJogo& p : jogos_envolvidos(r, v)) o.jogos.push_back({p, nomes(campeonato_, r) + ": " + nota});
        e_.times[static_cast<std::size_t>(r.times[0] - 1)].parcelas[static_cast<std::size_t>(Inviabilidade::requisitos)] +=
            v.tamanho;
        e_.contagens[Inviabilidade::requisitos] += static_cast<double>(v.tamanho);
        e_.ocorrencias.push_back(std::move(o));
    }

private:
    // The games a requirement not met is about: the team's games in the rounds where it breaks,
    // the group's home games there, or the pair's meetings.
    std::vector<PosicaoJogo> jogos_envolvidos(const Requisito& r, const Violacao& v) const
    {
        std::vector<PosicaoJogo> jogos;
        const bool afasta = r.tipo == TipoRequisito::sem_encontro || r.tipo == TipoRequisito::fim_de_semana;
        const bool par = r.tipo == TipoRequisito::jogo || r.tipo == TipoRequisito::encontro || afasta;
        for (int s = 0; s < tabela_.linhas(); ++s) {
            const bool na_quebra = std::binary_search(v.rodadas.begin(), v.rodadas.end(), s);
            for (int g = 0; g < tabela_.colunas(); ++g) {
                const Jogo j = tabela_[s][g];
                if (j.vazio()) continue;
                const auto tem = [&](int t) { return std::find(r.times.begin(), r.times.end(), t) != r.times.end(); };
                const bool envolve = par ? tem(j.mandante()) && tem(j.visitante()) &&
                                               (!afasta || na_quebra)
                                   : r.tipo == TipoRequisito::maximo ? na_quebra && tem(j.mandante())
                                                                     : na_quebra && (tem(j.mandante()) || tem(j.visitante()));
                if (envolve) jogos.push_back({s, g});
            }
        }
        return jogos;
    }

    const Campeonato& campeonato_;
    const Tabela& tabela_;
    Explicacao& e_;
    const Calendario* calendario_;
};

}  // namespace

void explica_requisitos(const Campeonato& campeonato, const Tabela& tabela, const Requisitos& requisitos,
                        Explicacao& explicacao, const Calendario* calendario)
{
    explicacao.vistas.requisitos = true;
    std::vector<Violacao> violacoes;
    conta_requisitos(requisitos, campeonato.num_times, tabela, &violacoes);
    ExplicaRequisitos explica(campeonato, tabela, explicacao, calendario);
    for (const Violacao& v : violacoes) explica.explica(v);
}

}  // namespace kelm

namespace kelm {

std::vector<RequisitoNaoAtendido> requisitos_nao_atendidos(const Campeonato& campeonato, const Tabela& tabela,
                                                           const Requisitos& requisitos, const Calendario* calendario)
{
    std::vector<Violacao> violacoes;
    conta_requisitos(requisitos, campeonato.num_times, tabela, &violacoes);
    std::vector<RequisitoNaoAtendido> lista;
    for (const Violacao& v : violacoes) lista.push_back({v.requisito->linha, frase_com_linha(campeonato, v, calendario)});
    return lista;
}

}  // namespace kelm
