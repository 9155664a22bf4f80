#include <atomic>
#include <clocale>
#include <csignal>
#include <iostream>
#include <unistd.h>

#include "files/rascunhos.hpp"
#include "lote/lote.hpp"

namespace {

// Set by the first SIGINT or SIGTERM: the run stops at its next temperature level.
std::atomic<bool> parar{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler sets it");

// The first signal asks the run to stop; a second ends the program at once, as the signal
// does by default, after removing the files a save was making.
extern "C" void ao_sinal(int sinal)
{
    if (!parar.exchange(true)) return;
    kelm::apaga_rascunhos();
    struct sigaction padrao{};
    padrao.sa_handler = SIG_DFL;
    sigemptyset(&padrao.sa_mask);
    sigaction(sinal, &padrao, nullptr);
    raise(sinal);
}

// Installs ao_sinal for SIGTERM, and for SIGINT unless the program was started with it
// ignored (in the background of a shell, or under nohup), which stays so.
void trata_sinais()
{
    struct sigaction acao{};
    acao.sa_handler = ao_sinal;
    sigemptyset(&acao.sa_mask);
    acao.sa_flags = SA_RESTART;
    struct sigaction antes{};
    if (sigaction(SIGINT, nullptr, &antes) == 0 && antes.sa_handler != SIG_IGN) sigaction(SIGINT, &acao, nullptr);
    sigaction(SIGTERM, &acao, nullptr);
}

}  // namespace

int main(int argc, char** argv)
{
    std::setlocale(LC_ALL, "");
    const char* ponto = std::localeconv()->decimal_point;
    const char separador = ponto != nullptr && *ponto != '\0' ? *ponto : '.';
    // The core formats and parses numbers by itself; the C library goes back to the C
    // locale so that nothing else depends on the user's settings.
    std::setlocale(LC_NUMERIC, "C");
    trata_sinais();
    kelm::AmbienteLote ambiente{std::cout, std::cerr, ::isatty(STDERR_FILENO) != 0, separador, &parar};
    std::ios::sync_with_stdio(false);
    return kelm::executa_lote(std::vector<std::string>(argv + 1, argv + argc), ambiente);
}
