#include "model/calendario.hpp"

#include <algorithm>
#include <cstdio>

namespace kelm {

bool bissexto(int ano) { return (ano % 4 == 0 && ano % 100 != 0) || ano % 400 == 0; }

int dias_do_mes(int ano, int mes)
{
    constexpr int dias[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    return mes == 2 && bissexto(ano) ? 29 : dias[mes - 1];
}

bool data_existe(int ano, int mes, int dia) { return mes >= 1 && mes <= 12 && dia >= 1 && dia <= dias_do_mes(ano, mes); }

long long dias_desde_1970(const Data& data)
{
    // Counted in eras of 400 years (146097 days), from 1 March, so that 29 February is
    // the last day of a year.
    const long long ano = data.mes <= 2 ? data.ano - 1LL : data.ano;
    const long long era = (ano >= 0 ? ano : ano - 399) / 400;
    const long long ano_da_era = ano - era * 400;
    const long long mes = data.mes > 2 ? data.mes - 3 : data.mes + 9;
    const long long dia_do_ano = (153 * mes + 2) / 5 + data.dia - 1;
    const long long dia_da_era = ano_da_era * 365 + ano_da_era / 4 - ano_da_era / 100 + dia_do_ano;
    return era * 146097 + dia_da_era - 719468;
}

int dia_da_semana(const Data& data)
{
    // 1 January 1970 was a Thursday.
    const long long d = dias_desde_1970(data);
    return static_cast<int>(((d % 7) + 7 + 4) % 7);
}

bool fim_de_semana(const Data& data)
{
    const int d = dia_da_semana(data);
    return d == 0 || d == 6;
}

std::string texto_data(const Data& data)
{
    char texto[48];
    std::snprintf(texto, sizeof texto, "%02d/%02d/%04d", data.dia, data.mes, data.ano);
    return texto;
}

std::string texto_hora(const Hora& hora)
{
    char texto[32];
    std::snprintf(texto, sizeof texto, "%02d:%02d", hora.hora, hora.minuto);
    return texto;
}

std::vector<int> rodadas_entre(const Calendario& calendario, const Data& de, const Data& ate)
{
    std::vector<int> rodadas;
    for (int r = 0; r < calendario.num_rodadas(); ++r) {
        const Data& d = calendario.dia(r).data;
        if (de <= d && d <= ate) rodadas.push_back(r);
    }
    return rodadas;
}

std::string rodada_datada(const Calendario* calendario, int rodada)
{
    const std::string numero = "rodada " + std::to_string(rodada + 1);
    if (calendario == nullptr || rodada < 0 || rodada >= calendario->num_rodadas()) return numero;
    return texto_data(calendario->dia(rodada).data) + " (" + numero + ")";
}

}  // namespace kelm
