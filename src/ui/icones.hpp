#pragma once

#include <QIcon>
#include <QString>

namespace kelm {

// The picture of a command: the icon of that name in the system's icon theme when the theme
// has one, else the program's own picture of the same role (":/icones/<proprio>.png").
QIcon icone(const char* nome_no_tema, const char* proprio);

// The program's own picture alone.
QIcon icone_proprio(const char* proprio);

}  // namespace kelm
