#include "files/requisitos.hpp"

#include <algorithm>
#include <charconv>
#include <optional>
#include <set>
#include <unordered_map>

#include "files/carga.hpp"
#include "files/texto.hpp"

namespace kelm {

namespace {

constexpr std::string_view tipo_arquivo = "requisitos";

// The words of a line, separated by blanks, the comment after '#' left out.
std::vector<std::string_view> palavras(std::string_view linha)
{
    linha = linha.substr(0, linha.find('#'));
    std::vector<std::string_view> saida;
    std::size_t i = 0;
    while (i < linha.size()) {
        while (i < linha.size() && (linha[i] == ' ' || linha[i] == '\t')) ++i;
        std::size_t fim = i;
        while (fim < linha.size() && linha[fim] != ' ' && linha[fim] != '\t') ++fim;
        if (fim > i) saida.push_back(linha.substr(i, fim - i));
        i = fim;
    }
    return saida;
}

std::string citado(std::string_view texto)
{
    return '"' + (texto.size() <= max_caracteres ? std::string(texto) : trecho_legivel(texto)) + '"';
}

std::optional<TipoRequisito> tipo_de(std::string_view palavra)
{
    if (palavra == "casa") return TipoRequisito::casa;
    if (palavra == "fora") return TipoRequisito::fora;
    if (palavra == "maximo" || palavra == "máximo") return TipoRequisito::maximo;
    if (palavra == "jogo") return TipoRequisito::jogo;
    if (palavra == "encontro") return TipoRequisito::encontro;
    if (palavra == "sem-encontro") return TipoRequisito::sem_encontro;
    return std::nullopt;
}

// A whole number written in decimal digits, at most `maximo`; nothing otherwise (a minus
// sign included: no count of teams or rounds is negative).
std::optional<int> numero(std::string_view texto, int maximo)
{
    int valor = 0;
    const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), valor);
    if (texto.empty() || erro != std::errc() || fim != texto.data() + texto.size() || valor < 0 || valor > maximo)
        return std::nullopt;
    return valor;
}

// Reads one requirements file, line by line, into requirements.
class Leitura {
public:
    explicit Leitura(const Campeonato& campeonato) : campeonato_(campeonato)
    {
        for (int t = 1; t <= campeonato.num_times; ++t) times_.emplace(campeonato.nomes_times[static_cast<std::size_t>(t)], t);
    }

    // The problem of one line, or an empty text; a requirement read goes to `itens`.
    std::string le_linha(std::string_view linha, int numero_linha, std::vector<Requisito>& itens)
    {
        const std::vector<std::string_view> p = palavras(linha);
        if (p.empty()) return {};
        const auto tipo = tipo_de(p[0]);
        if (!tipo)
            return "o requisito " + citado(p[0]) +
                   " não existe: cada linha começa por casa, fora, maximo, jogo, encontro ou sem-encontro.";
        Requisito r;
        r.tipo = *tipo;
        r.linha = numero_linha;
        const auto onde = std::find(p.begin(), p.end(), std::string_view("rodadas"));
        // The names run from after the kind (and K) to "rodadas"; a line that ends, or reaches
        // "rodadas", before them has none.
        const auto primeiro_nome = p.begin() + std::min<std::ptrdiff_t>(r.tipo == TipoRequisito::maximo ? 2 : 1, onde - p.begin());
        const std::vector<std::string_view> nomes(primeiro_nome, onde);
        if (r.tipo == TipoRequisito::maximo) {
            if (p.size() < 2) return "falta o máximo de times em casa: maximo K TIME TIME ... [rodadas LISTA].";
            const auto k = numero(p[1], campeonato_.num_times);
            if (!k) return citado(p[1]) + " não é um número de times (maximo K TIME TIME ...).";
            r.limite = *k;
        }
        if (std::string e = le_times(r.tipo, nomes, r.times); !e.empty()) return e;
        if (onde == p.end()) {
            if (r.tipo != TipoRequisito::maximo) return "falta a lista de rodadas (por exemplo: rodadas 1-3,19).";
        } else {
            std::string lista;
            for (auto w = onde + 1; w != p.end(); ++w) lista += *w;
            if (std::string e = le_rodadas(lista, r.rodadas); !e.empty()) return e;
        }
        if (r.tipo == TipoRequisito::maximo && r.limite >= static_cast<int>(r.times.size()))
            return "o máximo, " + std::to_string(r.limite) + ", deve ser menor que o número de times do grupo, " +
                   std::to_string(r.times.size()) + ".";
        itens.push_back(std::move(r));
        return {};
    }

private:
    std::string le_times(TipoRequisito tipo, const std::vector<std::string_view>& nomes, std::vector<int>& times) const
    {
        const bool um = tipo == TipoRequisito::casa || tipo == TipoRequisito::fora;
        const bool grupo = tipo == TipoRequisito::maximo;
        if (um && nomes.size() != 1) return "casa e fora pedem um time: casa TIME rodadas LISTA.";
        if (grupo && nomes.size() < 2) return "um maximo pede um grupo de dois times ou mais.";
        if (!um && !grupo && nomes.size() != 2)
            return "jogo, encontro e sem-encontro pedem dois times: jogo MANDANTE VISITANTE rodadas LISTA.";
        for (const std::string_view nome : nomes) {
            const auto achado = times_.find(std::string(nome));
            if (achado == times_.end()) return "o time " + citado(nome) + " não é deste campeonato.";
            if (std::find(times.begin(), times.end(), achado->second) != times.end())
                return grupo ? "o time " + std::string(nome) + " aparece duas vezes no grupo."
                             : std::string(nome) + " não enfrenta a si mesmo.";
            times.push_back(achado->second);
        }
        return {};
    }

