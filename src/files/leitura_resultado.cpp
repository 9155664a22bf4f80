#include "files/leitura_resultado.hpp"

#include <algorithm>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "files/carga.hpp"
#include "files/texto.hpp"
#include "model/temporada.hpp"

namespace kelm {

namespace {

constexpr std::string_view tipo = "resultado";

// The tab-separated fields of a line, blanks around each one and empty fields at its end
// (as a spreadsheet may leave them) taken away.
std::vector<std::string_view> campos(std::string_view linha)
{
    std::vector<std::string_view> partes;
    for (;;) {
        const std::size_t tab = linha.find('\t');
        std::string_view campo = linha.substr(0, tab);
        while (!campo.empty() && campo.front() == ' ') campo.remove_prefix(1);
        while (!campo.empty() && campo.back() == ' ') campo.remove_suffix(1);
        partes.push_back(campo);
        if (tab == std::string_view::npos) break;
        linha.remove_prefix(tab + 1);
    }
    while (!partes.empty() && partes.back().empty()) partes.pop_back();
    return partes;
}

bool eh_cabecalho_contagens(std::string_view campo)
{
    if (campo == "FO_STAR:" || campo == "Tempo:" || campo == "Semente:") return true;
    return (campo.size() == 5 && campo.substr(0, 3) == "Inv" && campo[3] >= '1' && campo[3] <= '9' && campo[4] == ':') ||
           campo == "Inv10:";
}

// The digits of a round heading ">>>>>>>>", "Nª RODADA", "<<<<<<<<"; nothing when the
// fields are not one.
std::optional<std::string_view> numero_da_rodada(const std::vector<std::string_view>& c)
{
    if (c.size() != 3 || c[0] != ">>>>>>>>" || c[2] != "<<<<<<<<") return std::nullopt;
    std::size_t k = 0;
    while (k < c[1].size() && c[1][k] >= '0' && c[1][k] <= '9') ++k;
    if (k == 0 || c[1].substr(k) != "ª RODADA") return std::nullopt;
    return c[1].substr(0, k);
}

// A text of the file for a message: as it is when short, else its beginning.
std::string citado(std::string_view texto)
{
    std::string s = texto.size() <= max_caracteres ? std::string(texto) : trecho_legivel(texto);
    for (char& c : s)
        if (c == '\t') c = ' ';
    return '"' + s + '"';
}

// The number of a round heading's digits, saturated above the int range.
long long valor_da_rodada(std::string_view digitos)
{
    while (digitos.size() > 1 && digitos.front() == '0') digitos.remove_prefix(1);
    if (digitos.size() > 10) return 100000000000LL;
    long long numero = 0;
    for (const char c : digitos) numero = numero * 10 + (c - '0');
    return numero;
}

// The largest round number among the file's headings: a file that goes beyond R rounds is
// read as a whole season, turno and returno.
long long maior_rodada(std::string_view texto)
{
    long long maior = 0;
    while (!texto.empty()) {
        const std::size_t fim = texto.find('\n');
        std::string_view linha = texto.substr(0, fim);
        texto.remove_prefix(fim == std::string_view::npos ? texto.size() : fim + 1);
        if (!linha.empty() && linha.back() == '\r') linha.remove_suffix(1);
        if (const auto numero = numero_da_rodada(campos(linha))) maior = std::max(maior, valor_da_rodada(*numero));
    }
    return maior;
}

// Reads the lines of a result file into a schedule: a single round robin of the championship
// (every pair once), or a whole season of twice its rounds (every pair twice, once at each
// venue).
class Leitura {
public:
    Leitura(const Campeonato& campeonato, Tabela& tabela, int voltas)
        : campeonato_(campeonato), tabela_(tabela), voltas_(voltas),
          rodada_do_encontro_(static_cast<std::size_t>(campeonato.num_times + 1) * static_cast<std::size_t>(campeonato.num_times + 1), 0)
    {
        for (int t = 1; t <= campeonato.num_times; ++t) times_.emplace(campeonato.nomes_times[static_cast<std::size_t>(t)], t);
    }

