#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "files/destinos.hpp"
#include "model/estado.hpp"
#include "search/busca.hpp"

namespace kelm {

// What kelm-lote was asked to do.
struct Opcoes {
    std::string arquivo_dados;
    std::optional<std::string> saida;
    std::optional<std::string> relatorio;
    std::optional<std::string> avaliar;  // the result file to score instead of a run
    std::optional<std::string> requisitos;  // the planner's requirements file
    std::optional<std::string> partir_de;   // a re-plan: the schedule the run starts from
    std::optional<std::string> congelar;    // its rounds no move may change, as typed
    std::optional<std::string> calendario;  // the rounds' dates
    std::optional<std::string> ical;        // the folder of the calendars exported
    std::string opcao_da_busca;          // the first option given that only a run uses
    std::array<bool, num_contagens> objetivos{true, true, true, true, true, true, true, true, true, true, true};
    std::array<std::int32_t, num_contagens> pesos = pesos_default;
    OpcoesBusca busca;
    bool objetivos_na_execucao = false;
    bool silencioso = false;
    bool ajuda = false;
    bool versao = false;
    // The files the options name, in the order given (the last of an option repeated): the
    // files read, then the files written.
    std::vector<ArquivoDoComando> lidos;
    std::vector<ArquivoDoComando> gravados;
};

// Reads the arguments into `op`; the error text when they are wrong.
std::optional<std::string> le_opcoes(const std::vector<std::string>& argumentos, Opcoes& op);

// The text of `kelm-lote --ajuda`.
std::string texto_ajuda();

}  // namespace kelm
