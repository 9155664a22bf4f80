#include "search/edicao.hpp"

#include <cmath>
#include <limits>
#include <stdexcept>

#include "evaluation/avaliacao.hpp"
#include "model/temporada.hpp"
#include "neighbourhoods/compacta/rodizio_compacto.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"
#include "neighbourhoods/compacta/vizinhanca_compacta.hpp"

namespace kelm {

struct EdicaoTabela::Dados {
    Dados(const Campeonato& c, const Criterios& k, Returno r, const Requisitos* q, Tabela& t)
        : campeonato(c), criterios(k), returno(r), turno(t), controle(aloca_matriz_controle(c.num_rodadas, c.num_times + 1))
    {
        monta_matriz_controle(controle, turno);
        vizinhanca = std::make_unique<VizinhancaCompacta>(campeonato, criterios, turno, controle, returno, q);
    }

    // The move of the compact search that makes the change.
    MovimentoCompacto movimento(const MudancaManual& m) const
    {
        const int r = campeonato.num_rodadas;
        const auto turno_de = [&](int s) { return rodada_do_turno(s, r, returno); };
        switch (m.tipo) {
        case MudancaManual::Tipo::troca_rodadas: return {MovimentoCompacto::Tipo::troca_rodadas, turno_de(m.a), turno_de(m.b), 0};
        case MudancaManual::Tipo::inverte_mando: return {MovimentoCompacto::Tipo::troca_mando, turno_de(m.a), m.b, 0};
        case MudancaManual::Tipo::troca_times: return {MovimentoCompacto::Tipo::troca_times, m.a, m.b, 0};
        case MudancaManual::Tipo::move_jogo:
            return {MovimentoCompacto::Tipo::troca_parcial_rodadas, turno_de(m.a), turno_de(m.b), m.c};
        }
        return {};
    }

