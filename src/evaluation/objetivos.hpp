#pragma once

#include <array>
#include <optional>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/desfecho.hpp"
#include "model/estado.hpp"
#include "model/numeros.hpp"

namespace kelm {

inline constexpr const char* msg_escolha_objetivos = "Você deve escolher os objetivos a cumprir antes de executar!";

// Turns the nine check states (Inviabilidade 1 to 9), and the requirements' and a re-plan's
// changes' when they are given, into the objective flags. With no box checked the choice is not
// confirmed and the outcome carries the message asking for one.
Desfecho define_objetivos(Criterios& criterios, const std::array<bool, num_inviabilidades>& marcados,
                          std::optional<bool> requisitos = std::nullopt, std::optional<bool> mudancas = std::nullopt);

// The same from the eleven check states, the requirements' the tenth, the changes' the eleventh.
Desfecho define_objetivos_com_requisitos(Criterios& criterios, const std::array<bool, num_contagens>& marcados);

// Stores the nine weight texts into `pesos`, in order, each as soon as it is read: on the
// first bad text the weights before it are already stored, that one and those after it keep
// their values, and `campo_com_erro` (when given) receives its index (0 to 8).
// The requirements' weight text, when given, is the tenth; a re-plan's changes', the eleventh.
Desfecho aplica_pesos(Criterios& criterios, const std::array<std::string, num_inviabilidades>& textos, char separador,
                      int* campo_com_erro = nullptr, const std::string* texto_requisitos = nullptr,
                      const std::string* texto_mudancas = nullptr);

// Switches on the objectives 2 to 9 (and the requirements'), as the run command does after its
// first phase.
void liga_objetivos_segunda_fase(Criterios& criterios);

}  // namespace kelm