    // Rounds as numbers and ranges separated by commas, up to the 2R rounds of a season.
    std::string le_rodadas(std::string_view lista, std::vector<int>& rodadas) const
    {
        const int temporada = 2 * campeonato_.num_rodadas;
        std::set<int> lidas;
        for (;;) {
            const std::size_t virgula = lista.find(',');
            const std::string_view item = lista.substr(0, virgula);
            const std::size_t traco = item.find('-');
            const auto de = numero(item.substr(0, traco), temporada + 1);
            const auto ate = traco == std::string_view::npos ? de : numero(item.substr(traco + 1), temporada + 1);
            if (!de || !ate || *de > *ate)
                return citado(item) + " não é uma rodada nem um intervalo de rodadas (como 1-3).";
            if (*de == 0) return "as rodadas começam na 1; " + citado(item) + " não serve.";
            if (*ate > temporada)
                return "a rodada " + std::to_string(*ate) + " passa das " + std::to_string(campeonato_.num_rodadas) +
                       " rodadas do campeonato e das " + std::to_string(temporada) +
                       " de uma temporada de turno e returno.";
            for (int r = *de; r <= *ate; ++r) lidas.insert(r);
            if (virgula == std::string_view::npos) break;
            lista.remove_prefix(virgula + 1);
        }
        rodadas.assign(lidas.begin(), lidas.end());
        return {};
    }

    const Campeonato& campeonato_;
    std::unordered_map<std::string, int> times_;
};

// "linhas 3 e 7", "linhas 2, 5 e 6".
std::string erro_nas_linhas(std::string_view nome, std::vector<int> linhas, std::string_view problema)
{
    std::sort(linhas.begin(), linhas.end());
    linhas.erase(std::unique(linhas.begin(), linhas.end()), linhas.end());
    std::string lista;
    for (std::size_t k = 0; k < linhas.size(); ++k)
        lista += (k == 0 ? "" : k + 1 == linhas.size() ? " e " : ", ") + std::to_string(linhas[k]);
    return "Erro no arquivo de requisitos \"" + nome_exibivel(nome) + "\", linhas " + lista +
           ": os requisitos não podem valer juntos: " + std::string(problema);
}

bool tem(const std::vector<int>& rodadas, int r) { return std::binary_search(rodadas.begin(), rodadas.end(), r); }

bool dentro(const std::vector<int>& menor, const std::vector<int>& maior)
{
    return std::includes(maior.begin(), maior.end(), menor.begin(), menor.end());
}