    const Campeonato& campeonato;
    Criterios criterios;
    Returno returno;
    Tabela& turno;
    Matriz<Controle> controle;
    std::unique_ptr<VizinhancaCompacta> vizinhanca;
};

Desfecho EdicaoTabela::pode_editar(const Campeonato& campeonato, const Tabela& turno)
{
    if (Desfecho d = aceita_busca_compacta(campeonato); !d.sucesso)
        return Desfecho::erro("A tabela não pode ser mudada à mão: só uma tabela de rodadas completas, em que todo time "
                              "joga em toda rodada, pode.",
                              d.texto);
    // A season kept whole because its returno follows no scheme has 2R rounds: the moves work
    // on a turno, which the returno follows.
    if (turno.linhas() != campeonato.num_rodadas || turno.colunas() != campeonato.jogos_por_rodada())
        return Desfecho::erro("A tabela não pode ser mudada à mão: só um turno, ou uma temporada cujo returno repete o "
                              "turno (espelhado ou francês), pode.");
    try {
        Tabela copia = turno;
        Matriz<Controle> controle = aloca_matriz_controle(campeonato.num_rodadas, campeonato.num_times + 1);
        monta_matriz_controle(controle, copia);
        RodizioCompacto teste(campeonato, copia, controle);
    } catch (const std::logic_error&) {
        return Desfecho::erro("A tabela não pode ser mudada à mão: só uma tabela de rodadas completas, em que todo time "
                              "joga uma vez em toda rodada, pode.");
    }
    return Desfecho::ok();
}

EdicaoTabela::EdicaoTabela(const Campeonato& campeonato, const Criterios& criterios, Returno returno,
                           const Requisitos* requisitos, Tabela& turno)
    : d_(std::make_unique<Dados>(campeonato, criterios, returno, requisitos, turno))
{
}

EdicaoTabela::~EdicaoTabela() = default;

bool EdicaoTabela::valida(const MudancaManual& m) const
{
    const Campeonato& c = d_->campeonato;
    const int rodadas = rodadas_da_execucao(c.num_rodadas, d_->returno);
    const auto rodada = [&](int s) { return s >= 0 && s < rodadas; };
    const auto time = [&](int t) { return t >= 1 && t <= c.num_times; };
    const auto turno_de = [&](int s) { return rodada_do_turno(s, c.num_rodadas, d_->returno); };
    switch (m.tipo) {
    case MudancaManual::Tipo::troca_rodadas: return rodada(m.a) && rodada(m.b) && turno_de(m.a) != turno_de(m.b);
    case MudancaManual::Tipo::inverte_mando:
        return rodada(m.a) && m.b >= 0 && m.b < c.jogos_por_rodada() && !d_->turno[turno_de(m.a)][m.b].vazio();
    case MudancaManual::Tipo::troca_times: return time(m.a) && time(m.b) && m.a != m.b;
    case MudancaManual::Tipo::move_jogo: {
        if (!rodada(m.a) || !rodada(m.b) || !time(m.c) || turno_de(m.a) == turno_de(m.b)) return false;
        const Tabela& t = d_->turno;
        for (int g = 0; g < t.colunas(); ++g)
            if (const Jogo j = t[turno_de(m.a)][g]; !j.vazio() && (j.mandante() == m.c || j.visitante() == m.c)) return true;
        return false;
    }
    }
    return false;
}

Tabela EdicaoTabela::depois(const MudancaManual& m) const
{
    Tabela copia = d_->turno;
    Matriz<Controle> controle = d_->controle;
    RodizioCompacto rodizio(d_->campeonato, copia, controle);
    rodizio.escreve(d_->movimento(m));
    return tabela_da_temporada(copia, d_->returno);
}

std::vector<PosicaoJogo> EdicaoTabela::previa(const MudancaManual& m) const
{
    const Tabela antes = tabela_da_temporada(d_->turno, d_->returno);
    const Tabela novo = depois(m);
    std::vector<PosicaoJogo> posicoes;
    for (int s = 0; s < antes.linhas(); ++s)
        for (int g = 0; g < antes.colunas(); ++g)
            if (!(antes[s][g] == novo[s][g])) posicoes.push_back({s, g});
    return posicoes;
}

EfeitoMudanca EdicaoTabela::aplica(const MudancaManual& m)
{
    EfeitoMudanca efeito;
    efeito.antes = contagens();
    efeito.fo_antes = fo();
    const Tabela antes = tabela_da_temporada(d_->turno, d_->returno);
    // At an infinite temperature no bound cuts the move short: it is worked out whole.
    d_->vizinhanca->aplica(d_->movimento(m), efeito.fo_antes, std::numeric_limits<double>::infinity());
    d_->vizinhanca->confirma();
    efeito.depois = contagens();
    efeito.fo_depois = fo();
    const Tabela novo = tabela_da_temporada(d_->turno, d_->returno);
    for (int s = 0; s < antes.linhas(); ++s)
        for (int g = 0; g < antes.colunas(); ++g) {
            const Jogo a = antes[s][g];
            const Jogo b = novo[s][g];
            if (a == b) continue;
            if (std::abs(a.time1) == std::abs(b.time1) && a.time2 == b.time2)
                ++efeito.mandos_invertidos;
            else
                ++efeito.jogos_mudaram_de_rodada;
        }
    return efeito;
}

Contagens EdicaoTabela::contagens() const { return d_->vizinhanca->contagens(); }

double EdicaoTabela::fo() const { return d_->vizinhanca->avalia(); }

namespace {

// A whole number grouped by thousands with spaces, signed: "+5 000", "−120 340" (a minus
// sign, not a hyphen).
std::string com_sinal(long long valor)
{
    std::string digitos = std::to_string(valor < 0 ? -valor : valor);
    for (int k = static_cast<int>(digitos.size()) - 3; k > 0; k -= 3) digitos.insert(static_cast<std::size_t>(k), " ");
    return (valor < 0 ? "\u2212" : "+") + digitos;
}

std::string inteiro(double valor) { return std::to_string(std::llround(valor)); }

}  // namespace

std::string descreve_efeito(const EfeitoMudanca& efeito, int num_contagens_vistas)
{
    const double delta = efeito.fo_depois - efeito.fo_antes;
    std::string texto = delta == 0.0 ? "FO sem mudança" : "FO " + com_sinal(std::llround(delta));
    for (int i = 0; i < num_contagens_vistas; ++i) {
        const auto k = static_cast<std::size_t>(i);
        if (efeito.antes[k] == efeito.depois[k]) continue;
        texto += "; Inviabilidade " + std::to_string(i + 1) + ": " + inteiro(efeito.antes[k]) + " \u2192 " +
                 inteiro(efeito.depois[k]);
    }
    if (efeito.jogos_mudaram_de_rodada > 0)
        texto += "; " + std::to_string(efeito.jogos_mudaram_de_rodada) +
                 (efeito.jogos_mudaram_de_rodada == 1 ? " jogo mudou de rodada" : " jogos mudaram de rodada");
    if (efeito.mandos_invertidos > 0)
        texto += "; " + std::to_string(efeito.mandos_invertidos) +
                 (efeito.mandos_invertidos == 1 ? " mando invertido" : " mandos invertidos");
    return texto;
}

}  // namespace kelm
