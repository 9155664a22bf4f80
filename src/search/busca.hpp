#pragma once

#include "model/estado.hpp"
#include "search/observador.hpp"
#include "search/parametros.hpp"

namespace kelm {

// Whether the run command may search: the data loaded, a season and a search that can
// schedule them, the requirements in force able to hold in the run's rounds; the refusal
// otherwise.
Desfecho confere_busca(const Estado& estado, const OpcoesBusca& opcoes);

// The run command: refuses data the chosen search cannot schedule and requirements that cannot
// hold in its rounds, seeds the generator, asks for the objectives when none are confirmed (a
// cancelled choice ends the command with the earlier result untouched), then makes the run
// (corre_execucao), or the several runs asked for, at once (executa_execucoes), the objectives
// asked for once.
ResumoBusca executa_busca(Estado& estado, Observador& observador, const OpcoesBusca& opcoes = {});

}  // namespace kelm