// The pairs of requirements (and groups) that cannot hold together, in the order of the file.
class Conflitos {
public:
    Conflitos(const Requisitos& requisitos, const Campeonato& campeonato)
        : itens_(requisitos.itens), campeonato_(campeonato), nome_(requisitos.arquivo)
    {
    }

    // The refusal of the first conflict, or an empty text.
    std::string primeiro() const
    {
        for (std::size_t i = 0; i < itens_.size(); ++i) {
            for (std::size_t j = i + 1; j < itens_.size(); ++j) {
                if (std::string e = entre(itens_[i], itens_[j]); !e.empty()) return e;
                if (std::string e = entre(itens_[j], itens_[i]); !e.empty()) return e;
            }
            if (std::string e = jogo_impossivel(itens_[i]); !e.empty()) return e;
            if (std::string e = maximo_excedido(itens_[i]); !e.empty()) return e;
        }
        return {};
    }

private:
    const std::string& nome(int t) const { return campeonato_.nomes_times[static_cast<std::size_t>(t)]; }
    static bool fixo(const Requisito& r)
    {
        return (r.tipo == TipoRequisito::jogo || r.tipo == TipoRequisito::encontro) && r.rodadas.size() == 1;
    }
    static bool mesmo_par(const Requisito& a, const Requisito& b)
    {
        return std::minmax(a.times[0], a.times[1]) == std::minmax(b.times[0], b.times[1]);
    }

    // What a and b ask that cannot both hold, a taken as the first of its kind.
    std::string entre(const Requisito& a, const Requisito& b) const
    {
        if (a.tipo == TipoRequisito::casa && b.tipo == TipoRequisito::fora && a.times[0] == b.times[0])
            for (const int r : a.rodadas)
                if (tem(b.rodadas, r))
                    return erro_nas_linhas(nome_, {a.linha, b.linha},
                                           nome(a.times[0]) + " em casa e fora na rodada " + std::to_string(r) + ".");
        if (fixo(a) && fixo(b) && a.rodadas == b.rodadas && !mesmo_par(a, b) && a.linha < b.linha)
            for (const int t : a.times)
                if (std::find(b.times.begin(), b.times.end(), t) != b.times.end())
                    return erro_nas_linhas(nome_, {a.linha, b.linha},
                                           nome(t) + " tem dois jogos marcados na rodada " + std::to_string(a.rodadas[0]) + ".");
        if ((a.tipo == TipoRequisito::jogo || a.tipo == TipoRequisito::encontro) &&
            b.tipo == TipoRequisito::sem_encontro && mesmo_par(a, b) && dentro(a.rodadas, b.rodadas))
            return erro_nas_linhas(nome_, {a.linha, b.linha},
                                   nome(a.times[0]) + " e " + nome(a.times[1]) +
                                       " devem se enfrentar em rodadas em que não podem se enfrentar.");
        return {};
    }

    // A fixed game none of whose rounds its home team may play at home, or its visitor away.
    std::string jogo_impossivel(const Requisito& j) const
    {
        if (j.tipo != TipoRequisito::jogo) return {};
        std::vector<int> linhas{j.linha};
        for (const int r : j.rodadas) {
            bool vedada = false;
            for (const Requisito& o : itens_) {
                const bool veda = (o.tipo == TipoRequisito::fora && o.times[0] == j.times[0]) ||
                                  (o.tipo == TipoRequisito::casa && o.times[0] == j.times[1]);
                if (veda && tem(o.rodadas, r)) {
                    vedada = true;
                    linhas.push_back(o.linha);
                    break;
                }
            }
            if (!vedada) return {};
        }
        return erro_nas_linhas(nome_, linhas,
                               "o jogo " + nome(j.times[0]) + " x " + nome(j.times[1]) + " não cabe em nenhuma das suas "
                               "rodadas, em que " + nome(j.times[0]) + " deve jogar fora ou " + nome(j.times[1]) +
                               " em casa.");
    }

