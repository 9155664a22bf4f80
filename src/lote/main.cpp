#include <clocale>
#include <iostream>
#include <unistd.h>

#include "lote/lote.hpp"

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const char* ponto = std::localeconv()->decimal_point;
    const char separador = ponto != nullptr && *ponto != '\0' ? *ponto : '.';
    // The core formats and parses numbers by itself; the C library goes back to the C
    // locale so that nothing else depends on the user's settings.
    std::setlocale(LC_NUMERIC, "C");
    kelm::AmbienteLote ambiente{std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0, separador};
    std::ios::sync_with_stdio(false);
    return kelm::executa_lote(std::vector<std::string>(argv + 1, argv + argc), ambiente);
}
