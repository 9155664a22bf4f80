#include "evaluation/contradicoes.hpp"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <unordered_map>

#include "evaluation/sequencia.hpp"
#include "model/temporada.hpp"

namespace kelm {

namespace {

// What a line marked in a (team, round): its line (negative when it reached the round through
// the season's scheme, from the round that repeats it) and a value (an opponent).
struct Marca {
    int linha = 0;
    int valor = 0;
};

// The first mark of each (team, round): in a table for the usual sizes, in a hash map where
// teams times rounds would make the table large and most cells stay empty.
class Marcas {
public:
    Marcas(int num_times, int num_rodadas) : rodadas_(num_rodadas)
    {
        const long long celulas = (static_cast<long long>(num_times) + 1) * num_rodadas;
        densa_ = celulas <= limite_denso;
        if (densa_) tabela_.assign(static_cast<std::size_t>(celulas), Marca{});
    }

    Marca le(int t, int s) const
    {
        if (densa_) return tabela_[celula(t, s)];
        const auto achada = mapa_.find(celula(t, s));
        return achada == mapa_.end() ? Marca{} : achada->second;
    }

    // Marks (t, s) unless it is marked already.
    void marca(int t, int s, int linha, int valor = 0)
    {
        if (densa_) {
            Marca& m = tabela_[celula(t, s)];
            if (m.linha == 0) m = {linha, valor};
            return;
        }
        mapa_.try_emplace(celula(t, s), Marca{linha, valor});
    }

private:
    static constexpr long long limite_denso = 1LL << 18;
    std::size_t celula(int t, int s) const
    {
        return static_cast<std::size_t>(t) * static_cast<std::size_t>(rodadas_) + static_cast<std::size_t>(s);
    }

    int rodadas_;
    bool densa_ = true;
    std::vector<Marca> tabela_;
    std::unordered_map<std::size_t, Marca> mapa_;
};

using Mascara = std::vector<Palavra>;

bool vazia(const Mascara& m)
{
    return std::all_of(m.begin(), m.end(), [](Palavra p) { return p == 0; });
}

// "a, b e c".
std::string lista(const std::vector<std::string>& itens)
{
    std::string texto;
    for (std::size_t k = 0; k < itens.size(); ++k) texto += (k == 0 ? "" : k + 1 == itens.size() ? " e " : ", ") + itens[k];
    return texto;
}

// A pair of teams that a requirement makes meet, or keeps apart: the rounds (units) left for
// its meeting and the lines that asked.
struct Par {
    int a = 0;
    int b = 0;
    Mascara livres;
    std::vector<int> linhas;  // in the order of the file
    std::vector<int> linhas_encontro;
    bool marcado = false;  // a game or a meeting of the pair was asked for
};

// One reading of the requirements against the rounds of a run.
class Verificacao {
public:
    Verificacao(const Requisitos& requisitos, const Campeonato& campeonato, int num_rodadas, Returno esquema)
        : itens_(requisitos.itens),
          campeonato_(campeonato),
          num_rodadas_(num_rodadas),
          turno_(campeonato.num_rodadas),
          esquema_(esquema),
          temporada_(esquema != Returno::nenhum && num_rodadas == rodadas_da_temporada(campeonato.num_rodadas)),
          unidades_(temporada_ ? campeonato.num_rodadas : num_rodadas),
          // Without a scheme a schedule of more rounds than the turno's is a double round robin
          // whose two meetings of a pair may fall anywhere: only what holds round by round is read.
          livre_(!temporada_ && num_rodadas != campeonato.num_rodadas),
          casa_(campeonato.num_times, num_rodadas),
          nao_casa_(campeonato.num_times, num_rodadas),
          fora_(campeonato.num_times, num_rodadas),
          adversario_(campeonato.num_times, num_rodadas)
    {
    }