    // The problem of one line, or an empty text.
    std::string le_linha(std::string_view linha)
    {
        const auto c = campos(linha);
        if (c.empty()) return {};
        com_texto_ = true;
        if (rodada_ == 0 && eh_cabecalho_contagens(c[0])) {
            if (c[0] == "FO_STAR:" && c.size() == 2) fo_ = c[1];
            return {};
        }
        // The date of a round on a calendar is for people; the schedule is its games.
        if (rodada_ > 0 && vaga_ == 0 && c[0] == "Data:") return {};
        if (const auto numero = numero_da_rodada(c)) return comeca_rodada(*numero);
        if (c.size() == 3 && c[1] == "X") return le_jogo(c[0], c[2]);
        return "a linha não é o cabeçalho de uma rodada nem um jogo (mandante, X e visitante separados por "
               "tabulações): " + citado(linha) + ".";
    }

    // The problem of the schedule read, or an empty text: no round at all (an empty file
    // said as such, not as its first missing game), or a pair that never meets (in a season,
    // a pair that does not meet at one of the two venues).
    std::string confere_encontros() const
    {
        if (rodada_ == 0)
            return com_texto_ ? "o arquivo não tem nenhuma rodada (uma linha \">>>>>>>> 1ª RODADA <<<<<<<<\", "
                                "separada por tabulações, e os jogos dela)."
                              : "o arquivo está vazio.";
        const int n = campeonato_.num_times;
        int faltam = 0;
        std::string primeiro;
        for (int a = 1; a <= n; ++a) {
            for (int b = voltas_ == 1 ? a + 1 : 1; b <= n; ++b) {
                if (a == b || rodada_do_encontro_[indice(a, b)] != 0) continue;
                if (faltam++ == 0)
                    primeiro = voltas_ == 1 ? nome(a) + " e " + nome(b) + " não se enfrentam em nenhuma rodada."
                                            : nome(a) + " não recebe " + nome(b) + " em nenhuma rodada.";
            }
        }
        if (faltam > 1) primeiro += " Faltam " + std::to_string(faltam) + " jogos ao todo.";
        return primeiro;
    }

    // The value of the line "FO_STAR:" before the first round, as written.
    const std::string& fo() const { return fo_; }

private:
    const std::string& nome(int t) const { return campeonato_.nomes_times[static_cast<std::size_t>(t)]; }
    // Where the round of a pair's meeting is kept: the pair, or in a season the home team
    // and the visitor in this order.
    std::size_t indice(int mandante, int visitante) const
    {
        const int a = voltas_ == 1 ? std::min(mandante, visitante) : mandante;
        const int b = voltas_ == 1 ? std::max(mandante, visitante) : visitante;
        return static_cast<std::size_t>(a) * static_cast<std::size_t>(campeonato_.num_times + 1) + static_cast<std::size_t>(b);
    }

    std::string comeca_rodada(std::string_view digitos)
    {
        while (digitos.size() > 1 && digitos.front() == '0') digitos.remove_prefix(1);
        const long long numero = valor_da_rodada(digitos);
        const std::string texto(digitos);
        const int turno = campeonato_.num_rodadas;
        if (numero > rodadas_da_temporada(turno))
            return "a " + texto + "ª rodada passa das " + std::to_string(turno) + " rodadas do campeonato e das " +
                   std::to_string(rodadas_da_temporada(turno)) + " de uma temporada de turno e returno.";
        if (numero != rodada_ + 1)
            return "esperava a " + std::to_string(rodada_ + 1) + "ª rodada e encontrou a " + texto + "ª.";
        rodada_ = static_cast<int>(numero);
        vaga_ = 0;
        return {};
    }

