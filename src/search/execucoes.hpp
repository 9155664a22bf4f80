#pragma once

#include <cstdint>

#include "model/estado.hpp"
#include "search/observador.hpp"
#include "search/parametros.hpp"
#include "search/observador.hpp"

namespace kelm {

// Which of two finished runs is kept: one that reached its second phase before one that ended
// in its first, at its reheat bound or stopped by the planner (whose FO counts only the first
// phase's objectives), then the lower FO, then the lower seed (the earlier run). Whatever order
// the runs end in, the same one is kept.
struct ChaveExecucao {
    bool interrompida = true;  // ended in its first phase
    double fo = 0.0;
    int indice = 0;  // the run's place: its seed is the first seed plus it

    friend bool operator<(const ChaveExecucao& a, const ChaveExecucao& b)
    {
        if (a.interrompida != b.interrompida) return !a.interrompida;
        if (a.fo != b.fo) return a.fo < b.fo;
        return a.indice < b.indice;
    }
};

// The threads several runs share: one per core this process may use, and never more than
// the runs.
int threads_para(int execucoes);

// Runs opcoes.execucoes independent runs of the chosen search, each on its own copy of the
// state and seeded with its own seed (opcoes.semente, then the next ones), on up to as many
// threads, and keeps the best run (see ChaveExecucao) in `estado` with the time the whole
// command took. The observer is called only on the calling thread, which waits for the runs:
// about ten times a second with a progress refresh that shows the lowest FO any run holds
// (its counts, FO and reheats), how far the runs went together (each one's first phase is
// its first half) and how many have ended; at the end with the result, a beep, the end of
// the phase and the closing message. A run that fails leaves `estado` as it was, and the
// failure of the earliest such run is the command's. A stop the planner asks for reaches every
// run; those not yet started end at once with the schedule they start from.
ResumoBusca executa_execucoes(Estado& estado, Observador& observador, const OpcoesBusca& opcoes,
                              bool objetivos_na_execucao);

}  // namespace kelm
