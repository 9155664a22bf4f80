#include "neighbourhoods/padrao/vizinhanca_padrao.hpp"

#include <algorithm>
#include <bit>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <stdexcept>

#include "evaluation/avaliacao.hpp"
#include "model/temporada.hpp"

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

VizinhancaPadrao::VizinhancaPadrao(const Campeonato& campeonato, const Criterios& criterios, Tabela& tabela,
                                   Matriz<Controle>& controle, Fase fase, Returno returno, const Requisitos* requisitos,
                                   const Requisitos* partida, const std::vector<bool>* congeladas)
    : movimentos_(campeonato, tabela, controle, fase),
      tabela_(tabela),
      controle_(controle),
      num_times_(campeonato.num_times),
      jogos_(campeonato.num_times - 1),
      vagas_(campeonato.jogos_por_rodada()),
      d_(campeonato),
      requisitos_(requisitos, campeonato.num_times,
                  rodadas_da_execucao(campeonato.num_rodadas, returno)),
      partida_(partida, campeonato.num_times, rodadas_da_execucao(campeonato.num_rodadas, returno)),
      congeladas_(congeladas != nullptr && !congeladas->empty() ? congeladas : nullptr),
      ponderacao_(campeonato, criterios, voltas_da_execucao(returno), requisitos_.maximo(), partida_.maximo()),
      sequencias_(campeonato.num_times, campeonato.num_times - 1),
      returno_(returno),
      jogos_contados_(voltas_da_execucao(returno) * jogos_),
      rodada_final_(rodada_final_da_temporada(campeonato.num_rodadas, returno)),
      peso_extras_(voltas_da_execucao(returno))
{
    const auto times = static_cast<std::size_t>(num_times_) + 1;
    chaves_.assign(times * static_cast<std::size_t>(jogos_), 0);
    oponentes_.assign(chaves_.size(), 0);
    rascunhos_.assign(4 * static_cast<std::size_t>(sequencias_.palavras()), 0);
    candidatas_.assign(4 * 3 * static_cast<std::size_t>(jogos_), 0);
    mascara_temporada_.assign(static_cast<std::size_t>(palavras_da_mascara(2 * jogos_)), 0);
    valores_.assign(times, Parcela{});
    le_tabela();
    for (int t = 1; t <= num_times_; ++t) {
        const auto i = static_cast<std::size_t>(t);
        valores_[i] = returno_ == Returno::nenhum
                          ? sequencias_.parcela(sequencias_.mascara(t), sequencias_.distancia(t, d_))
                          : parcela_da_temporada(t, chaves(t), sequencias_.sedes(t), oponentes(t));
        totais_.soma(valores_[i], jogos_contados_, +1);
    }
    // Every round of the returno holds the teams of a round of the turno.
    totais_[Inviabilidade::jogos_na_rodada] = peso_extras_ * extras_por_rodada(controle_);
    for (int g = 0; g < vagas_; ++g) totais_[Inviabilidade::mesmo_estado] += mesmo_estado(tabela_[rodada_final_][g]);
    for (const auto& [avaliador, i] : {std::pair{&requisitos_, Inviabilidade::requisitos}, std::pair{&partida_, Inviabilidade::mudancas}}) {
        if (avaliador->vazio()) continue;
        for (int t = 1; t <= num_times_; ++t) casa_por_rodada(t, avaliador->casa(t));
        avaliador->inicia([this](int a, int b, int s) { return encontro(a, b, s); });
        totais_[i] = avaliador->total();
    }
    for (int t = 1; t <= num_times_; ++t) ordem_.push_back(t);
    std::sort(ordem_.begin(), ordem_.end(), [&](int a, int b) {
        return valores_[static_cast<std::size_t>(a)].distancia < valores_[static_cast<std::size_t>(b)].distancia;
    });
    lugar_.assign(times, 0);
    for (std::size_t k = 0; k < ordem_.size(); ++k) lugar_[static_cast<std::size_t>(ordem_[k])] = static_cast<int>(k);
    fecha_totais(totais_);
}

