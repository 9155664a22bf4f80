#include "files/requisitos.hpp"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
#include <set>
#include <unordered_map>

#include "evaluation/contradicoes.hpp"
#include "files/calendario.hpp"
#include "files/carga.hpp"
#include "files/texto.hpp"
#include "model/numeros.hpp"
#include "model/temporada.hpp"

namespace kelm {

namespace {

constexpr std::string_view tipo_arquivo = "requisitos";


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
    if (palavra == "fim-de-semana") return TipoRequisito::fim_de_semana;
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

constexpr std::string_view marca_de_pino = "fixado";

// Whether the line's comment marks a pin.
bool eh_pino(std::string_view linha)
{
    while (!linha.empty() && (linha.back() == '\n' || linha.back() == '\r')) linha.remove_suffix(1);
    const std::size_t cerquilha = linha.find('#');
    return cerquilha != std::string_view::npos && sem_brancos(linha.substr(cerquilha + 1)) == marca_de_pino;
}

// Reads one requirements file, line by line, into requirements.
class Leitura {
public:
    Leitura(const Campeonato& campeonato, const Calendario* calendario)
        : campeonato_(campeonato), calendario_(calendario != nullptr && calendario->em_vigor() ? calendario : nullptr)
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
                   " não existe: cada linha começa por casa, fora, maximo, jogo, encontro, sem-encontro ou "
                   "fim-de-semana.";
        Requisito r;
        r.tipo = *tipo;
        r.linha = numero_linha;
        // The list, of rounds or of dates, follows its word.
        const auto abre_lista = [](std::string_view w) { return w == "rodadas" || w == "datas"; };
        const auto onde = std::find_if(p.begin(), p.end(), abre_lista);
        if (onde != p.end() && std::find_if(onde + 1, p.end(), abre_lista) != p.end())
            return "escreva uma lista só: rodadas LISTA ou datas LISTA.";
        const bool pede_fim_de_semana = r.tipo == TipoRequisito::fim_de_semana;
        if (pede_fim_de_semana && onde != p.end())
            return "fim-de-semana não leva lista: os jogos do par caem em sábados ou domingos (fim-de-semana TIME TIME).";
        if (pede_fim_de_semana && calendario_ == nullptr) return "fim-de-semana pede" + sem_calendario;
        if (onde == p.end() && !pede_fim_de_semana)
            if (std::string e = sem_palavra_rodadas(r.tipo, p); !e.empty()) return e;
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
        if (pede_fim_de_semana) {
            for (int s = 0; s < calendario_->num_rodadas(); ++s)
                if (!fim_de_semana(calendario_->dia(s).data)) r.rodadas.push_back(s + 1);
        } else if (onde == p.end()) {
            if (r.tipo != TipoRequisito::maximo) return "falta a lista de rodadas (por exemplo: rodadas 1-3,19).";
        } else {
            std::string lista;
            for (auto w = onde + 1; w != p.end(); ++w) lista += *w;
            if (std::string e = *onde == "datas" ? le_datas(lista, r.rodadas) : le_rodadas(lista, r.rodadas); !e.empty())
                return e;
        }
        // A game pinned in the window, as a save writes it: "jogo A B rodadas 5 # fixado".
        r.fixado = r.tipo == TipoRequisito::jogo && r.rodadas.size() == 1 && eh_pino(linha);
        if (r.tipo == TipoRequisito::maximo && r.limite >= static_cast<int>(r.times.size()))
            return "o máximo, " + std::to_string(r.limite) + ", deve ser menor que o número de times do grupo, " +
                   std::to_string(r.times.size()) + ".";
        itens.push_back(std::move(r));
        return {};
    }

private:
    // A line that lists rounds without the word "rodadas" before them: "casa Bahia rodada 12",
    // "casa Bahia 12".
    std::string sem_palavra_rodadas(TipoRequisito tipo, const std::vector<std::string_view>& p) const
    {
        const std::string exemplo = tipo == TipoRequisito::maximo ? "maximo 1 Bahia Vitória rodadas 1-3,19"
                                    : tipo == TipoRequisito::casa || tipo == TipoRequisito::fora
                                        ? std::string(p[0]) + " Bahia rodadas 12"
                                        : std::string(p[0]) + " Bahia Vitória rodadas 12";
        if (std::find(p.begin() + 1, p.end(), std::string_view("rodada")) != p.end())
            return "escreva \"rodadas\", no plural, antes da lista de rodadas (por exemplo: " + exemplo + ").";
        const std::string_view ultima = p.back();
        const bool lista = p.size() > 1 && !times_.contains(std::string(ultima)) &&
                           std::all_of(ultima.begin(), ultima.end(), [](char c) { return (c >= '0' && c <= '9') || c == ',' || c == '-'; });
        if (lista)
            return "falta a palavra \"rodadas\" antes da lista " + citado(ultima) + " (por exemplo: " + exemplo + ").";
        return {};
    }