    // A round of a maximo in which more of its teams must be at home than it allows.
    std::string maximo_excedido(const Requisito& m) const
    {
        if (m.tipo != TipoRequisito::maximo) return {};
        for (int r = 1; r <= 2 * campeonato_.num_rodadas; ++r) {
            if (!m.rodadas.empty() && !tem(m.rodadas, r)) continue;
            std::vector<int> linhas{m.linha};
            std::vector<std::string> nomes;
            for (const Requisito& o : itens_) {
                if (o.tipo != TipoRequisito::casa || !tem(o.rodadas, r)) continue;
                if (std::find(m.times.begin(), m.times.end(), o.times[0]) == m.times.end()) continue;
                linhas.push_back(o.linha);
                nomes.push_back(nome(o.times[0]));
            }
            if (static_cast<int>(nomes.size()) <= m.limite) continue;
            std::string lista;
            for (std::size_t k = 0; k < nomes.size(); ++k)
                lista += (k == 0 ? "" : k + 1 == nomes.size() ? " e " : ", ") + nomes[k];
            return erro_nas_linhas(nome_, linhas,
                                   lista + " em casa na rodada " + std::to_string(r) + ", e no máximo " +
                                       std::to_string(m.limite) + " deles podem jogar em casa.");
        }
        return {};
    }

    const std::vector<Requisito>& itens_;
    const Campeonato& campeonato_;
    const std::string& nome_;
};

}  // namespace

Desfecho confere_requisitos(const Requisitos& requisitos, const Campeonato& campeonato, int num_rodadas)
{
    for (const Requisito& r : requisitos.itens) {
        if (r.rodadas.empty() || r.rodadas.back() <= num_rodadas) continue;
        const bool turno = num_rodadas == campeonato.num_rodadas;
        return Desfecho::erro(erro_no_arquivo(
            tipo_arquivo, requisitos.arquivo, r.linha,
            "a rodada " + std::to_string(r.rodadas.back()) + " passa das " + std::to_string(num_rodadas) +
                (turno ? " rodadas do turno; só numa temporada inteira, de turno e returno, há " +
                             std::to_string(2 * num_rodadas) + " rodadas."
                       : " rodadas da temporada.")));
    }
    if (const std::string e = Conflitos(requisitos, campeonato).primeiro(); !e.empty()) return Desfecho::erro(e);
    return Desfecho::ok();
}

Desfecho le_requisitos(std::string_view bytes, std::string_view nome, const Campeonato& campeonato,
                       Requisitos& requisitos)
{
    bytes = sem_bom(bytes);
    if (auto p = problema_de_texto(bytes)) return Desfecho::erro(erro_no_arquivo(tipo_arquivo, nome, p->linha, p->problema));
    // Names are compared in UTF-8; a file that is not UTF-8 is Latin-1.
    const std::string texto = utf8_valido(bytes) ? std::string(bytes) : latin1_para_utf8(bytes);
    Leitura leitura(campeonato);
    std::vector<Requisito> itens;
    std::string_view resto = texto;
    for (int linha = 1; !resto.empty(); ++linha) {
        const std::size_t fim = resto.find('\n');
        std::string_view conteudo = resto.substr(0, fim);
        resto.remove_prefix(fim == std::string_view::npos ? resto.size() : fim + 1);
        if (!conteudo.empty() && conteudo.back() == '\r') conteudo.remove_suffix(1);
        if (const std::string problema = leitura.le_linha(conteudo, linha, itens); !problema.empty())
            return Desfecho::erro(erro_no_arquivo(tipo_arquivo, nome, linha, problema));
    }
    requisitos.arquivo = std::string(nome);
    requisitos.itens = std::move(itens);
    return Desfecho::ok();
}

Desfecho carrega_requisitos(const Campeonato& campeonato, const std::filesystem::path& caminho, Requisitos& requisitos)
{
    std::string bytes;
    std::string motivo;
    if (caminho.empty()) return Desfecho::erro(msg_requisitos_nao_aberto);
    if (!le_arquivo(caminho, bytes, motivo))
        return Desfecho::erro(msg_requisitos_nao_aberto, nome_exibivel(caminho.string()) + ": " + motivo + ".");
    return le_requisitos(bytes, caminho.string(), campeonato, requisitos);
}

}  // namespace kelm
