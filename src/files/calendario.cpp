#include "files/calendario.hpp"

#include <vector>

#include "files/carga.hpp"
#include "files/texto.hpp"

namespace kelm {

namespace {

constexpr std::string_view tipo_arquivo = "calendário";

constexpr const char* nomes_dos_meses[12] = {"janeiro", "fevereiro", "março",    "abril",   "maio",     "junho",
                                             "julho",   "agosto",    "setembro", "outubro", "novembro", "dezembro"};

std::string citado(std::string_view texto)
{
    return '"' + (texto.size() <= max_caracteres ? std::string(texto) : trecho_legivel(texto)) + '"';
}


// The number written by `minimo` to `maximo` decimal digits, and nothing else; -1 otherwise.
int digitos(std::string_view texto, std::size_t minimo, std::size_t maximo)
{
    if (texto.size() < minimo || texto.size() > maximo) return -1;
    int valor = 0;
    for (const char c : texto) {
        if (c < '0' || c > '9') return -1;
        valor = valor * 10 + (c - '0');
    }
    return valor;
}

// The three parts of a date split at `separador`: nothing unless there are exactly three.
bool partes(std::string_view texto, char separador, std::string_view (&p)[3])
{
    for (int k = 0; k < 2; ++k) {
        const std::size_t s = texto.find(separador);
        if (s == std::string_view::npos) return false;
        p[k] = texto.substr(0, s);
        texto.remove_prefix(s + 1);
    }
    p[2] = texto;
    return p[2].find(separador) == std::string_view::npos;
}

// A time "hh:mm"; the problem, or an empty text.
std::string le_hora(std::string_view texto, Hora& hora)
{
    const std::size_t dois_pontos = texto.find(':');
    const int h = dois_pontos == std::string_view::npos ? -1 : digitos(texto.substr(0, dois_pontos), 1, 2);
    const int m = dois_pontos == std::string_view::npos ? -1 : digitos(texto.substr(dois_pontos + 1), 2, 2);
    if (h < 0 || m < 0 || h > 23 || m > 59)
        return citado(texto) + " não é uma hora; escreva hh:mm, de 00:00 a 23:59 (por exemplo: 16:00).";
    hora = {h, m};
    return {};
}

// "rodadas 3, 4 e 38", the first twelve of many and how many more.
std::string lista_de_rodadas(const std::vector<int>& rodadas)
{
    constexpr std::size_t mostradas = 12;
    std::vector<std::string> itens;
    for (std::size_t k = 0; k < rodadas.size() && k < mostradas; ++k) itens.push_back(std::to_string(rodadas[k] + 1));
    if (rodadas.size() > mostradas) itens.push_back("outras " + std::to_string(rodadas.size() - mostradas));
    std::string texto = rodadas.size() == 1 ? "a data da rodada " : "as datas das rodadas ";
    for (std::size_t k = 0; k < itens.size(); ++k) texto += (k == 0 ? "" : k + 1 == itens.size() ? " e " : ", ") + itens[k];
    return texto;
}

}  // namespace

std::string le_data(std::string_view texto, Data& data)
{
    std::string_view p[3];
    int ano = -1;
    int mes = -1;
    int dia = -1;
    if (partes(texto, '/', p)) {
        dia = digitos(p[0], 1, 2);
        mes = digitos(p[1], 1, 2);
        ano = digitos(p[2], 4, 4);
    } else if (partes(texto, '-', p)) {
        ano = digitos(p[0], 4, 4);
        mes = digitos(p[1], 1, 2);
        dia = digitos(p[2], 1, 2);
    }
    if (ano < 0 || mes < 0 || dia < 0)
        return citado(texto) + " não é uma data; escreva dd/mm/aaaa (18/05/2024) ou aaaa-mm-dd (2024-05-18).";
    if (ano < 1900) return citado(texto) + " não é uma data do calendário de um campeonato: o ano vai de 1900 a 9999.";
    if (mes < 1 || mes > 12) return citado(texto) + " não é uma data: os meses vão de 1 a 12.";
    if (!data_existe(ano, mes, dia))
        return citado(texto) + " não é uma data: " + nomes_dos_meses[mes - 1] + " de " + std::to_string(ano) + " tem " +
               std::to_string(dias_do_mes(ano, mes)) + " dias.";
    data = {ano, mes, dia};
    return {};
}

Desfecho le_calendario(std::string_view bytes, std::string_view nome, int num_rodadas, Calendario& calendario)
{
    bytes = sem_bom(bytes);
    if (auto p = problema_de_texto(bytes)) return Desfecho::erro(erro_no_arquivo(tipo_arquivo, nome, p->linha, p->problema));
    const std::string texto = utf8_valido(bytes) ? std::string(bytes) : latin1_para_utf8(bytes);
    const auto recusa = [&](int linha, const std::string& problema) {
        return Desfecho::erro(erro_no_arquivo(tipo_arquivo, nome, linha, problema));
    };

    Calendario lido;
    lido.arquivo = std::string(nome);
    lido.rodadas.assign(static_cast<std::size_t>(std::max(num_rodadas, 0)), {});
    std::vector<int> linha_da_rodada(lido.rodadas.size(), 0);
    std::string_view resto = texto;
    int linha = 0;
    while (!resto.empty()) {
        ++linha;
        const std::size_t fim = resto.find('\n');
        std::string_view conteudo = resto.substr(0, fim);
        resto.remove_prefix(fim == std::string_view::npos ? resto.size() : fim + 1);
        if (!conteudo.empty() && conteudo.back() == '\r') conteudo.remove_suffix(1);
        const std::vector<std::string_view> p = palavras(conteudo);
        if (p.empty()) continue;
        if (p.size() > 3 || (p.size() == 1 && digitos(p[0], 1, 9) < 0))
            return recusa(linha, "cada linha deve ser \"rodada data [hora]\" (por exemplo: 6 18/05/2024 16:00).");
        const int rodada = digitos(p[0], 1, 9);
        if (rodada < 0) return recusa(linha, citado(p[0]) + " não é um número de rodada; cada linha deve ser \"rodada data [hora]\".");
        if (p.size() == 1) return recusa(linha, "falta a data da rodada " + std::to_string(rodada) + ".");
        if (rodada == 0) return recusa(linha, "as rodadas começam na 1.");
        if (rodada > num_rodadas)
            return recusa(linha, "a rodada " + std::to_string(rodada) + " passa das " + std::to_string(num_rodadas) +
                                     " rodadas da execução.");
        const auto r = static_cast<std::size_t>(rodada - 1);
        if (linha_da_rodada[r] != 0)
            return recusa(linha, "a rodada " + std::to_string(rodada) + " já tem data, na linha " +
                                     std::to_string(linha_da_rodada[r]) + ".");
        DiaDaRodada& dia = lido.rodadas[r];
        if (std::string e = le_data(p[1], dia.data); !e.empty()) return recusa(linha, e);
        if (p.size() == 3) {
            Hora hora;
            if (std::string e = le_hora(p[2], hora); !e.empty()) return recusa(linha, e);
            dia.hora = hora;
        }
        linha_da_rodada[r] = linha;
    }

    std::vector<int> faltam;
    for (std::size_t r = 0; r < linha_da_rodada.size(); ++r)
        if (linha_da_rodada[r] == 0) faltam.push_back(static_cast<int>(r));
    if (!faltam.empty())
        return recusa(std::max(linha, 1), (faltam.size() == 1 ? "falta " : "faltam ") + lista_de_rodadas(faltam) +
                                              " (a execução tem " +
                                              std::to_string(num_rodadas) + " rodadas, cada uma numa linha).");
    for (std::size_t r = 1; r < lido.rodadas.size(); ++r) {
        const Data& antes = lido.rodadas[r - 1].data;
        const Data& agora = lido.rodadas[r].data;
        if (antes < agora) continue;
        const std::string esta = "a rodada " + std::to_string(r + 1);
        const std::string anterior = "rodada " + std::to_string(r);
        return recusa(linha_da_rodada[r],
                      (antes == agora ? esta + " cai no mesmo dia que a " + anterior + ", " + texto_data(agora)
                                      : esta + ", em " + texto_data(agora) + ", vem antes da " + anterior + ", em " +
                                            texto_data(antes)) +
                          ": as datas crescem com as rodadas, uma data por rodada.");
    }
    calendario = std::move(lido);
    return Desfecho::ok();
}

Desfecho carrega_calendario(const std::filesystem::path& caminho, int num_rodadas, Calendario& calendario)
{
    std::string bytes;
    std::string motivo;
    if (caminho.empty()) return Desfecho::erro(msg_calendario_nao_aberto);
    if (!le_arquivo(caminho, bytes, motivo))
        return Desfecho::erro(msg_calendario_nao_aberto, nome_exibivel(caminho.string()) + ": " + motivo + ".");
    return le_calendario(bytes, caminho.string(), num_rodadas, calendario);
}

Desfecho confere_calendario(const Calendario& calendario, int num_rodadas)
{
    if (!calendario.em_vigor() || calendario.num_rodadas() == num_rodadas) return Desfecho::ok();
    return Desfecho::erro("O calendário \"" + nome_exibivel(calendario.arquivo) + "\" dá as datas de " +
                          std::to_string(calendario.num_rodadas()) + " rodadas, e a execução tem " +
                          std::to_string(num_rodadas) + ": abra o calendário desta execução.");
}

}  // namespace kelm
