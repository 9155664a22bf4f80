#include "model/numeros.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kelm {

std::string_view sem_brancos(std::string_view texto)
{
    while (!texto.empty() && eh_branco(texto.front())) texto.remove_prefix(1);
    while (!texto.empty() && eh_branco(texto.back())) texto.remove_suffix(1);
    return texto;
}

std::optional<std::uint64_t> le_inteiro(std::string_view texto, std::uint64_t maximo)
{
    texto = sem_brancos(texto);
    if (texto.size() > 1 && texto.front() == '+' && texto[1] >= '0' && texto[1] <= '9') texto.remove_prefix(1);
    std::uint64_t valor = 0;
    const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (texto.empty() || erro != std::errc() || fim != texto.data() + texto.size() || valor > maximo) return std::nullopt;
    return valor;
}

Desfecho converte_inteiro(std::string_view texto, std::uint64_t minimo, std::uint64_t maximo, std::string_view campo,
                          std::uint64_t& valor)
{
    const auto lido = le_inteiro(texto, maximo);
    if (!lido || *lido < minimo)
        return Desfecho::erro(std::string(campo) + " (\"" + std::string(texto) + "\") deve ser um número inteiro de " +
                              std::to_string(minimo) + " a " + std::to_string(maximo) + ".");
    valor = *lido;
    return Desfecho::ok();
}

Desfecho converte_rodadas(std::string_view texto, int maximo, std::vector<int>& rodadas)
{
    std::vector<bool> lidas(static_cast<std::size_t>(std::max(maximo, 0)) + 1, false);
    if (sem_brancos(texto).empty()) return Desfecho::erro("a lista de rodadas está vazia (por exemplo: 1-10,12).");
    for (;;) {
        const std::size_t virgula = texto.find(',');
        const std::string_view item = sem_brancos(texto.substr(0, virgula));
        const std::size_t traco = item.find('-');
        const auto de = le_inteiro(item.substr(0, traco), UINT32_MAX);
        const auto ate = traco == std::string_view::npos ? de : le_inteiro(item.substr(traco + 1), UINT32_MAX);
        if (!de || !ate) return Desfecho::erro("\"" + std::string(item) + "\" não é uma rodada nem um intervalo de rodadas (como 1-10).");
        if (*de == 0 || *de > *ate || *ate > static_cast<std::uint64_t>(maximo))
            return Desfecho::erro("\"" + std::string(item) + "\" não cabe nas rodadas de 1 a " + std::to_string(maximo) + ".");
        for (std::uint64_t r = *de; r <= *ate; ++r) lidas[static_cast<std::size_t>(r)] = true;
        if (virgula == std::string_view::npos) break;
        texto.remove_prefix(virgula + 1);
    }
    rodadas.clear();
    for (int r = 1; r <= maximo; ++r)
        if (lidas[static_cast<std::size_t>(r)]) rodadas.push_back(r);
    return Desfecho::ok();
}

namespace {

// The power of ten just above the magnitude of a nonzero number written as
// [sign]digits[.digits][e[sign]digits]: k such that 10^(k-1) <= |value| < 10^k. The exponent
// is clamped, so that no text can overflow it.
long long ordem_de_grandeza(std::string_view numero)
{
    std::size_t i = 0;
    if (i < numero.size() && (numero[i] == '+' || numero[i] == '-')) ++i;
    long long ordem = 0;
    bool achou = false;
    for (; i < numero.size() && numero[i] >= '0' && numero[i] <= '9'; ++i) {
        if (achou || numero[i] != '0') {
            achou = true;
            ++ordem;
        }
    }
    if (i < numero.size() && numero[i] == '.') {
        for (++i; i < numero.size() && numero[i] >= '0' && numero[i] <= '9'; ++i) {
            if (achou) continue;
            if (numero[i] == '0')
                --ordem;
            else
                achou = true;
        }
    }
    if (i < numero.size() && (numero[i] == 'e' || numero[i] == 'E')) {
        ++i;
        bool negativo = false;
        if (i < numero.size() && (numero[i] == '+' || numero[i] == '-')) negativo = numero[i++] == '-';
        long long expoente = 0;
        for (; i < numero.size() && numero[i] >= '0' && numero[i] <= '9'; ++i)
            expoente = std::min(expoente * 10 + (numero[i] - '0'), 1'000'000'000'000LL);
        ordem += negativo ? -expoente : expoente;
    }
    return ordem;
}

}  // namespace

Desfecho converte_peso(std::string_view texto, char separador, int numero, std::int32_t& peso)
{
    const std::string campo = "O peso da inviabilidade " + std::to_string(numero);
    texto = sem_brancos(texto);
    if (texto.empty()) return Desfecho::erro(campo + " está vazio; escreva um número inteiro.");

    const std::string original(texto);
    const auto nao_numero = [&] {
        return Desfecho::erro(campo + " (\"" + original + "\") não é um número.");
    };
    // Validate the shape first, then convert with the C locale's reader.
    std::string normalizado;
    std::size_t i = 0;
    if (texto[i] == '+' || texto[i] == '-') normalizado.push_back(texto[i++]);
    std::size_t digitos = 0;
    while (i < texto.size() && texto[i] >= '0' && texto[i] <= '9') {
        normalizado.push_back(texto[i++]);
        ++digitos;
    }
    if (i < texto.size() && texto[i] == separador) {
        normalizado.push_back('.');
        ++i;
        while (i < texto.size() && texto[i] >= '0' && texto[i] <= '9') {
            normalizado.push_back(texto[i++]);
            ++digitos;
        }
    }
    if (digitos == 0) return nao_numero();
    if (i < texto.size() && (texto[i] == 'e' || texto[i] == 'E')) {
        normalizado.push_back('e');
        ++i;
        if (i < texto.size() && (texto[i] == '+' || texto[i] == '-')) normalizado.push_back(texto[i++]);
        std::size_t expoente = 0;
        while (i < texto.size() && texto[i] >= '0' && texto[i] <= '9') {
            normalizado.push_back(texto[i++]);
            ++expoente;
        }
        if (expoente == 0) return nao_numero();
    }
    if (i != texto.size()) return nao_numero();

    double valor = 0.0;
    const char* inicio = normalizado.data();
    if (*inicio == '+') ++inicio;
    const std::errc erro = std::from_chars(inicio, normalizado.data() + normalizado.size(), valor).ec;
    if (erro == std::errc::result_out_of_range && ordem_de_grandeza(normalizado) <= 0) {
        // Too small for a double, such as 1e-400: below 1, so its integer part is 0.
        peso = 0;
        return Desfecho::ok();
    }
    const double truncado = std::trunc(valor);
    if (erro != std::errc() || !std::isfinite(valor) || truncado < std::numeric_limits<std::int32_t>::min() ||
        truncado > std::numeric_limits<std::int32_t>::max()) {
        return Desfecho::erro(campo + " (\"" + original +
                              "\") está fora da faixa aceita, de -2147483648 a 2147483647.");
    }
    peso = static_cast<std::int32_t>(truncado);
    return Desfecho::ok();
}

}  // namespace kelm
