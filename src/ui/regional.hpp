#pragma once

#include <QLocale>
#include <QString>

namespace kelm {

// The decimal separator of the given regional settings, as the core's formats and readers
// take it; '.' when the settings use a character outside ASCII.
char separador_decimal(const QLocale& local = QLocale());

// The text of a time of day (a fraction of a day) in the long time format of the given
// regional settings, without the time zone (the clock times of the progress panel).
QString texto_hora(double fracao_do_dia, const QLocale& local = QLocale());

// A duration (a fraction of a day) as HH:MM:SS, as the result file writes it.
QString duracao(double fracao_do_dia);

// A number in the general format with the decimal separator of the regional settings.
QString numero(double valor, const QLocale& local = QLocale());

}  // namespace kelm