void VizinhancaPadrao::le_tabela()
{
    std::vector<int> jogos(static_cast<std::size_t>(num_times_) + 1, 0);
    for (int r = 0; r < tabela_.linhas(); ++r) {
        for (int g = 0; g < vagas_; ++g) {
            const Jogo jogo = tabela_[r][g];
            if (jogo.vazio()) continue;
            for (const int t : {std::abs(jogo.time1), jogo.time2}) {
                int& k = jogos[static_cast<std::size_t>(t)];
                if (k >= jogos_) throw std::logic_error("um time tem mais de N-1 jogos na tabela");
                chaves(t)[k] = r * vagas_ + g;
                oponentes(t)[k] = t == jogo.mandante() ? jogo.visitante() : jogo.mandante();
                sequencias_.poe(t, k, jogo.mandante());
                ++k;
            }
        }
    }
    for (int t = 1; t <= num_times_; ++t)
        if (jogos[static_cast<std::size_t>(t)] != jogos_) throw std::logic_error("um time não tem N-1 jogos na tabela");
}

bool VizinhancaPadrao::recusa_pelo_limite(std::int64_t limite, double fo_atual, double temperatura)
{
    if (static_cast<double>(limite) - fo_atual < temperatura) return false;
    antecipado_ = true;
    pendente_ = false;
    return true;
}

bool VizinhancaPadrao::mudou(int t) const
{
    for (int i = 0; i < num_mudancas_; ++i)
        if (mudancas_[static_cast<std::size_t>(i)].time == t) return true;
    return false;
}

void VizinhancaPadrao::fecha_totais(Totais& totais)
{
    // Largest minus smallest distance travelled: the changed teams at their new values, and
    // from each end of the order the first team the move leaves alone.
    Extremos extremos;
    for (int i = 0; i < num_mudancas_; ++i) extremos.inclui(mudancas_[static_cast<std::size_t>(i)].valores.distancia);
    for (int k = num_times_ - 1; k >= 0; --k) {
        const int t = ordem_[static_cast<std::size_t>(k)];
        if (!mudou(t)) {
            extremos.maior = std::max(extremos.maior, valores_[static_cast<std::size_t>(t)].distancia);
            break;
        }
    }
    for (int k = 0; k < num_times_; ++k) {
        const int t = ordem_[static_cast<std::size_t>(k)];
        if (!mudou(t)) {
            extremos.menor = std::min(extremos.menor, valores_[static_cast<std::size_t>(t)].distancia);
            break;
        }
    }
    totais[Inviabilidade::diferenca_distancia] = extremos.diferenca();
}

void VizinhancaPadrao::reordena(int t)
{
    const std::int64_t v = valores_[static_cast<std::size_t>(t)].distancia;
    auto distancia_em = [&](std::size_t k) { return valores_[static_cast<std::size_t>(ordem_[k])].distancia; };
    auto k = static_cast<std::size_t>(lugar_[static_cast<std::size_t>(t)]);
    while (k + 1 < ordem_.size() && distancia_em(k + 1) < v) {
        ordem_[k] = ordem_[k + 1];
        lugar_[static_cast<std::size_t>(ordem_[k])] = static_cast<int>(k);
        ++k;
    }
    while (k > 0 && distancia_em(k - 1) > v) {
        ordem_[k] = ordem_[k - 1];
        lugar_[static_cast<std::size_t>(ordem_[k])] = static_cast<int>(k);
        --k;
    }
    ordem_[k] = t;
    lugar_[static_cast<std::size_t>(t)] = static_cast<int>(k);
}

int VizinhancaPadrao::mesmo_estado(const Jogo& jogo) const
{
    return !jogo.vazio() && d_(std::abs(jogo.time1), jogo.time2) == 0 ? 1 : 0;
}

int VizinhancaPadrao::posicao(int t, int chave)
{
    // How many of the team's games come before the key. Counting every entry, without
    // branches, costs less than a binary search here: the sequences are short and the
    // comparisons run side by side.
    const std::int32_t* c = chaves(t);
    int antes = 0;
    for (int k = 0; k < jogos_; ++k) antes += c[k] < chave ? 1 : 0;
    return antes;
}

