#include "neighbourhoods/padrao/avaliador_incremental.hpp"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cmath>
#include <cstring>
#include <limits>
#include <stdexcept>

#include "evaluation/avaliacao.hpp"

namespace kelm {

namespace {

// Removes bit p, moving every higher bit down by one.
void remove_bit(Palavra* m, int w, int p)
{
    const int i = p >> 6;
    const int b = p & 63;
    const Palavra x = m[i];
    const Palavra baixo = b == 0 ? 0 : x & ((Palavra{1} << b) - 1);
    const Palavra alto = b == 63 ? 0 : (x >> (b + 1)) << b;
    m[i] = baixo | alto;
    for (int j = i + 1; j < w; ++j) {
        m[j - 1] |= (m[j] & 1U) << 63;
        m[j] >>= 1;
    }
}

// Inserts `valor` at bit q, moving every bit from q up by one.
void insere_bit(Palavra* m, int w, int q, bool valor)
{
    const int i = q >> 6;
    const int b = q & 63;
    for (int j = w - 1; j > i; --j) m[j] = (m[j] << 1) | (m[j - 1] >> 63);
    const Palavra x = m[i];
    const Palavra baixo = b == 0 ? 0 : x & ((Palavra{1} << b) - 1);
    const Palavra alto = b == 63 ? 0 : (x >> b) << (b + 1);
    m[i] = baixo | alto | (static_cast<Palavra>(valor) << b);
}

}  // namespace

AvaliadorIncremental::AvaliadorIncremental(const Campeonato& campeonato, const Criterios& criterios, Execucao& execucao)
    : execucao_(execucao),
      n_(campeonato.num_times),
      l_(campeonato.num_times - 1),
      w_(palavras_da_mascara(campeonato.num_times - 1)),
      g_(campeonato.jogos_por_rodada()),
      ultima_rodada_(campeonato.num_rodadas - 1),
      distancias_(campeonato.matriz_distancias.dados()),
      ponderacao_(campeonato, criterios)
{
    const auto times = static_cast<std::size_t>(n_) + 1;
    chaves_.assign(times * static_cast<std::size_t>(l_), 0);
    sedes_.assign(times * static_cast<std::size_t>(l_ + 2), 0);
    mascaras_.assign(times * static_cast<std::size_t>(w_), 0);
    rascunhos_.assign(4 * static_cast<std::size_t>(w_), 0);
    valores_.assign(times, Parcela{});
    distancia_.assign(times, 0);
    ultima_palavra_ = bits_da_ultima_palavra(l_);

    std::vector<int> jogos(times, 0);
    const Tabela& tabela = execucao.tabela_atual;
    for (int r = 0; r < tabela.linhas(); ++r) {
        for (int g = 0; g < g_; ++g) {
            const Jogo jogo = tabela[r][g];
            if (jogo.vazio()) continue;
            for (const int t : {std::abs(jogo.time1), jogo.time2}) {
                int& k = jogos[static_cast<std::size_t>(t)];
                if (k >= l_) throw std::logic_error("um time tem mais de N-1 jogos na tabela");
                chaves(t)[k] = r * g_ + g;
                sedes(t)[k] = jogo.mandante();
                poe_bit(mascara(t), k, jogo.mandante() == t);
                ++k;
            }
        }
    }
    for (int t = 1; t <= n_; ++t) {
        sedes(t)[-1] = t;
        sedes(t)[l_] = 0;
        if (jogos[static_cast<std::size_t>(t)] != l_) throw std::logic_error("um time não tem N-1 jogos na tabela");
        std::int64_t distancia = 0;
        const std::int32_t* s = sedes(t);
        for (int k = 0; k < l_; ++k) distancia += d(k == 0 ? t : s[k - 1], s[k]);
        valores_[static_cast<std::size_t>(t)] = parcela_da_mascara(mascara(t), w_, l_, ultima_palavra_, distancia);
        distancia_[static_cast<std::size_t>(t)] = distancia;
        totais_.soma(valores_[static_cast<std::size_t>(t)], l_, +1);
    }
    for (int r = 0; r < tabela.linhas(); ++r) {
        for (int t = 1; t <= n_; ++t) {
            const Controle c = execucao.matriz_controle[r][t];
            if (c.jogos_casa + c.jogos_fora > 1) totais_[Inviabilidade::jogos_na_rodada] += c.jogos_casa + c.jogos_fora - 1;
        }
    }
    for (int g = 0; g < g_; ++g) totais_[Inviabilidade::mesmo_estado] += mesmo_estado(tabela[ultima_rodada_][g]);
    for (int t = 1; t <= n_; ++t) ordem_.push_back(t);
    std::sort(ordem_.begin(), ordem_.end(), [&](int a, int b) {
        return distancia_[static_cast<std::size_t>(a)] < distancia_[static_cast<std::size_t>(b)];
    });
    lugar_.assign(times, 0);
    for (std::size_t k = 0; k < ordem_.size(); ++k) lugar_[static_cast<std::size_t>(ordem_[k])] = static_cast<int>(k);
    fecha_totais(totais_);
}

bool AvaliadorIncremental::recusa_pelo_limite(std::int64_t limite, double fo_atual, double temperatura)
{
    if (static_cast<double>(limite) - fo_atual < temperatura) return false;
    antecipado_ = true;
    pendente_ = false;
    return true;
}

bool AvaliadorIncremental::mudou(int t) const
{
    for (int i = 0; i < num_mudancas_; ++i)
        if (mudancas_[static_cast<std::size_t>(i)].time == t) return true;
    return false;
}

void AvaliadorIncremental::fecha_totais(Totais& totais)
{
    // Largest minus smallest distance travelled: the changed teams at their new values, and
    // from each end of the order the first team the move leaves alone.
    std::int64_t maior = 0;
    std::int64_t menor = 100000000000LL;
    for (int i = 0; i < num_mudancas_; ++i) {
        const std::int64_t v = mudancas_[static_cast<std::size_t>(i)].valores.distancia;
        maior = std::max(maior, v);
        menor = std::min(menor, v);
    }
    for (int k = n_ - 1; k >= 0; --k) {
        const int t = ordem_[static_cast<std::size_t>(k)];
        if (!mudou(t)) {
            maior = std::max(maior, distancia_[static_cast<std::size_t>(t)]);
            break;
        }
    }
    for (int k = 0; k < n_; ++k) {
        const int t = ordem_[static_cast<std::size_t>(k)];
        if (!mudou(t)) {
            menor = std::min(menor, distancia_[static_cast<std::size_t>(t)]);
            break;
        }
    }
    totais[Inviabilidade::diferenca_distancia] = maior - menor;
}

void AvaliadorIncremental::reordena(int t)
{
    const std::int64_t v = distancia_[static_cast<std::size_t>(t)];
    auto k = static_cast<std::size_t>(lugar_[static_cast<std::size_t>(t)]);
    while (k + 1 < ordem_.size() && distancia_[static_cast<std::size_t>(ordem_[k + 1])] < v) {
        ordem_[k] = ordem_[k + 1];
        lugar_[static_cast<std::size_t>(ordem_[k])] = static_cast<int>(k);
        ++k;
    }
    while (k > 0 && distancia_[static_cast<std::size_t>(ordem_[k - 1])] > v) {
        ordem_[k] = ordem_[k - 1];
        lugar_[static_cast<std::size_t>(ordem_[k])] = static_cast<int>(k);
        --k;
    }
    ordem_[k] = t;
    lugar_[static_cast<std::size_t>(t)] = static_cast<int>(k);
}

int AvaliadorIncremental::mesmo_estado(const Jogo& jogo) const
{
    return !jogo.vazio() && d(std::abs(jogo.time1), jogo.time2) == 0 ? 1 : 0;
}

int AvaliadorIncremental::posicao(int t, int chave)
{
    // How many of the team's games come before the key. Counting every entry, without
    // branches, costs less than a binary search here: the sequences are short and the
    // comparisons run side by side.
    const std::int32_t* c = chaves(t);
    int antes = 0;
    for (int k = 0; k < l_; ++k) antes += c[k] < chave ? 1 : 0;
    return antes;
}

void AvaliadorIncremental::prepara_move(int t, int chave_antiga, int chave_nova, int sede, Mudanca& mudanca,
                                        int rascunho_idx)
{
    const std::int32_t* s = sedes(t);
    // Where the game stands in the team's sequence, and how many of the team's games come
    // before its new place, counted in one pass.
    const std::int32_t* c = chaves(t);
    int p = 0;
    int menores = 0;
    for (int k = 0; k < l_; ++k) {
        p += c[k] < chave_antiga ? 1 : 0;
        menores += c[k] < chave_nova ? 1 : 0;
    }
    const int q = menores - (p < menores ? 1 : 0);

    // Take the game out of the sequence at p ...
    std::int64_t distancia = valores_[static_cast<std::size_t>(t)].distancia;
    const int antes = s[p - 1];
    const int depois = s[p + 1];
    distancia += d(antes, depois) - d(antes, sede) - d(sede, depois);
    // ... and put it back at q of the shortened sequence, between its entries q-1 and q.
    const int antes_novo = q - 1 < p ? s[q - 1] : s[q];
    const int depois_novo = q < p ? s[q] : s[q + 1];
    distancia += d(antes_novo, sede) + d(sede, depois_novo) - d(antes_novo, depois_novo);

    Palavra* m = rascunho(rascunho_idx);
    if (w_ == 1) {
        Palavra x = mascara(t)[0];
        const Palavra abaixo_p = (Palavra{1} << p) - 1;
        x = (x & abaixo_p) | ((x >> 1) & ~abaixo_p);
        const Palavra abaixo_q = (Palavra{1} << q) - 1;
        m[0] = (x & abaixo_q) | ((x & ~abaixo_q) << 1) | (static_cast<Palavra>(sede == t) << q);
    } else {
        std::memcpy(m, mascara(t), sizeof(Palavra) * static_cast<std::size_t>(w_));
        remove_bit(m, w_, p);
        insere_bit(m, w_, q, sede == t);
    }

    mudanca.tipo = Mudanca::Tipo::move_entrada;
    mudanca.time = t;
    mudanca.p = p;
    mudanca.q = q;
    mudanca.chave = chave_nova;
    mudanca.valores = parcela_da_mascara(m, w_, l_, ultima_palavra_, distancia);
}

void AvaliadorIncremental::prepara_troca(int t, int chave_a, int chave_b, int sede_a, int sede_b, Mudanca& mudanca,
                                         int rascunho_idx)
{
    // The team plays both games: they change places, so its two entries change venues.
    const std::int32_t* s = sedes(t);
    const int pa = posicao(t, chave_a);
    const int pb = posicao(t, chave_b);
    auto nova = [&](int k) { return k == pa ? sede_b : k == pb ? sede_a : s[k]; };
    std::int64_t distancia = 0;
    for (int k = 0; k < l_; ++k) distancia += d(k == 0 ? t : nova(k - 1), nova(k));

    Palavra* m = rascunho(rascunho_idx);
    std::memcpy(m, mascara(t), sizeof(Palavra) * static_cast<std::size_t>(w_));
    poe_bit(m, pa, sede_b == t);
    poe_bit(m, pb, sede_a == t);

    mudanca.tipo = Mudanca::Tipo::troca_sedes;
    mudanca.time = t;
    mudanca.p = pa;
    mudanca.q = pb;
    mudanca.valores = parcela_da_mascara(m, w_, l_, ultima_palavra_, distancia);
}

void AvaliadorIncremental::prepara_vira(int t, int chave, int sede_nova, Mudanca& mudanca, int rascunho_idx)
{
    const std::int32_t* s = sedes(t);
    const int p = posicao(t, chave);
    const int sede_velha = s[p];
    std::int64_t distancia = valores_[static_cast<std::size_t>(t)].distancia;
    const int antes = s[p - 1];
    const int depois = s[p + 1];
    distancia += d(antes, sede_nova) - d(antes, sede_velha) + d(sede_nova, depois) - d(sede_velha, depois);

    Palavra* m = rascunho(rascunho_idx);
    std::memcpy(m, mascara(t), sizeof(Palavra) * static_cast<std::size_t>(w_));
    poe_bit(m, p, sede_nova == t);

    mudanca.tipo = Mudanca::Tipo::vira_sede;
    mudanca.time = t;
    mudanca.p = p;
    mudanca.sede = sede_nova;
    mudanca.valores = parcela_da_mascara(m, w_, l_, ultima_palavra_, distancia);
}

double AvaliadorIncremental::publica(const Totais& totais)
{
    for (std::size_t i = 0; i < num_inviabilidades; ++i)
        execucao_.inviabilidades[i] = static_cast<double>(totais.valores[i]);
    return ponderacao_.fo(totais);
}

double AvaliadorIncremental::avalia()
{
    pendente_ = false;
    num_mudancas_ = 0;
    return publica(totais_);
}

double AvaliadorIncremental::aplica(const Movimento& m)
{
    return aplica(m, 0.0, std::numeric_limits<double>::infinity());
}

double AvaliadorIncremental::aplica(const Movimento& m, double fo_atual, double temperatura)
{
    Tabela& tabela = execucao_.tabela_atual;
    antecipado_ = false;
    totais_candidatos_ = totais_;
    num_mudancas_ = 0;
    pendente_ = true;

    if (m.tipo == Movimento::Tipo::troca_jogos) {
        if (m.r1 == m.r2 && m.g1 == m.g2) return publica(totais_);
        const Jogo a = tabela[m.r1][m.g1];
        const Jogo b = tabela[m.r2][m.g2];
        const int times_a[2] = {a.vazio() ? 0 : std::abs(a.time1), a.time2};
        const int times_b[2] = {b.vazio() ? 0 : std::abs(b.time1), b.time2};
        totais_candidatos_[Inviabilidade::jogos_na_rodada] +=
            troca_jogos(tabela, execucao_.matriz_controle, m.r1, m.g1, m.r2, m.g2);
        if (m.r1 == ultima_rodada_) totais_candidatos_[Inviabilidade::mesmo_estado] += mesmo_estado(b) - mesmo_estado(a);
        if (m.r2 == ultima_rodada_) totais_candidatos_[Inviabilidade::mesmo_estado] += mesmo_estado(a) - mesmo_estado(b);

        const int chave_a = m.r1 * g_ + m.g1;
        const int chave_b = m.r2 * g_ + m.g2;

        if (ponderacao_.pode_antecipar()) {
            // Inviabilidades 1 and 5 of the neighbour are known; the others cannot fall below
            // what the moved teams' shares allow. When even that bound worsens the objective
            // by the temperature or more, the move is rejected whatever the draw, and the
            // moved teams need no closer look.
            std::int64_t limite = ponderacao_.fo_sem_dispersao(totais_candidatos_);
            const int times[4] = {times_a[0], times_a[1], times_b[0], times_b[1]};
            for (int i = 0; i < 4; ++i) {
                const int t = times[i];
                bool repetido = t == 0;
                for (int j = 0; j < i; ++j) repetido = repetido || times[j] == t;
                if (!repetido) limite -= ponderacao_.parcela(valores_[static_cast<std::size_t>(t)]);
            }
            if (recusa_pelo_limite(limite, fo_atual, temperatura)) return static_cast<double>(limite);
        }

        auto em_b = [&](int t) { return !b.vazio() && (t == times_b[0] || t == times_b[1]); };
        if (!a.vazio()) {
            for (const int t : times_a) {
                Mudanca& mud = mudancas_[static_cast<std::size_t>(num_mudancas_)];
                if (em_b(t))
                    prepara_troca(t, chave_a, chave_b, a.mandante(), b.mandante(), mud, num_mudancas_);
                else
                    prepara_move(t, chave_a, chave_b, a.mandante(), mud, num_mudancas_);
                ++num_mudancas_;
            }
        }
        if (!b.vazio()) {
            for (const int t : times_b) {
                if (!a.vazio() && (t == times_a[0] || t == times_a[1])) continue;  // done above
                prepara_move(t, chave_b, chave_a, b.mandante(), mudancas_[static_cast<std::size_t>(num_mudancas_)],
                             num_mudancas_);
                ++num_mudancas_;
            }
        }
    } else {
        Jogo& jogo = tabela[m.r1][m.g1];
        if (jogo.vazio()) return publica(totais_);
        if (ponderacao_.pode_antecipar()) {
            // The home team loses a home game and the other gains one: Inviabilidade 4 of the
            // neighbour is known, and the other counts are bounded as for a game swap.
            std::int64_t limite = ponderacao_.fo_sem_dispersao(totais_);
            const int times[2] = {jogo.mandante(), jogo.visitante()};
            for (int i = 0; i < 2; ++i) {
                const Parcela& v = valores_[static_cast<std::size_t>(times[i])];
                const int casa = v.casa + (i == 0 ? -1 : 1);
                limite -= ponderacao_.parcela(v);
                limite += ponderacao_.fator(Inviabilidade::mandos) * (std::abs(2 * casa - l_) - std::abs(2 * v.casa - l_));
            }
            if (recusa_pelo_limite(limite, fo_atual, temperatura)) {
                troca_mando(tabela, execucao_.matriz_controle, m.r1, m.g1);
                return static_cast<double>(limite);
            }
        }
        // A home swap keeps every team's games per round: Inviabilidade 1 stays.
        troca_mando(tabela, execucao_.matriz_controle, m.r1, m.g1);
        const int chave = m.r1 * g_ + m.g1;
        const int sede = jogo.mandante();
        prepara_vira(std::abs(jogo.time1), chave, sede, mudancas_[0], 0);
        prepara_vira(jogo.time2, chave, sede, mudancas_[1], 1);
        num_mudancas_ = 2;
    }

    for (int i = 0; i < num_mudancas_; ++i) {
        const Mudanca& mud = mudancas_[static_cast<std::size_t>(i)];
        totais_candidatos_.troca(valores_[static_cast<std::size_t>(mud.time)], mud.valores, l_);
    }
    fecha_totais(totais_candidatos_);
    return publica(totais_candidatos_);
}

void AvaliadorIncremental::confirma()
{
    if (antecipado_) throw std::logic_error("um movimento recusado de antemão não pode ser mantido");
    if (!pendente_) return;
    for (int i = 0; i < num_mudancas_; ++i) {
        const Mudanca& mud = mudancas_[static_cast<std::size_t>(i)];
        const int t = mud.time;
        std::int32_t* c = chaves(t);
        std::int32_t* s = sedes(t);
        switch (mud.tipo) {
        case Mudanca::Tipo::move_entrada: {
            const int sede = s[mud.p];
            if (mud.p < mud.q) {
                std::memmove(c + mud.p, c + mud.p + 1, sizeof(*c) * static_cast<std::size_t>(mud.q - mud.p));
                std::memmove(s + mud.p, s + mud.p + 1, sizeof(*s) * static_cast<std::size_t>(mud.q - mud.p));
            } else if (mud.p > mud.q) {
                std::memmove(c + mud.q + 1, c + mud.q, sizeof(*c) * static_cast<std::size_t>(mud.p - mud.q));
                std::memmove(s + mud.q + 1, s + mud.q, sizeof(*s) * static_cast<std::size_t>(mud.p - mud.q));
            }
            c[mud.q] = mud.chave;
            s[mud.q] = sede;
            break;
        }
        case Mudanca::Tipo::troca_sedes: std::swap(s[mud.p], s[mud.q]); break;
        case Mudanca::Tipo::vira_sede: s[mud.p] = mud.sede; break;
        }
        std::memcpy(mascara(t), rascunho(i), sizeof(Palavra) * static_cast<std::size_t>(w_));
        valores_[static_cast<std::size_t>(t)] = mud.valores;
        // One team at a time, so that only the one being placed is out of order.
        distancia_[static_cast<std::size_t>(t)] = mud.valores.distancia;
        reordena(t);
    }
    totais_ = totais_candidatos_;
    num_mudancas_ = 0;
    pendente_ = false;
}

void AvaliadorIncremental::desfaz(const Movimento& m)
{
    aplica_movimento(execucao_.tabela_atual, execucao_.matriz_controle, m);
    num_mudancas_ = 0;
    pendente_ = false;
    antecipado_ = false;
}

Contagens AvaliadorIncremental::contagens() const
{
    return totais_.contagens();
}

}  // namespace kelm