    std::optional<Contradicao> primeira()
    {
        for (const Requisito& r : itens_)
            if (auto c = marca(r)) return c;
        for (const Requisito& r : itens_)
            if (auto c = jogo_sem_rodada(r)) return c;
        for (const Requisito& r : itens_)
            if (auto c = maximo_excedido(r)) return c;
        if (livre_) return std::nullopt;
        if (auto c = pares()) return c;
        if (temporada_)
            for (int t = 1; t <= campeonato_.num_times; ++t)
                if (auto c = rodadas_bloqueadas(t)) return c;
        return emparelha();
    }

private:
    const std::string& nome(int t) const { return campeonato_.nomes_times[static_cast<std::size_t>(t)]; }
    static std::string rodada(int s) { return std::to_string(s + 1); }
    // The round that repeats the games of round s with the venues swapped, or -1.
    int espelho(int s) const { return temporada_ ? rodada_par(s, turno_, esquema_) : -1; }
    int unidade(int s) const { return temporada_ ? rodada_do_turno(s, turno_, esquema_) : s; }
    // The rounds of a requirement, from 0: its own, or every round for a maximo without any.
    std::vector<int> rodadas_de(const Requisito& r) const
    {
        std::vector<int> rodadas;
        if (r.rodadas.empty()) {
            if (r.tipo == TipoRequisito::maximo)
                for (int s = 0; s < num_rodadas_; ++s) rodadas.push_back(s);
            return rodadas;
        }
        for (const int s : r.rodadas)
            if (s <= num_rodadas_) rodadas.push_back(s - 1);
        return rodadas;
    }
    Mascara mascara_de_unidades() const { return Mascara(static_cast<std::size_t>(palavras_da_mascara(unidades_)), 0); }

    Contradicao contradicao(std::vector<int> linhas, std::string problema) const
    {
        for (int& l : linhas) l = std::abs(l);
        std::sort(linhas.begin(), linhas.end());
        linhas.erase(std::unique(linhas.begin(), linhas.end()), linhas.end());
        return {std::move(linhas), std::move(problema)};
    }

    // " (numa temporada, a rodada 20 repete os jogos da rodada 1 com os mandos trocados)" when
    // a mark reached round s through the scheme.
    std::string pelo_espelho(int s, std::initializer_list<int> linhas) const
    {
        if (std::none_of(linhas.begin(), linhas.end(), [](int l) { return l < 0; })) return {};
        const int p = espelho(s);
        return " (a rodada " + rodada(s) + " repete os jogos da rodada " + rodada(p) + " com os mandos trocados)";
    }

    // ---- Round by round, in the order of the file ----------------------------------------

    std::optional<Contradicao> poe_casa(int t, int s, int linha)
    {
        if (const Marca m = nao_casa_.le(t, s); m.linha != 0)
            return contradicao({m.linha, linha}, nome(t) + " em casa e fora na rodada " + rodada(s) +
                                                     pelo_espelho(s, {m.linha, linha}) + ".");
        casa_.marca(t, s, linha);
        return std::nullopt;
    }

    std::optional<Contradicao> poe_nao_casa(int t, int s, int linha)
    {
        if (const Marca m = casa_.le(t, s); m.linha != 0)
            return contradicao({m.linha, linha}, nome(t) + " em casa e fora na rodada " + rodada(s) +
                                                     pelo_espelho(s, {m.linha, linha}) + ".");
        nao_casa_.marca(t, s, linha);
        return std::nullopt;
    }

    // Teams a and b meet in round s.
    std::optional<Contradicao> fixa(int a, int b, int s, int linha)
    {
        for (const auto& [t, u] : {std::pair{a, b}, std::pair{b, a}}) {
            const Marca m = adversario_.le(t, s);
            if (m.linha != 0 && m.valor != u)
                return contradicao({m.linha, linha}, nome(t) + " tem dois jogos marcados na rodada " + rodada(s) +
                                                         pelo_espelho(s, {m.linha, linha}) + ".");
            adversario_.marca(t, s, linha, u);
        }
        return std::nullopt;
    }

    // The game fixed in round s, its home team at home and its visitor away there.
    std::optional<Contradicao> jogo_na_rodada(const Requisito& j, int s)
    {
        const int casa = j.times[0];
        const int visitante = j.times[1];
        const Marca fora = nao_casa_.le(casa, s);
        const Marca em_casa = casa_.le(visitante, s);
        if (fora.linha > 0 || em_casa.linha > 0)
            return contradicao({j.linha, fora.linha > 0 ? fora.linha : em_casa.linha},
                               "o jogo " + nome(casa) + " x " + nome(visitante) +
                                   " não cabe em nenhuma das suas rodadas, em que " + nome(casa) + " deve jogar fora ou " +
                                   nome(visitante) + " em casa.");
        if (auto c = poe_casa(casa, s, j.linha)) return c;
        return poe_nao_casa(visitante, s, j.linha);
    }