void VizinhancaPadrao::prepara_move(int t, int chave_antiga, int chave_nova, int sede, Mudanca& mudanca,
                                    int rascunho_idx)
{
    const std::int32_t* s = sequencias_.sedes(t);
    // Where the game stands in the team's sequence, and how many of the team's games come
    // before its new place, counted in one pass.
    const std::int32_t* c = chaves(t);
    int p = 0;
    int menores = 0;
    for (int k = 0; k < jogos_; ++k) {
        p += c[k] < chave_antiga ? 1 : 0;
        menores += c[k] < chave_nova ? 1 : 0;
    }
    const int q = menores - (p < menores ? 1 : 0);

    // Take the game out of the sequence at p ...
    std::int64_t distancia = valores_[static_cast<std::size_t>(t)].distancia;
    const int antes = s[p - 1];
    const int depois = s[p + 1];
    distancia += d_(antes, depois) - d_(antes, sede) - d_(sede, depois);
    // ... and put it back at q of the shortened sequence, between its entries q-1 and q.
    const int antes_novo = q - 1 < p ? s[q - 1] : s[q];
    const int depois_novo = q < p ? s[q] : s[q + 1];
    distancia += d_(antes_novo, sede) + d_(sede, depois_novo) - d_(antes_novo, depois_novo);

    const int w = sequencias_.palavras();
    Palavra* m = rascunho(rascunho_idx);
    if (w == 1) {
        Palavra x = sequencias_.mascara(t)[0];
        const Palavra abaixo_p = (Palavra{1} << p) - 1;
        x = (x & abaixo_p) | ((x >> 1) & ~abaixo_p);
        const Palavra abaixo_q = (Palavra{1} << q) - 1;
        m[0] = (x & abaixo_q) | ((x & ~abaixo_q) << 1) | (static_cast<Palavra>(sede == t) << q);
    } else {
        std::memcpy(m, sequencias_.mascara(t), sizeof(Palavra) * static_cast<std::size_t>(w));
        remove_bit(m, w, p);
        insere_bit(m, w, q, sede == t);
    }

    mudanca.tipo = Mudanca::Tipo::move_entrada;
    mudanca.time = t;
    mudanca.p = p;
    mudanca.q = q;
    mudanca.chave = chave_nova;
    mudanca.valores = sequencias_.parcela(m, distancia);
}

void VizinhancaPadrao::prepara_troca(int t, int chave_a, int chave_b, int sede_a, int sede_b, Mudanca& mudanca,
                                     int rascunho_idx)
{
    // The team plays both games: they change places, so its two entries change venues.
    const std::int32_t* s = sequencias_.sedes(t);
    const int pa = posicao(t, chave_a);
    const int pb = posicao(t, chave_b);
    auto nova = [&](int k) { return k == pa ? sede_b : k == pb ? sede_a : s[k]; };
    std::int64_t distancia = 0;
    for (int k = 0; k < jogos_; ++k) distancia += d_(k == 0 ? t : nova(k - 1), nova(k));

    Palavra* m = rascunho(rascunho_idx);
    std::memcpy(m, sequencias_.mascara(t), sizeof(Palavra) * static_cast<std::size_t>(sequencias_.palavras()));
    poe_bit(m, pa, sede_b == t);
    poe_bit(m, pb, sede_a == t);

    mudanca.tipo = Mudanca::Tipo::troca_sedes;
    mudanca.time = t;
    mudanca.p = pa;
    mudanca.q = pb;
    mudanca.valores = sequencias_.parcela(m, distancia);
}

void VizinhancaPadrao::prepara_vira(int t, int chave, int sede_nova, Mudanca& mudanca, int rascunho_idx)
{
    const std::int32_t* s = sequencias_.sedes(t);
    const int p = posicao(t, chave);
    const int sede_velha = s[p];
    std::int64_t distancia = valores_[static_cast<std::size_t>(t)].distancia;
    const int antes = s[p - 1];
    const int depois = s[p + 1];
    distancia += d_(antes, sede_nova) - d_(antes, sede_velha) + d_(sede_nova, depois) - d_(sede_velha, depois);

    Palavra* m = rascunho(rascunho_idx);
    std::memcpy(m, sequencias_.mascara(t), sizeof(Palavra) * static_cast<std::size_t>(sequencias_.palavras()));
    poe_bit(m, p, sede_nova == t);

    mudanca.tipo = Mudanca::Tipo::vira_sede;
    mudanca.time = t;
    mudanca.p = p;
    mudanca.sede = sede_nova;
    mudanca.valores = sequencias_.parcela(m, distancia);
}

