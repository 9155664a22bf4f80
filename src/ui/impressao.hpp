#pragma once

#include <QDate>
#include <QString>

#include "report/explicacao.hpp"
#include "report/ficha.hpp"

class QPagedPaintDevice;
class QWidget;

namespace kelm {

// Paints a schedule for print on `destino`, page after page, each page headed by the
// championship's name, `data` and the page's number among all: the fixture list round by
// round (a round is never split across pages, unless it alone is longer than a page), the
// home/away board of the teams, and the counts with FO and what produced them. Works on the
// page size and margins `destino` already has. With a calendar that dates the schedule's
// rounds, each round's heading gives its date. Returns the number of pages.
int imprime_tabela(QPagedPaintDevice& destino, const Campeonato& campeonato, const Tabela& tabela,
                   const Explicacao& explicacao, const Ficha& ficha, const QDate& data,
                   const Calendario* calendario = nullptr);

// Shows the print preview of a schedule on A4 paper, from which the planner prints it or,
// choosing to print to a file, writes it as a PDF; the PDF file written, or an empty text.
QString mostra_impressao(QWidget* pai, const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao,
                      const Ficha& ficha, const Calendario* calendario = nullptr);

}  // namespace kelm