    std::optional<Contradicao> marca(const Requisito& r)
    {
        const int l = r.linha;
        const bool fixo = r.rodadas.size() == 1;
        for (const int s : rodadas_de(r)) {
            const int p = espelho(s);
            std::optional<Contradicao> c;
            switch (r.tipo) {
            case TipoRequisito::casa:
                // At home in a round, away in the round that repeats it.
                c = poe_casa(r.times[0], s, l);
                if (!c && p >= 0) c = poe_nao_casa(r.times[0], p, -l);
                break;
            case TipoRequisito::fora:
                c = poe_nao_casa(r.times[0], s, l);
                if (!c) fora_.marca(r.times[0], s, l);
                break;
            case TipoRequisito::maximo:
                // None of the group at home: as many requirements to play away.
                if (r.limite == 0)
                    for (const int t : r.times) fora_.marca(t, s, l);
                break;
            case TipoRequisito::jogo:
                if (!fixo) break;
                c = fixa(r.times[0], r.times[1], s, l);
                if (!c) c = jogo_na_rodada(r, s);
                if (!c && p >= 0) c = poe_casa(r.times[1], p, -l);
                if (!c && p >= 0) c = poe_nao_casa(r.times[0], p, -l);
                if (!c && p >= 0) c = fixa(r.times[0], r.times[1], p, -l);
                break;
            case TipoRequisito::encontro:
                if (!fixo) break;
                c = fixa(r.times[0], r.times[1], s, l);
                if (!c && p >= 0) c = fixa(r.times[0], r.times[1], p, -l);
                break;
            case TipoRequisito::sem_encontro:
            case TipoRequisito::fim_de_semana: break;
            }
            if (c) return c;
        }
        return std::nullopt;
    }

    // ---- A game none of whose rounds fits ---------------------------------------------------

    // A game of several rounds in none of which its home team may play at home, or its visitor
    // away (through the scheme too: in the round that repeats it the venues are the other way).
    std::optional<Contradicao> jogo_sem_rodada(const Requisito& j) const
    {
        if (j.tipo != TipoRequisito::jogo || j.rodadas.size() < 2) return std::nullopt;
        const int casa = j.times[0];
        const int visitante = j.times[1];
        std::vector<int> linhas{j.linha};
        for (const int s : rodadas_de(j)) {
            const int p = espelho(s);
            int veda = nao_casa_.le(casa, s).linha;
            if (veda == 0) veda = casa_.le(visitante, s).linha;
            if (veda == 0 && p >= 0) veda = casa_.le(casa, p).linha;
            if (veda == 0 && p >= 0) veda = nao_casa_.le(visitante, p).linha;
            if (veda == 0) return std::nullopt;
            linhas.push_back(veda);
        }
        return contradicao(linhas, "o jogo " + nome(casa) + " x " + nome(visitante) +
                                       " não cabe em nenhuma das suas rodadas, em que " + nome(casa) +
                                       " deve jogar fora ou " + nome(visitante) + " em casa.");
    }

    // ---- A maximo ---------------------------------------------------------------------------

    // A round of a maximo in which more of its teams must be at home than it allows.
    std::optional<Contradicao> maximo_excedido(const Requisito& m) const
    {
        if (m.tipo != TipoRequisito::maximo) return std::nullopt;
        for (const int s : rodadas_de(m)) {
            std::vector<int> linhas{m.linha};
            std::vector<std::string> nomes;
            for (const int t : m.times) {
                const int l = casa_.le(t, s).linha;
                if (l == 0) continue;
                linhas.push_back(l);
                nomes.push_back(nome(t));
            }
            if (static_cast<int>(nomes.size()) <= m.limite) continue;
            const std::string limite = m.limite == 0 ? "nenhum deles pode jogar em casa"
                                                     : "no máximo " + std::to_string(m.limite) +
                                                           (m.limite == 1 ? " deles pode" : " deles podem") +
                                                           " jogar em casa";
            return contradicao(linhas, lista(nomes) + " em casa na rodada " + rodada(s) + ", e " + limite + ".");
        }
        return std::nullopt;
    }