KELM_SEMPRE_EM_LINHA std::int64_t VizinhancaPadrao::limite_troca_jogos(const int (&times)[4]) const
{
    // Inviabilidades 1 and 5 of the neighbour are known; the others cannot fall below what the
    // moved teams' shares allow.
    std::int64_t limite = ponderacao_.fo_sem_dispersao(totais_candidatos_);
    for (int i = 0; i < 4; ++i) {
        const int t = times[i];
        bool repetido = t == 0;
        for (int j = 0; j < i; ++j) repetido = repetido || times[j] == t;
        if (!repetido) limite -= ponderacao_.parcela(valores_[static_cast<std::size_t>(t)]);
    }
    return limite;
}

KELM_SEMPRE_EM_LINHA std::optional<double> VizinhancaPadrao::aplica_troca_jogos(const Movimento& m, double fo_atual, double temperatura)
{
    if (m.r1 == m.r2 && m.g1 == m.g2) return ponderacao_.fo(totais_);
    const Jogo a = tabela_[m.r1][m.g1];
    const Jogo b = tabela_[m.r2][m.g2];
    const int times_a[2] = {a.vazio() ? 0 : std::abs(a.time1), a.time2};
    const int times_b[2] = {b.vazio() ? 0 : std::abs(b.time1), b.time2};
    totais_candidatos_[Inviabilidade::jogos_na_rodada] +=
        peso_extras_ * troca_jogos(tabela_, controle_, m.r1, m.g1, m.r2, m.g2);
    if (m.r1 == rodada_final_) totais_candidatos_[Inviabilidade::mesmo_estado] += mesmo_estado(b) - mesmo_estado(a);
    if (m.r2 == rodada_final_) totais_candidatos_[Inviabilidade::mesmo_estado] += mesmo_estado(a) - mesmo_estado(b);

    // When even the bound worsens the objective by the temperature or more, the move is
    // rejected whatever the draw, and the moved teams need no closer look.
    if (ponderacao_.pode_antecipar()) {
        const std::int64_t limite = limite_troca_jogos({times_a[0], times_a[1], times_b[0], times_b[1]});
        if (recusa_pelo_limite(limite, fo_atual, temperatura)) return static_cast<double>(limite);
    }

    const int chave_a = m.r1 * vagas_ + m.g1;
    const int chave_b = m.r2 * vagas_ + m.g2;
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
    return std::nullopt;
}

KELM_SEMPRE_EM_LINHA std::optional<double> VizinhancaPadrao::aplica_troca_mando(const Movimento& m, double fo_atual, double temperatura)
{
    const Jogo jogo = tabela_[m.r1][m.g1];
    if (jogo.vazio()) return ponderacao_.fo(totais_);
    if (ponderacao_.pode_antecipar()) {
        // The home team loses a home game and the other gains one: Inviabilidade 4 of the
        // neighbour is known (over a season it stays, the returno giving back what the turno
        // takes), and the other counts are bounded as for a game swap.
        std::int64_t limite = ponderacao_.fo_sem_dispersao(totais_);
        const int times[2] = {jogo.mandante(), jogo.visitante()};
        for (int i = 0; i < 2; ++i) {
            const Parcela& v = valores_[static_cast<std::size_t>(times[i])];
            const int casa = returno_ != Returno::nenhum ? v.casa : v.casa + (i == 0 ? -1 : 1);
            limite -= ponderacao_.parcela(v);
            limite += ponderacao_.fator(Inviabilidade::mandos) * (std::abs(2 * casa - jogos_) - std::abs(2 * v.casa - jogos_));
        }
        if (recusa_pelo_limite(limite, fo_atual, temperatura)) {
            troca_mando(tabela_, controle_, m.r1, m.g1);
            return static_cast<double>(limite);
        }
    }
    // A home swap keeps every team's games per round: Inviabilidade 1 stays.
    troca_mando(tabela_, controle_, m.r1, m.g1);
    const int chave = m.r1 * vagas_ + m.g1;
    const int sede = tabela_[m.r1][m.g1].mandante();
    prepara_vira(std::abs(jogo.time1), chave, sede, mudancas_[0], 0);
    prepara_vira(jogo.time2, chave, sede, mudancas_[1], 1);
    num_mudancas_ = 2;
    return std::nullopt;
}