    std::string le_times(TipoRequisito tipo, const std::vector<std::string_view>& nomes, std::vector<int>& times) const
    {
        const bool um = tipo == TipoRequisito::casa || tipo == TipoRequisito::fora;
        const bool grupo = tipo == TipoRequisito::maximo;
        if (um && nomes.size() != 1) return "casa e fora pedem um time: casa TIME rodadas LISTA.";
        if (grupo && nomes.size() < 2) return "um maximo pede um grupo de dois times ou mais.";
        if (tipo == TipoRequisito::fim_de_semana && nomes.size() != 2)
            return "fim-de-semana pede dois times: fim-de-semana TIME TIME.";
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
        const int temporada = rodadas_da_temporada(campeonato_.num_rodadas);
        std::set<int> lidas;
        for (;;) {
            const std::size_t virgula = lista.find(',');
            const std::string_view item = lista.substr(0, virgula);
            const std::size_t traco = item.find('-');
            constexpr int qualquer = std::numeric_limits<int>::max();
            const auto de = numero(item.substr(0, traco), qualquer);
            const auto ate = traco == std::string_view::npos ? de : numero(item.substr(traco + 1), qualquer);
            if (!de || !ate) return citado(item) + " não é uma rodada nem um intervalo de rodadas (como 1-3).";
            if (*de > *ate) return "o intervalo " + citado(item) + " termina antes de começar; escreva-o do menor ao maior.";
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

    // Dates and ranges of dates ("18/05/2024-16/06/2024") separated by commas: the rounds of
    // the calendar whose date falls on them.
    std::string le_datas(std::string_view lista, std::vector<int>& rodadas) const
    {
        if (calendario_ == nullptr) return "as datas pedem" + sem_calendario;
        std::set<int> lidas;
        for (;;) {
            const std::size_t virgula = lista.find(',');
            const std::string_view item = lista.substr(0, virgula);
            Data de;
            Data ate;
            if (std::string e = le_intervalo(item, de, ate); !e.empty()) return e;
            if (ate < de)
                return "o intervalo " + citado(item) + " termina antes de começar; escreva-o da data menor à maior.";
            const std::vector<int> dentro = rodadas_entre(*calendario_, de, ate);
            if (dentro.empty())
                return "nenhuma rodada do calendário cai " +
                       (de == ate ? "em " + texto_data(de) : "de " + texto_data(de) + " a " + texto_data(ate)) + ".";
            for (const int s : dentro) lidas.insert(s + 1);
            if (virgula == std::string_view::npos) break;
            lista.remove_prefix(virgula + 1);
        }
        rodadas.assign(lidas.begin(), lidas.end());
        return {};
    }

    // One date, or two joined by a hyphen (which an aaaa-mm-dd date also holds: the one split
    // whose two sides are dates is the range).
    static std::string le_intervalo(std::string_view item, Data& de, Data& ate)
    {
        const std::string so = le_data(item, de);
        if (so.empty()) {
            ate = de;
            return {};
        }
        std::string do_fim;
        for (std::size_t traco = item.find('-'); traco != std::string_view::npos; traco = item.find('-', traco + 1)) {
            if (!le_data(item.substr(0, traco), de).empty()) continue;
            std::string e = le_data(item.substr(traco + 1), ate);
            if (e.empty()) return {};
            if (do_fim.empty()) do_fim = std::move(e);
        }
        return do_fim.empty() ? so : do_fim;
    }

    static inline const std::string sem_calendario =
        " um calendário, que diz em que dia cai cada rodada, e não há nenhum em vigor.";

    const Campeonato& campeonato_;
    const Calendario* calendario_;
    std::unordered_map<std::string, int> times_;
};

// The refusal of requirements that cannot hold together: "linha 4", "linhas 3 e 7", "linhas
// 2, 5 e 6", the first twelve of many and how many more.
std::string erro_nas_linhas(std::string_view nome, std::vector<int> linhas, std::string_view problema)
{
    std::sort(linhas.begin(), linhas.end());
    linhas.erase(std::unique(linhas.begin(), linhas.end()), linhas.end());
    constexpr std::size_t mostradas = 12;
    std::vector<std::string> itens;
    for (std::size_t k = 0; k < linhas.size() && k < mostradas; ++k) itens.push_back(std::to_string(linhas[k]));
    if (linhas.size() > mostradas) itens.push_back("outras " + std::to_string(linhas.size() - mostradas));
    std::string lista;
    for (std::size_t k = 0; k < itens.size(); ++k) lista += (k == 0 ? "" : k + 1 == itens.size() ? " e " : ", ") + itens[k];
    const bool uma = linhas.size() == 1;
    return "Erro no arquivo de requisitos \"" + nome_exibivel(nome) + (uma ? "\", linha " : "\", linhas ") + lista +
           (uma ? ": o requisito não pode valer: " : ": os requisitos não podem valer juntos: ") + std::string(problema);
}

}  // namespace

Desfecho confere_requisitos(const Requisitos& requisitos, const Campeonato& campeonato, int num_rodadas,
                            Returno esquema)
{
    for (const Requisito& r : requisitos.itens) {
        if (r.rodadas.empty() || r.rodadas.back() <= num_rodadas) continue;
        const bool turno = num_rodadas == campeonato.num_rodadas;
        return Desfecho::erro(erro_no_arquivo(
            tipo_arquivo, requisitos.arquivo, r.linha,
            "a rodada " + std::to_string(r.rodadas.back()) + " passa das " + std::to_string(num_rodadas) +
                (turno ? " rodadas do turno; só numa temporada inteira, de turno e returno, há " +
                             std::to_string(rodadas_da_temporada(num_rodadas)) + " rodadas."
                       : " rodadas da temporada.")));
    }
    if (const auto c = primeira_contradicao(requisitos, campeonato, num_rodadas, esquema))
        return Desfecho::erro(erro_nas_linhas(requisitos.arquivo, c->linhas, c->problema));
    return Desfecho::ok();
}

Desfecho confere_requisitos(const Requisitos& requisitos, const Campeonato& campeonato, Returno returno)
{
    return confere_requisitos(requisitos, campeonato, rodadas_da_execucao(campeonato.num_rodadas, returno), returno);
}

Desfecho le_requisitos(std::string_view bytes, std::string_view nome, const Campeonato& campeonato,
                       Requisitos& requisitos, const Calendario* calendario)
{
    bytes = sem_bom(bytes);
    if (auto p = problema_de_texto(bytes)) return Desfecho::erro(erro_no_arquivo(tipo_arquivo, nome, p->linha, p->problema));
    // Names are compared in UTF-8; a file that is not UTF-8 is Latin-1.
    const std::string texto = utf8_valido(bytes) ? std::string(bytes) : latin1_para_utf8(bytes);
    Leitura leitura(campeonato, calendario);
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
    requisitos.vigentes = true;
    requisitos.texto = texto;
    if (requisitos.itens.empty())
        return Desfecho::ok("O arquivo de requisitos \"" + nome_exibivel(nome) + "\" não tem nenhum requisito.");
    return Desfecho::ok();
}

std::string texto_requisitos(const Requisitos& requisitos, const Campeonato& campeonato)
{
    std::string saida;
    const int do_texto = linhas_do_texto(requisitos.texto);
    std::string_view resto = requisitos.texto;
    for (int linha = 1; !resto.empty(); ++linha) {
        const std::size_t fim = resto.find('\n');
        const std::string_view conteudo = resto.substr(0, fim == std::string_view::npos ? resto.size() : fim + 1);
        resto.remove_prefix(conteudo.size());
        // A pin of the file released since it was read is left out.
        const bool solto = eh_pino(conteudo) && std::none_of(requisitos.itens.begin(), requisitos.itens.end(),
                                                             [&](const Requisito& r) { return r.fixado && r.linha == linha; });
        if (!solto) saida += conteudo;
    }
    if (!saida.empty() && saida.back() != '\n') saida += '\n';
    const auto nome = [&](int t) { return campeonato.nomes_times[static_cast<std::size_t>(t)]; };
    bool cabecalho = false;
    for (const Requisito& r : requisitos.itens) {
        if (!r.fixado || r.linha <= do_texto) continue;
        if (!cabecalho) saida += "# Jogos fixados na janela do KELM: cada um na sua rodada, com o seu mando.\n";
        cabecalho = true;
        saida += "jogo " + nome(r.times[0]) + " " + nome(r.times[1]) + " rodadas " + std::to_string(r.rodadas[0]) + " # " +
                 std::string(marca_de_pino) + "\n";
    }
    return saida;
}

Desfecho carrega_requisitos(const Campeonato& campeonato, const std::filesystem::path& caminho, Requisitos& requisitos,
                            const Calendario* calendario)
{
    std::string bytes;
    std::string motivo;
    if (caminho.empty()) return Desfecho::erro(msg_requisitos_nao_aberto);
    if (!le_arquivo(caminho, bytes, motivo))
        return Desfecho::erro(msg_requisitos_nao_aberto, nome_exibivel(caminho.string()) + ": " + motivo + ".");
    return le_requisitos(bytes, caminho.string(), campeonato, requisitos, calendario);
}

}  // namespace kelm
