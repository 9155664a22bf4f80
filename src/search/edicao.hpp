#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "model/requisitos.hpp"

namespace kelm {

// A change the planner makes by hand to a schedule, in the planner's terms. Rounds are those of
// the whole schedule shown (from 0; a returno round stands for the turno round its scheme ties
// it to, and the change is made there, the returno following); slots from 0; teams from 1.
struct MudancaManual {
    enum class Tipo {
        troca_rodadas,  // rounds a and b change places
        inverte_mando,  // the game in round a, slot b: the other team plays at home
        troca_times,    // teams a and b take each other's games
        move_jogo,      // team c's game in round a goes to round b, with the games that must follow
    };
    Tipo tipo = Tipo::inverte_mando;
    int a = 0;
    int b = 0;
    int c = 0;

    friend bool operator==(const MudancaManual&, const MudancaManual&) = default;
};

// What a change did: the counts and FO before and after it, and how many games changed round
// (a game whose venue is inverted stays in its round).
struct EfeitoMudanca {
    Contagens antes;
    Contagens depois;
    double fo_antes = 0.0;
    double fo_depois = 0.0;
    int jogos_mudaram_de_rodada = 0;
    int mandos_invertidos = 0;
};

// The planner's hand on a schedule: a compact round robin (every team plays once a round, or
// rests once with an odd number of teams), a turno or a season that follows a scheme, changed
// by the compact search's moves (which keep every round complete and every pair meeting as the
// season demands) and re-scored after each change by the compact neighbourhood's incremental
// scorer, not by a full count. Every change undoes itself: making it again puts the schedule
// and its counts back exactly.
class EdicaoTabela {
public:
    // Whether `turno` (R rounds) can be changed by hand; the message says why not.
    static Desfecho pode_editar(const Campeonato& campeonato, const Tabela& turno);

    // Changes `turno` in place, scored under `criterios` (fixed for the editor's life) with the
    // season of `returno` and the requirements in force. pode_editar must have said yes.
    EdicaoTabela(const Campeonato& campeonato, const Criterios& criterios, Returno returno,
                 const Requisitos* requisitos, Tabela& turno);
    ~EdicaoTabela();
    EdicaoTabela(const EdicaoTabela&) = delete;
    EdicaoTabela& operator=(const EdicaoTabela&) = delete;

    // Whether the change can be made: rounds and teams within the schedule, a game in the slot,
    // two different rounds or teams, team c playing in round a.
    bool valida(const MudancaManual& mudanca) const;
    // The games the change would move or change, as positions of the whole schedule shown
    // (round and slot, from 0) before it is made; the schedule stays as it is.
    std::vector<PosicaoJogo> previa(const MudancaManual& mudanca) const;
    // The whole schedule as it would be after the change; the schedule stays as it is.
    Tabela depois(const MudancaManual& mudanca) const;
    // Makes the change; what it did.
    EfeitoMudanca aplica(const MudancaManual& mudanca);

    Contagens contagens() const;
    double fo() const;

private:
    struct Dados;
    std::unique_ptr<Dados> d_;
};

// What the progress panel says of a change: "FO −120 340; Inviabilidade 6: 3 → 4; 2 jogos
// mudaram de rodada" (every count that changed, in order; FO in whole numbers grouped by
// thousands).
std::string descreve_efeito(const EfeitoMudanca& efeito, int num_contagens_vistas);

}  // namespace kelm