double VizinhancaPadrao::aplica(const Movimento& m, double fo_atual, double temperatura)
{
    antecipado_ = false;
    totais_candidatos_ = totais_;
    num_mudancas_ = 0;
    pendente_ = true;
    requisitos_.descarta();
    partida_.descarta();
    if (congeladas_ != nullptr && toca_congelada(m)) {
        // Written all the same, so that desfaz puts it back as it puts back every move.
        movimentos_.escreve(m);
        antecipado_ = true;
        return std::numeric_limits<double>::infinity();
    }

    // Each kind returns the objective when it is settled before the teams are looked at: a
    // swap of a slot with itself, an empty slot, a move rejected on its bound.
    const std::optional<double> decidido = m.tipo == Movimento::Tipo::troca_jogos
                                               ? aplica_troca_jogos(m, fo_atual, temperatura)
                                               : aplica_troca_mando(m, fo_atual, temperatura);
    if (decidido) return *decidido;

    for (int i = 0; i < num_mudancas_; ++i) {
        Mudanca& mud = mudancas_[static_cast<std::size_t>(i)];
        if (returno_ != Returno::nenhum) mud.valores = parcela_candidata_da_temporada(mud, i);
        totais_candidatos_.troca(valores_[static_cast<std::size_t>(mud.time)], mud.valores, jogos_contados_);
    }
    if (!requisitos_.vazio()) conta_requisitos_candidatos(requisitos_, Inviabilidade::requisitos);
    if (!partida_.vazio()) conta_requisitos_candidatos(partida_, Inviabilidade::mudancas);
    fecha_totais(totais_candidatos_);
    return ponderacao_.fo(totais_candidatos_);
}

void VizinhancaPadrao::aplica_mudanca(const Mudanca& mud, std::int32_t* c, std::int32_t* s, std::int32_t* o)
{
    switch (mud.tipo) {
    case Mudanca::Tipo::move_entrada: {
        const std::int32_t sede = s[mud.p];
        const std::int32_t oponente = o[mud.p];
        for (std::int32_t* v : {c, s, o}) {
            if (mud.p < mud.q)
                std::memmove(v + mud.p, v + mud.p + 1, sizeof(*v) * static_cast<std::size_t>(mud.q - mud.p));
            else if (mud.p > mud.q)
                std::memmove(v + mud.q + 1, v + mud.q, sizeof(*v) * static_cast<std::size_t>(mud.p - mud.q));
        }
        c[mud.q] = mud.chave;
        s[mud.q] = sede;
        o[mud.q] = oponente;
        break;
    }
    case Mudanca::Tipo::troca_sedes:
        std::swap(s[mud.p], s[mud.q]);
        std::swap(o[mud.p], o[mud.q]);
        break;
    case Mudanca::Tipo::vira_sede: s[mud.p] = mud.sede; break;
    }
}

void VizinhancaPadrao::mantem(const Mudanca& mud, int rascunho_idx)
{
    const int t = mud.time;
    std::int32_t* c = chaves(t);
    std::int32_t* s = sequencias_.sedes(t);
    std::int32_t* o = oponentes(t);
    aplica_mudanca(mud, c, s, o);
    std::memcpy(sequencias_.mascara(t), rascunho(rascunho_idx),
                sizeof(Palavra) * static_cast<std::size_t>(sequencias_.palavras()));
    valores_[static_cast<std::size_t>(t)] = mud.valores;
    // One team at a time, so that only the one being placed is out of order.
    reordena(t);
}

void VizinhancaPadrao::confirma()
{
    if (antecipado_) throw std::logic_error("um movimento recusado de antemão não pode ser mantido");
    if (!pendente_) return;
    for (int i = 0; i < num_mudancas_; ++i) mantem(mudancas_[static_cast<std::size_t>(i)], i);
    requisitos_.confirma();
    partida_.confirma();
    totais_ = totais_candidatos_;
    num_mudancas_ = 0;
    pendente_ = false;
}

void VizinhancaPadrao::desfaz(const Movimento& m)
{
    movimentos_.apaga(m);
    num_mudancas_ = 0;
    pendente_ = false;
    antecipado_ = false;
}

}  // namespace kelm
