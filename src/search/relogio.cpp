#include "search/relogio.hpp"

#include <chrono>
#include <ctime>

namespace kelm {

double RelogioSistema::hora_do_dia() const
{
    const auto agora = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(agora);
    std::tm local{};
    localtime_r(&t, &local);
    const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(agora.time_since_epoch()).count() % 1000;
    const double segundos = local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + static_cast<double>(ms) / 1000.0;
    return segundos / 86400.0;
}

double RelogioSistema::segundos() const
{
    const auto d = std::chrono::steady_clock::now().time_since_epoch();
    return std::chrono::duration<double>(d).count();
}

}  // namespace kelm
