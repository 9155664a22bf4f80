// What must hold for any calendar file a planner gives: typed by hand, exported from a
// federation's spreadsheet, saved in Latin-1, or not a calendar at all.

#include <cstdio>
#include <utility>

#include "files/calendario.hpp"
#include "propriedades.hpp"
#include "verificacoes.hpp"

namespace kelm::fuzz {

namespace {

constexpr std::string_view nome = "c.txt";

// A calendar no reading makes, in place before every reading, so that a refusal that touched
// it is seen.
Calendario calendario_anterior()
{
    Calendario c;
    c.arquivo = "anterior.txt";
    c.rodadas = {{{2023, 4, 15}, Hora{16, 0}}};
    return c;
}

// The first fault of a calendar read for `num_rodadas` rounds: every round dated, real dates
// strictly increasing, times of a day, the weekday one more for each day more.
std::string falha_do_calendario(const Calendario& c, int num_rodadas)
{
    if (c.arquivo != nome || c.num_rodadas() != num_rodadas) return "calendário com outro nome ou outras rodadas";
    for (int r = 0; r < c.num_rodadas(); ++r) {
        const DiaDaRodada& d = c.dia(r);
        if (!data_existe(d.data.ano, d.data.mes, d.data.dia) || d.data.ano < 1900) return "data que não existe aceita";
        if (d.hora && (d.hora->hora < 0 || d.hora->hora > 23 || d.hora->minuto < 0 || d.hora->minuto > 59))
            return "hora fora do dia aceita";
        if (r == 0) continue;
        const Data& antes = c.dia(r - 1).data;
        if (!(antes < d.data)) return "datas que não crescem aceitas";
        const long long dias = dias_desde_1970(d.data) - dias_desde_1970(antes);
        if ((dia_da_semana(antes) + dias) % 7 != dia_da_semana(d.data)) return "dia da semana incoerente";
    }
    return {};
}

// The calendar written back as a planner would write it, in ISO dates and in reverse order.
std::string escrito_de_novo(const Calendario& c)
{
    std::string texto;
    for (int r = c.num_rodadas() - 1; r >= 0; --r) {
        const Data& d = c.dia(r).data;
        char iso[48];
        std::snprintf(iso, sizeof iso, "%04d-%02d-%02d", d.ano, d.mes, d.dia);
        texto += std::to_string(r + 1) + "\t" + iso;
        if (c.dia(r).hora) texto += " " + texto_hora(*c.dia(r).hora);
        texto += "  # de novo\r\n";
    }
    return texto;
}

}  // namespace

std::string verifica_calendario(std::string_view entrada)
{
    if (entrada.empty()) return {};
    const int num_rodadas = 1 + static_cast<unsigned char>(entrada[0]) % 80;
    const std::string_view arquivo = entrada.substr(1);
    auto le = [&](std::string_view bytes) {
        Calendario c = calendario_anterior();
        const Desfecho d = le_calendario(bytes, nome, num_rodadas, c);
        return std::pair{d, std::move(c)};
    };
    const auto [d, lido] = le(arquivo);
    if (!d.sucesso) {
        if (!(lido == calendario_anterior())) return "um arquivo recusado mudou o calendário (" + d.texto + ")";
        if (auto erro = verifica_recusa(d, "calendário", nome, conta_linhas(arquivo), "."); !erro.empty()) return erro;
    } else {
        if (auto erro = falha_do_calendario(lido, num_rodadas); !erro.empty()) return erro;
        const auto [de_novo, relido] = le(escrito_de_novo(lido));
        if (!de_novo.sucesso || !(relido == lido)) return "o calendário escrito de novo não se lê igual: " + de_novo.texto;
    }
    if (const std::string latin1 = em_latin1_distinto(arquivo); !latin1.empty()) {
        const auto [dl, lido_latin1] = le(latin1);
        if (dl.sucesso != d.sucesso || dl.texto != d.texto || !(lido_latin1 == lido)) return "em Latin-1 a leitura muda";
    }
    return mesma_leitura_nas_variantes(arquivo, d, lido, le);
}

}  // namespace kelm::fuzz