    // ---- Pairs: the round of their meeting ---------------------------------------------------

    // The pairs the requirements name, with the rounds (units: a turno round and the round
    // that repeats it, in a season) left for their meeting.
    void junta_pares()
    {
        for (const Requisito& r : itens_) {
            const bool afasta = r.tipo == TipoRequisito::sem_encontro || r.tipo == TipoRequisito::fim_de_semana;
            if (r.tipo != TipoRequisito::jogo && r.tipo != TipoRequisito::encontro && !afasta) continue;
            const int a = std::min(r.times[0], r.times[1]);
            const int b = std::max(r.times[0], r.times[1]);
            const auto chave = static_cast<std::size_t>(a) * static_cast<std::size_t>(campeonato_.num_times + 1) +
                               static_cast<std::size_t>(b);
            auto [onde, novo] = indice_par_.try_emplace(chave, pares_.size());
            if (novo) {
                Par par{a, b, mascara_de_unidades(), {}, {}, false};
                for (int u = 0; u < unidades_; ++u) poe_bit(par.livres.data(), u, true);
                pares_.push_back(std::move(par));
            }
            Par& par = pares_[onde->second];
            par.linhas.push_back(r.linha);
            if (afasta) {
                for (const int s : rodadas_de(r)) poe_bit(par.livres.data(), unidade(s), false);
                continue;
            }
            par.marcado = true;
            par.linhas_encontro.push_back(r.linha);
            Mascara pedidas = mascara_de_unidades();
            for (const int s : rodadas_de(r)) poe_bit(pedidas.data(), unidade(s), true);
            for (std::size_t w = 0; w < pedidas.size(); ++w) par.livres[w] &= pedidas[w];
        }
    }

    std::optional<Contradicao> pares()
    {
        junta_pares();
        for (const Par& par : pares_) {
            if (!vazia(par.livres)) continue;
            return contradicao(par.linhas, nome(par.a) + " e " + nome(par.b) +
                                               (temporada_ ? " não têm rodada em que possam se enfrentar, no turno e no returno."
                                                           : " não têm rodada em que possam se enfrentar."));
        }
        return std::nullopt;
    }

    // ---- A team's season ---------------------------------------------------------------------

    // In a season a team meets each opponent in a turno round and in the round that repeats
    // it, at home in one of the two: it cannot play in a turno round where it may be at home in
    // neither. It plays N-1 of the R turno rounds, so at most R-(N-1) may be lost that way.
    std::optional<Contradicao> rodadas_bloqueadas(int t) const
    {
        const int sobra = turno_ - (campeonato_.num_times - 1);
        std::vector<int> linhas;
        std::vector<std::string> rodadas;
        int bloqueadas = 0;
        for (int r = 0; r < turno_; ++r) {
            const int l1 = fora_.le(t, r).linha;
            const int l2 = fora_.le(t, espelho(r)).linha;
            if (l1 == 0 || l2 == 0) continue;
            ++bloqueadas;
            linhas.push_back(l1);
            linhas.push_back(l2);
            rodadas.push_back(rodada(r) + " e " + rodada(espelho(r)));
        }
        if (bloqueadas <= std::max(sobra, 0)) return std::nullopt;
        if (rodadas.size() > 6) rodadas.resize(6), rodadas.back() = "...";
        std::string pares_de_rodadas;
        for (const std::string& par : rodadas) pares_de_rodadas += (pares_de_rodadas.empty() ? "" : ", ") + par;
        return contradicao(linhas, nome(t) + " não pode jogar em casa nas rodadas " + pares_de_rodadas +
                                       ": em cada par de rodadas que se repetem, um dos jogos é em casa, e faltam rodadas "
                                       "para os seus " +
                                       std::to_string(campeonato_.num_times - 1) + " adversários.");
    }

    // ---- A team's fixed games: one a round ---------------------------------------------------

