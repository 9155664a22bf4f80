#pragma once

#include <string>

#include "model/estado.hpp"

namespace kelm {

// What a progress refresh shows, handed out by value once per temperature level.
struct Andamento {
    int fase = 1;                 // 1 or 2
    double percentual = 0.0;      // how far the temperature fell below T0, in percent
    double temperatura = 0.0;     // the level's temperature
    const char* algoritmo = "SA";
    double hora_inicio = 0.0;     // time of day the run started (fraction of a day)
    double hora_atual = 0.0;      // time of day of this refresh
    double tempo_execucao = 0.0;  // elapsed time of the run (fraction of a day)
    Contagens inviabilidades_melhor;
    double fo_star = 0.0;
    int num_reaquecimentos = 0;
    long long movimentos = 0;     // trial moves evaluated so far in the run
    // Of several independent runs: how many, and how many have ended. The other values are
    // then those of the runs together (see executa_execucoes).
    int execucoes = 1;
    int execucoes_concluidas = 0;
};

// The search reports through this interface and never depends on a window. Every event is
// raised on the thread that runs the search, inside it; a handler must return fast and
// must not touch the state object. The default handlers do nothing.
class Observador {
public:
    virtual ~Observador() = default;

    // The grid view is to be hidden: a run was prepared and starts now.
    virtual void execucao_iniciada() {}
    // The initial-temperature estimate starts ("Calculando T0..." shown).
    virtual void calculo_t0_iniciado() {}
    // A round of the estimate fell short: the candidate temperature was raised to `t`.
    virtual void temperatura_candidata(double t) { (void)t; }
    // The estimate is done ("Calculando T0..." hidden).
    virtual void calculo_t0_concluido() {}
    // An annealing phase starts; `hora_inicio` is the run's start time of day.
    virtual void fase_iniciada(int fase, double hora_inicio) { (void)fase; (void)hora_inicio; }
    // Once per temperature level, before its trial moves: show the progress panel with these values.
    virtual void andamento(const Andamento& a) { (void)a; }
    // The first phase reheated; `n` reheats so far in this phase.
    virtual void reaquecimento(int n) { (void)n; }
    virtual void bipe() {}
    // A phase ended and its result may be shown (the result command becomes available).
    virtual void resultado_disponivel() {}
    // A phase ended: hide the progress panel.
    virtual void fase_concluida(int fase) { (void)fase; }
    // A message for the planner, in the plain box.
    virtual void mensagem(const std::string& texto) { (void)texto; }
};

}  // namespace kelm
