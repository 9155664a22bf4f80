#include "files/formatos.hpp"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace kelm {

std::string formata_numero(double valor, char separador)
{
    if (std::isnan(valor)) return "NAN";
    if (std::isinf(valor)) return valor > 0 ? "INF" : "-INF";
    if (valor == 0.0) return "0";

    // Round to 15 significant digits first; the exponent of the rounded value decides
    // between the fixed and the scientific form.
    char buf[64];
    const auto fim = std::to_chars(buf, buf + sizeof buf, valor, std::chars_format::scientific, 14).ptr;
    const std::string_view texto(buf, static_cast<std::size_t>(fim - buf));
    const bool negativo = texto.front() == '-';
    const std::size_t pos_e = texto.find('e');
    std::string digitos;
    for (const char c : texto.substr(0, pos_e))
        if (c >= '0' && c <= '9') digitos.push_back(c);
    const int expoente = std::atoi(std::string(texto.substr(pos_e + 1)).c_str());
    while (digitos.size() > 1 && digitos.back() == '0') digitos.pop_back();

    std::string saida = negativo ? "-" : "";
    if (expoente >= 15 || expoente < -5) {
        saida += digitos[0];
        if (digitos.size() > 1) {
            saida += separador;
            saida += digitos.substr(1);
        }
        saida += 'E';
        saida += std::to_string(expoente);
        return saida;
    }
    if (expoente >= 0) {
        const auto inteiros = static_cast<std::size_t>(expoente) + 1;
        if (digitos.size() <= inteiros) {
            saida += digitos + std::string(inteiros - digitos.size(), '0');
        } else {
            saida += digitos.substr(0, inteiros);
            saida += separador;
            saida += digitos.substr(inteiros);
        }
        return saida;
    }
    saida += '0';
    saida += separador;
    saida += std::string(static_cast<std::size_t>(-expoente - 1), '0');
    saida += digitos;
    return saida;
}

int segundos_do_dia(double fracao_do_dia)
{
    const double parte = std::fabs(fracao_do_dia - std::trunc(fracao_do_dia));
    long long ms = std::llround(parte * 86400000.0);
    if (ms >= 86400000LL) ms -= 86400000LL;
    return static_cast<int>(ms / 1000);
}

std::string formata_hora(double fracao_do_dia)
{
    const int segundos = segundos_do_dia(fracao_do_dia);
    const int partes[3] = {segundos / 3600, (segundos / 60) % 60, segundos % 60};
    std::string saida;
    for (const int p : partes) {
        if (!saida.empty()) saida += ':';
        saida += static_cast<char>('0' + p / 10);
        saida += static_cast<char>('0' + p % 10);
    }
    return saida;
}

}  // namespace kelm
