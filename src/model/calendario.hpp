#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kelm {

// A day of the civil (proleptic Gregorian) calendar.
struct Data {
    int ano = 1970;
    int mes = 1;   // 1 to 12
    int dia = 1;   // 1 to the month's last day

    friend bool operator==(const Data&, const Data&) = default;
    friend auto operator<=>(const Data&, const Data&) = default;
};

// A time of day, to the minute.
struct Hora {
    int hora = 0;    // 0 to 23
    int minuto = 0;  // 0 to 59

    friend bool operator==(const Hora&, const Hora&) = default;
};

// Whether `ano` has a 29 February.
bool bissexto(int ano);

// The days of month `mes` (1 to 12) of `ano`.
int dias_do_mes(int ano, int mes);

// Whether the three numbers are a day of the calendar.
bool data_existe(int ano, int mes, int dia);

// The days from 1 January 1970 to `data` (negative before it).
long long dias_desde_1970(const Data& data);

// The day of the week of `data`: 0 Sunday, 1 Monday, ..., 6 Saturday.
int dia_da_semana(const Data& data);

// Whether `data` is a Saturday or a Sunday.
bool fim_de_semana(const Data& data);

// "18/05/2024".
std::string texto_data(const Data& data);

// "16:00".
std::string texto_hora(const Hora& hora);

// The date (and, when the federation fixed it, the time) of one round.
struct DiaDaRodada {
    Data data;
    std::optional<Hora> hora;

    friend bool operator==(const DiaDaRodada&, const DiaDaRodada&) = default;
};

// The rounds of a run on the calendar: for every round (from 0) its date, the dates strictly
// increasing, one date a round. Dates are for people; the search works on rounds. A calendar
// without rounds is none: nothing is dated.
struct Calendario {
    std::string arquivo;              // the file it came from
    std::vector<DiaDaRodada> rodadas;

    bool em_vigor() const { return !rodadas.empty(); }
    int num_rodadas() const { return static_cast<int>(rodadas.size()); }
    const DiaDaRodada& dia(int rodada) const { return rodadas[static_cast<std::size_t>(rodada)]; }

    friend bool operator==(const Calendario&, const Calendario&) = default;
};

// The rounds (from 0, increasing) whose date lies from `de` to `ate`, both included.
std::vector<int> rodadas_entre(const Calendario& calendario, const Data& de, const Data& ate);

// "18/05/2024 (rodada 6)" for round 5 (from 0) of a calendar in force; "rodada 6" without one.
std::string rodada_datada(const Calendario* calendario, int rodada);

}  // namespace kelm
