#include "files/tabela_jogos.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "files/carga.hpp"
#include "files/leitura_resultado.hpp"
#include "files/texto.hpp"
#include "model/numeros.hpp"
#include "model/temporada.hpp"

namespace kelm {

namespace {

constexpr std::string_view tipo = "tabela";

// The fields of a line split at `separador`, each without the blanks and the double quotes
// around it, empty fields at its end (as a spreadsheet may leave them) taken away.
std::vector<std::string_view> campos(std::string_view linha, char separador)
{
    std::vector<std::string_view> partes;
    for (;;) {
        const std::size_t fim = linha.find(separador);
        std::string_view campo = sem_brancos(linha.substr(0, fim));
        if (campo.size() >= 2 && campo.front() == '"' && campo.back() == '"') campo = sem_brancos(campo.substr(1, campo.size() - 2));
        partes.push_back(campo);
        if (fim == std::string_view::npos) break;
        linha.remove_prefix(fim + 1);
    }
    while (!partes.empty() && partes.back().empty()) partes.pop_back();
    return partes;
}

// The separator of a line: the first of semicolon, tab and comma it holds.
char separador_de(std::string_view linha)
{
    for (const char c : {';', '\t', ','})
        if (linha.find(c) != std::string_view::npos) return c;
    return ';';
}

std::string citado(std::string_view texto)
{
    return '"' + (texto.size() <= max_caracteres ? std::string(texto) : trecho_legivel(texto)) + '"';
}

// A round's number: digits, perhaps followed by an ordinal sign ("3", "3ª", "3º"); nothing for
// anything else, 0 included.
std::optional<long long> numero_da_rodada(std::string_view campo)
{
    for (const std::string_view sinal : {"ª", "º", "a", "o"})
        if (campo.size() > sinal.size() && campo.ends_with(sinal)) {
            campo.remove_suffix(sinal.size());
            break;
        }
    if (campo.empty() || campo.size() > 9 || !std::all_of(campo.begin(), campo.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const long long n = std::stoll(std::string(campo));
    if (n == 0) return std::nullopt;
    return n;
}

// One game read, with its line.
struct JogoLido {
    int rodada = 0;  // from 1
    int mandante = 0;
    int visitante = 0;
    int linha = 0;
};

// Reads the lines of a plain table, then lays its games out round by round.
class Leitura {
public:
    explicit Leitura(const Campeonato& campeonato) : campeonato_(campeonato)
    {
        for (int t = 1; t <= campeonato.num_times; ++t) times_.emplace(campeonato.nomes_times[static_cast<std::size_t>(t)], t);
    }

    // The problem of one line, or an empty text.
    std::string le_linha(std::string_view linha, int numero)
    {
        if (sem_brancos(linha).empty()) return {};
        const auto c = campos(linha, separador_de(linha));
        const bool primeira = !com_texto_;
        com_texto_ = true;
        const auto rodada = c.empty() ? std::nullopt : numero_da_rodada(c[0]);
        if (!rodada) {
            // The header of the columns may stand first: "rodada;mandante;visitante".
            if (primeira && c.size() >= 3) return {};
            return "esperava a rodada, o mandante e o visitante (como 1;Bahia;Vitória) e encontrou " +
                   citado(sem_brancos(linha)) + ".";
        }
        if (c.size() != 3)
            return "esperava três campos, a rodada, o mandante e o visitante, e encontrou " + std::to_string(c.size()) + ".";
        const int temporada = rodadas_da_temporada(campeonato_.num_rodadas);
        if (*rodada > temporada)
            return "a " + std::to_string(*rodada) + "ª rodada passa das " + std::to_string(campeonato_.num_rodadas) +
                   " rodadas do campeonato e das " + std::to_string(temporada) + " de uma temporada de turno e returno.";
        JogoLido jogo{static_cast<int>(*rodada), 0, 0, numero};
        for (const auto& [campo, time] : {std::pair{c[1], &jogo.mandante}, std::pair{c[2], &jogo.visitante}}) {
            const auto achado = times_.find(std::string(campo));
            if (achado == times_.end()) return "o time " + citado(campo) + " não é deste campeonato.";
            *time = achado->second;
        }
        if (jogo.mandante == jogo.visitante) return nome(jogo.mandante) + " joga contra si mesmo.";
        jogos_.push_back(jogo);
        return {};
    }

    // Lays the games out into `tabela` (allocated here): the problem and its line, or an empty
    // text.
    std::string monta(Tabela& tabela, int& linha)
    {
        if (jogos_.empty()) {
            linha = 1;
            return com_texto_ ? "o arquivo não tem nenhum jogo (uma linha com a rodada, o mandante e o visitante)."
                              : "o arquivo está vazio.";
        }
        const int maior = std::max_element(jogos_.begin(), jogos_.end(), [](const JogoLido& a, const JogoLido& b) {
                              return a.rodada < b.rodada;
                          })->rodada;
        const int voltas = maior > campeonato_.num_rodadas ? 2 : 1;
        const int n = campeonato_.num_times;
        tabela = aloca_matriz_jogos(voltas * campeonato_.num_rodadas, campeonato_.jogos_por_rodada());
        std::vector<int> vagas(static_cast<std::size_t>(tabela.linhas()), 0);
        std::vector<int> linha_do_encontro(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(n + 1), 0);
        std::vector<int> linha_na_rodada(static_cast<std::size_t>(n + 1) * static_cast<std::size_t>(tabela.linhas()), 0);
        auto indice = [&](int a, int b) {
            if (voltas == 1 && a > b) std::swap(a, b);
            return static_cast<std::size_t>(a) * static_cast<std::size_t>(n + 1) + static_cast<std::size_t>(b);
        };
        for (const JogoLido& j : jogos_) {
            linha = j.linha;
            const int r = j.rodada - 1;
            for (const int t : {j.mandante, j.visitante}) {
                int& antes = linha_na_rodada[static_cast<std::size_t>(t) * static_cast<std::size_t>(tabela.linhas()) +
                                             static_cast<std::size_t>(r)];
                if (antes != 0)
                    return nome(t) + " joga duas vezes na " + std::to_string(j.rodada) + "ª rodada (também na linha " +
                           std::to_string(antes) + ").";
                antes = j.linha;
            }
            int& encontro = linha_do_encontro[indice(j.mandante, j.visitante)];
            if (encontro != 0)
                return nome(j.mandante) + " e " + nome(j.visitante) + " já se enfrentaram " +
                       (voltas == 1 ? std::string() : "com " + nome(j.mandante) + " em casa ") + "na linha " +
                       std::to_string(encontro) + ".";
            encontro = j.linha;
            int& vaga = vagas[static_cast<std::size_t>(r)];
            tabela[r][vaga++] = jogo_entre(j.mandante, j.visitante);
        }
        linha = jogos_.back().linha;
        int faltam = 0;
        std::string primeiro;
        for (int a = 1; a <= n; ++a)
            for (int b = voltas == 1 ? a + 1 : 1; b <= n; ++b) {
                if (a == b || linha_do_encontro[indice(a, b)] != 0) continue;
                if (faltam++ == 0)
                    primeiro = voltas == 1 ? "falta o jogo entre " + nome(a) + " e " + nome(b) + "."
                                           : "falta o jogo de " + nome(a) + " em casa contra " + nome(b) + ".";
            }
        if (faltam > 1) primeiro += " Faltam " + std::to_string(faltam) + " jogos ao todo.";
        return primeiro;
    }

private:
    const std::string& nome(int t) const { return campeonato_.nomes_times[static_cast<std::size_t>(t)]; }

    const Campeonato& campeonato_;
    std::unordered_map<std::string, int> times_;
    std::vector<JogoLido> jogos_;
    bool com_texto_ = false;
};

}  // namespace

Desfecho le_tabela_simples(std::string_view bytes, std::string_view nome, const Campeonato& campeonato, Tabela& tabela)
{
    bytes = sem_bom(bytes);
    if (auto p = problema_de_texto(bytes)) return Desfecho::erro(erro_no_arquivo(tipo, nome, p->linha, p->problema));
    // Names are compared in UTF-8; a file that is not UTF-8 is Latin-1.
    const std::string texto = utf8_valido(bytes) ? std::string(bytes) : latin1_para_utf8(bytes);
    Leitura leitura(campeonato);
    std::string_view resto = texto;
    for (int linha = 1; !resto.empty(); ++linha) {
        const std::size_t fim = resto.find('\n');
        std::string_view conteudo = resto.substr(0, fim);
        resto.remove_prefix(fim == std::string_view::npos ? resto.size() : fim + 1);
        if (!conteudo.empty() && conteudo.back() == '\r') conteudo.remove_suffix(1);
        if (const std::string problema = leitura.le_linha(conteudo, linha); !problema.empty())
            return Desfecho::erro(erro_no_arquivo(tipo, nome, linha, problema));
    }
    Tabela lida;
    int linha = 1;
    try {
        if (const std::string problema = leitura.monta(lida, linha); !problema.empty())
            return Desfecho::erro(erro_no_arquivo(tipo, nome, linha, problema));
    } catch (const ErroAlocacao& e) {
        return Desfecho::simples(e.what());
    }
    tabela = std::move(lida);
    return Desfecho::ok();
}

bool eh_arquivo_de_resultado(std::string_view bytes, const std::filesystem::path& caminho)
{
    bool tabela = false;
    for (std::size_t inicio = 0; inicio < bytes.size();) {
        const std::size_t fim = std::min(bytes.find('\n', inicio), bytes.size());
        const std::string_view linha = sem_brancos(bytes.substr(inicio, fim - inicio));
        if (linha.starts_with(">>>>>>>>") || linha.find("\tX\t") != std::string_view::npos || linha.starts_with("Inv1:"))
            return true;
        tabela = tabela || linha.find(';') != std::string_view::npos || linha.find(',') != std::string_view::npos ||
                 linha.find('\t') != std::string_view::npos;
        inicio = fim + 1;
    }
    if (tabela) return false;
    // Nothing in it says which: its name does.
    std::string extensao = caminho.extension().string();
    for (char& c : extensao) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return extensao != ".csv" && extensao != ".tsv";
}

Desfecho carrega_tabela(const Campeonato& campeonato, const std::filesystem::path& caminho, Tabela& tabela,
                        std::string* fo_do_arquivo)
{
    std::string bytes;
    std::string motivo;
    if (!le_arquivo(caminho, bytes, motivo))
        return Desfecho::erro(msg_tabela_nao_aberta, nome_exibivel(caminho.string()) + ": " + motivo + ".");
    if (fo_do_arquivo != nullptr) fo_do_arquivo->clear();
    if (eh_arquivo_de_resultado(bytes, caminho)) return le_resultado(bytes, caminho.string(), campeonato, tabela, fo_do_arquivo);
    return le_tabela_simples(bytes, caminho.string(), campeonato, tabela);
}

}  // namespace kelm
