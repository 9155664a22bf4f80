#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "model/calendario.hpp"
#include "model/desfecho.hpp"
#include "model/estado.hpp"

namespace kelm {

// The season as calendars that clubs and fans subscribe to (iCalendar, RFC 5545): one file for
// the whole championship and one per team, each game an event "Mandante x Visitante" on its
// round's date, all day, or at the round's time in America/Sao_Paulo. An event's UID is made
// of the championship's and the two teams' names, home team first, so that it is the same
// game in every export of the championship (a pair meets once at each home in a season).
//
// Exported again into the same folder, the championship's earlier file is read back: an event
// whose date changed gets the next SEQUENCE, so that a calendar that holds it moves it instead
// of adding another; an event kept as it was keeps its SEQUENCE; a game of the earlier export
// that is no longer played (its venues swapped in a turno, say) comes back cancelled. DTSTAMP
// is midnight UTC of the first round's date, so that the same schedule is always written with
// the same bytes. Every file is written as grava_arquivo writes, never half written.

// A name as it goes into file names and UIDs, safe on any file system: lower-case ASCII
// letters, digits, '_' and '-' (accented letters without their accents, anything else a
// hyphen), at most 60 characters; never empty, never a name Windows keeps for a device.
std::string nome_seguro(std::string_view nome);

// What an export writes, planned before the run: the folder, the championship's name in the
// UIDs, the files' names (the championship's, then team 1 to N's, unique among themselves in
// any case), and the events of the earlier export found there, by UID.
struct ExportacaoIcal {
    struct EventoAnterior {
        std::string dtstart;  // the DTSTART property as written
        std::string resumo;   // its SUMMARY
        int sequencia = 0;
        bool cancelado = false;
    };

    std::filesystem::path pasta;
    std::string campeonato;
    std::string nome_campeonato;
    std::string arquivo_campeonato;
    std::vector<std::string> arquivos_times;  // index 1 to N; 0 unused
    std::map<std::string, EventoAnterior> anteriores;
};

// Whether a calendar export can go to `pasta`, before any work: an existing folder that may be
// written, whose championship file `campeonato` (from nome_seguro) may be replaced, or a folder
// still to be made under one that may be written.
Desfecho confere_pasta_ical(const std::filesystem::path& pasta, const std::string& nome_campeonato);

// Plans the export of the championship named `nome_campeonato` (its data file's name) into
// `pasta`, reading back the earlier export of the championship there; refused, naming the
// file, when that file is not an iCalendar file.
Desfecho prepara_ical(const std::filesystem::path& pasta, const std::string& nome_campeonato,
                      const Campeonato& campeonato, ExportacaoIcal& exportacao);

// The paths of the files the export writes.
std::vector<std::filesystem::path> arquivos_da_exportacao(const ExportacaoIcal& exportacao);

// The text of each file of the export (by file name) of `tabela`, the schedule of every round
// of `calendario` (the turno, or the whole season).
std::map<std::string, std::string> textos_ical(const ExportacaoIcal& exportacao, const Campeonato& campeonato,
                                               const Tabela& tabela, const Calendario& calendario);

// Writes the export: the folder made when it is missing, the teams' files, then the
// championship's (the one the next export reads back).
Desfecho grava_ical(const ExportacaoIcal& exportacao, const Campeonato& campeonato, const Tabela& tabela,
                    const Calendario& calendario);

}  // namespace kelm
