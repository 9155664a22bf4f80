#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "model/estado.hpp"

namespace kelm {

// One count of a result as it is shared: its name, what it counts, its value, its weight, and
// whether it was an objective when the run ended (whether FO counts it).
struct ItemContagem {
    std::string nome;        // "Inviabilidade 1"
    std::string descricao;
    double valor = 0.0;
    std::int32_t peso = 0;
    bool objetivo = false;
};

// One line of what produced a result: a label and its value, a number when it is one.
struct ItemProcedencia {
    std::string rotulo;
    std::string texto;
    std::optional<double> numero;
};

// What a shared schedule says besides its games: the championship, the counts in the order
// they are listed, FO, and what produced them.
struct Ficha {
    std::string campeonato;  // as the planner knows it: its data file's name without folder and extension
    std::vector<ItemContagem> contagens;
    double fo = 0.0;
    std::vector<ItemProcedencia> procedencia;
    int inicio_returno = 0;  // first round of the returno, from 0; 0 for a single turno
};

// The record of a result: `contagens` and `fo` as the result file states them, with the
// weights, search and seed of `procedencia` (and whether the planner stopped its run), the
// objectives chosen and those in force when the run ended (which FO counts, and which the
// counts are marked by); the tenth count and the requirements file only when the result was
// drawn up under requirements, the calendar file only when its rounds were dated.
Ficha monta_ficha(std::string campeonato, const Contagens& contagens, double fo, const Procedencia& procedencia,
                  int inicio_returno = 0);

// A championship's name from the path of its data file: the file name without its folder
// and its last extension.
std::string nome_do_campeonato(const std::string& arquivo_dados);

// Of a result that is the best of several runs, which ones: "a melhor de 4 execuções,
// sementes 333 a 336" (UTF-8).
std::string descreve_execucoes(const Procedencia& procedencia);

// Rounds (from 1, increasing) as the planner writes them: "1-10, 12 e 20-29"; "nenhuma".
std::string intervalos_de_rodadas(const std::vector<int>& rodadas);

}  // namespace kelm