    // Tries to give pair k of team t's list a round of its own (an augmenting path).
    bool acha_rodada(const std::vector<int>& pares_do_time, int k, std::vector<int>& dono, std::vector<int>& visto,
                     int marca) const
    {
        const Par& par = pares_[static_cast<std::size_t>(pares_do_time[static_cast<std::size_t>(k)])];
        for (int u = 0; u < unidades_; ++u) {
            if (!bit(par.livres.data(), u) || visto[static_cast<std::size_t>(u)] == marca) continue;
            visto[static_cast<std::size_t>(u)] = marca;
            const int outro = dono[static_cast<std::size_t>(u)];
            if (outro < 0 || acha_rodada(pares_do_time, outro, dono, visto, marca)) {
                dono[static_cast<std::size_t>(u)] = k;
                return true;
            }
        }
        return false;
    }

    // A team whose fixed games (or meetings) cannot all have rounds of their own: more of
    // them than the rounds they may take together.
    std::optional<Contradicao> emparelha() const
    {
        std::vector<std::vector<int>> por_time(static_cast<std::size_t>(campeonato_.num_times) + 1);
        for (std::size_t i = 0; i < pares_.size(); ++i) {
            if (!pares_[i].marcado) continue;
            por_time[static_cast<std::size_t>(pares_[i].a)].push_back(static_cast<int>(i));
            por_time[static_cast<std::size_t>(pares_[i].b)].push_back(static_cast<int>(i));
        }
        std::vector<int> dono(static_cast<std::size_t>(unidades_));
        std::vector<int> visto(static_cast<std::size_t>(unidades_));
        for (int t = 1; t <= campeonato_.num_times; ++t) {
            const std::vector<int>& lista_pares = por_time[static_cast<std::size_t>(t)];
            if (lista_pares.size() < 2) continue;
            std::fill(dono.begin(), dono.end(), -1);
            std::fill(visto.begin(), visto.end(), -1);
            for (int k = 0; k < static_cast<int>(lista_pares.size()); ++k) {
                if (acha_rodada(lista_pares, k, dono, visto, k)) continue;
                return sem_rodadas(t, lista_pares, k, dono, visto);
            }
        }
        return std::nullopt;
    }

    // The games of team t that the failed search for pair k reached: they and the rounds they
    // may take, all of them already taken by the others.
    Contradicao sem_rodadas(int t, const std::vector<int>& lista_pares, int k, const std::vector<int>& dono,
                            const std::vector<int>& visto) const
    {
        std::vector<int> linhas;
        std::vector<std::string> rodadas;
        int jogos = 1;
        auto junta = [&](int i) {
            const Par& par = pares_[static_cast<std::size_t>(lista_pares[static_cast<std::size_t>(i)])];
            linhas.insert(linhas.end(), par.linhas_encontro.begin(), par.linhas_encontro.end());
        };
        junta(k);
        for (int u = 0; u < unidades_; ++u) {
            if (visto[static_cast<std::size_t>(u)] != k) continue;
            rodadas.push_back(temporada_ ? rodada(u) + " ou " + rodada(espelho(u)) : rodada(u));
            junta(dono[static_cast<std::size_t>(u)]);
            ++jogos;
        }
        return contradicao(linhas, nome(t) + " tem " + std::to_string(jogos) + " jogos marcados para " +
                                       std::to_string(rodadas.size()) +
                                       (rodadas.size() == 1 ? " rodada (" : " rodadas (") + lista(rodadas) +
                                       "), e joga uma vez por rodada.");
    }

    const std::vector<Requisito>& itens_;
    const Campeonato& campeonato_;
    int num_rodadas_;
    int turno_;
    Returno esquema_;
    bool temporada_;
    int unidades_;
    bool livre_;
    Marcas casa_;       // the team must be at home
    Marcas nao_casa_;   // the team must not be at home (away, or not playing)
    Marcas fora_;       // the team may not be at home: fora, or a maximo of 0
    Marcas adversario_; // the team's fixed opponent
    std::vector<Par> pares_;
    std::unordered_map<std::size_t, std::size_t> indice_par_;
};

}  // namespace

std::optional<Contradicao> primeira_contradicao(const Requisitos& requisitos, const Campeonato& campeonato,
                                                int num_rodadas, Returno esquema)
{
    return Verificacao(requisitos, campeonato, num_rodadas, esquema).primeira();
}

}  // namespace kelm