    std::string le_jogo(std::string_view nome_mandante, std::string_view nome_visitante)
    {
        if (rodada_ == 0) return "o jogo vem antes do cabeçalho da 1ª rodada.";
        int times[2] = {0, 0};
        const std::string_view nomes[2] = {nome_mandante, nome_visitante};
        for (int k = 0; k < 2; ++k) {
            const auto achado = times_.find(std::string(nomes[k]));
            if (achado == times_.end()) return "o time " + citado(nomes[k]) + " não é deste campeonato.";
            times[k] = achado->second;
        }
        const auto [mandante, visitante] = times;
        if (mandante == visitante) return nome(mandante) + " joga contra si mesmo.";
        int& rodada_do_encontro = rodada_do_encontro_[indice(mandante, visitante)];
        if (const int r = rodada_do_encontro; r != 0)
            return nome(mandante) + " e " + nome(visitante) + " já se enfrentaram " +
                   (voltas_ == 1 ? std::string() : "com " + nome(mandante) + " em casa ") + "na " + std::to_string(r) +
                   "ª rodada.";
        if (vaga_ >= campeonato_.jogos_por_rodada())
            return "a " + std::to_string(rodada_) + "ª rodada tem mais jogos do que os " +
                   std::to_string(campeonato_.jogos_por_rodada()) + " que cabem nela.";
        tabela_[rodada_ - 1][vaga_++] = jogo_entre(mandante, visitante);
        rodada_do_encontro = rodada_;
        return {};
    }

    const Campeonato& campeonato_;
    Tabela& tabela_;
    int voltas_;
    std::unordered_map<std::string, int> times_;
    std::vector<int> rodada_do_encontro_;  // (N+1) x (N+1), lower team first: the round from 1, or 0
    int rodada_ = 0;                       // the round being read, from 1; 0 before the first
    int vaga_ = 0;
    bool com_texto_ = false;  // a line other than blanks was read
    std::string fo_;
};

}  // namespace

Desfecho le_resultado(std::string_view bytes, std::string_view nome, const Campeonato& campeonato, Tabela& tabela,
                      std::string* fo_do_arquivo)
{
    bytes = sem_bom(bytes);
    // A zip archive, as a workbook is: the schedule is scored from the text file saved with it.
    if (eh_pasta_de_trabalho(bytes))
        return Desfecho::erro("Erro no arquivo de resultado \"" + nome_exibivel(nome) +
                              "\": ele é uma pasta de trabalho (.xlsx); --avaliar lê o arquivo de resultado de texto "
                              "(.txt ou .xls), como o KELM o grava ou no mesmo formato.");
    if (auto p = problema_de_texto(bytes)) return Desfecho::erro(erro_no_arquivo(tipo, nome, p->linha, p->problema));
    // Names and headings are compared in UTF-8; a file that is not UTF-8 is Latin-1.
    const std::string texto = utf8_valido(bytes) ? std::string(bytes) : latin1_para_utf8(bytes);

    const int voltas = maior_rodada(texto) > campeonato.num_rodadas ? 2 : 1;
    Tabela lida;
    try {
        lida = aloca_matriz_jogos(voltas * campeonato.num_rodadas, campeonato.jogos_por_rodada());
    } catch (const ErroAlocacao& e) {
        return Desfecho::simples(e.what());
    }
    Leitura leitura(campeonato, lida, voltas);
    std::string_view resto = texto;
    int linha = 0;
    while (!resto.empty()) {
        ++linha;
        const std::size_t fim = resto.find('\n');
        std::string_view conteudo = resto.substr(0, fim);
        resto.remove_prefix(fim == std::string_view::npos ? resto.size() : fim + 1);
        if (!conteudo.empty() && conteudo.back() == '\r') conteudo.remove_suffix(1);
        if (const std::string problema = leitura.le_linha(conteudo); !problema.empty())
            return Desfecho::erro(erro_no_arquivo(tipo, nome, linha, problema));
    }
    if (const std::string problema = leitura.confere_encontros(); !problema.empty())
        return Desfecho::erro(erro_no_arquivo(tipo, nome, std::max(linha, 1), problema));
    tabela = std::move(lida);
    if (fo_do_arquivo != nullptr) *fo_do_arquivo = leitura.fo();
    return Desfecho::ok();
}

Desfecho carrega_resultado(const Campeonato& campeonato, const std::filesystem::path& caminho, Tabela& tabela,
                           std::string* fo_do_arquivo)
{
    std::string bytes;
    std::string motivo;
    if (!le_arquivo(caminho, bytes, motivo))
        return Desfecho::erro(msg_resultado_nao_aberto, nome_exibivel(caminho.string()) + ": " + motivo + ".");
    return le_resultado(bytes, caminho.string(), campeonato, tabela, fo_do_arquivo);
}

}  // namespace kelm
