#include "verificacoes.hpp"

#include <charconv>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <tuple>
#include <stdexcept>
#include <utility>
#include <vector>

#include <unistd.h>

#include "evaluation/objetivos.hpp"
#include "files/carga.hpp"
#include "files/texto.hpp"
#include "model/estado.hpp"
#include "neighbourhoods/padrao/solucao_inicial.hpp"
#include "propriedades.hpp"
#include "search/comandos.hpp"

namespace kelm::fuzz {

namespace {

bool eh_espaco(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool eh_controle(unsigned char b) { return b < 0x20 || b == 0x7F; }

std::vector<std::string_view> tokens(std::string_view s)
{
    std::vector<std::string_view> saida;
    std::size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && eh_espaco(s[i])) ++i;
        const std::size_t inicio = i;
        while (i < s.size() && !eh_espaco(s[i])) ++i;
        if (i > inicio) saida.push_back(s.substr(inicio, i - inicio));
    }
    return saida;
}

// ---- Data file ---------------------------------------------------------------------

bool caminho_aceitavel(const std::string& c)
{
    if (c.empty() || c.size() > max_caracteres) return false;
    for (const char ch : c)
        if (eh_espaco(ch) || eh_controle(static_cast<unsigned char>(ch))) return false;
    return true;
}

// ---- Distances file ----------------------------------------------------------------

std::string verifica_matriz(const Matriz<std::int32_t>& m, int n)
{
    const long long maior = static_cast<long long>(INT32_MAX) / (n - 1);
    for (int i = 0; i <= n; ++i) {
        for (int j = 0; j <= n; ++j) {
            const std::int32_t d = m[i][j];
            if ((i == 0 || j == 0) && d != 0) return "a linha ou coluna 0 da matriz recebeu uma distância";
            if (d < 0 || d > maior) return "distância aceita fora da faixa: " + std::to_string(d);
        }
    }
    return {};
}

// ---- Weights -----------------------------------------------------------------------

constexpr std::int32_t sentinela = 0x5A5A5A5A;

// The number a weight text holds, with '.' as its separator, when the text is blanks (space,
// tab), [+-] digits [sep digits] [e [+-] digits], blanks, with at least one digit before
// the exponent; nothing otherwise.
std::optional<std::string> numero_normalizado(std::string_view texto, char separador)
{
    const std::size_t inicio = texto.find_first_not_of(" \t");
    if (inicio == std::string_view::npos) return std::nullopt;
    std::string s(texto.substr(inicio, texto.find_last_not_of(" \t") + 1 - inicio));
    std::size_t i = 0;
    auto digitos = [&] {
        const std::size_t de = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i - de;
    };
    auto sinal = [&] { i += i < s.size() && (s[i] == '+' || s[i] == '-') ? 1 : 0; };
    sinal();
    std::size_t total = digitos();
    if (i < s.size() && s[i] == separador) {
        s[i++] = '.';
        total += digitos();
    }
    if (total == 0) return std::nullopt;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        sinal();
        if (digitos() == 0) return std::nullopt;
    }
    if (i != s.size()) return std::nullopt;
    return s;
}

// ---- Whole load --------------------------------------------------------------------

// The folder where the three files of an input are written, made once per process and
// removed at its end. /dev/shm keeps the writes in memory where there is one.
struct PastaCarga {
    std::filesystem::path caminho;

    PastaCarga()
    {
        const char* base = ::access("/dev/shm", W_OK) == 0 ? "/dev/shm" : "/tmp";
        std::string modelo = std::string(base) + "/kelm-fuzz-XXXXXX";
        if (::mkdtemp(modelo.data()) == nullptr) throw std::runtime_error("mkdtemp");
        caminho = modelo;
    }
    ~PastaCarga()
    {
        std::error_code ec;
        std::filesystem::remove_all(caminho, ec);
    }

    void escreve(const char* nome, std::string_view bytes) const
    {
        std::ofstream f(caminho / nome, std::ios::binary | std::ios::trunc);
        if (!f.write(bytes.data(), static_cast<std::streamsize>(bytes.size()))) throw std::runtime_error("escrita");
    }
};

const PastaCarga& pasta_carga()
{
    static const PastaCarga pasta;
    return pasta;
}

// A championship loaded before the fuzzed one, with a result, so that a failed load can be
// seen to leave everything as it was.
const Estado& campeonato_anterior()
{
    static const Estado anterior = [] {
        pasta_carga().escreve("d0.txt", "1, 2, 10\n2, 1, 10\n1, 3, 20\n3, 4, 5\n");
        pasta_carga().escreve("n0.txt", "Um Dois Tres Quatro\n");
        pasta_carga().escreve("c0.dat", "4, 6\nd0.txt\nn0.txt\n");
        Estado e;
        const Desfecho d = carrega_dados(e.campeonato, e.execucao, pasta_carga().caminho / "c0.dat");
        if (!d.sucesso) throw std::runtime_error("o campeonato anterior não carregou: " + d.texto + d.detalhe);
        e.execucao.tabela_melhor = e.execucao.tabela_inicial;
        e.execucao.programa_executado = true;
        e.execucao.fo_star = 42.0;
        return e;
    }();
    return anterior;
}

}  // namespace

std::string verifica_dados(std::string_view entrada)
{
    constexpr std::string_view nome = "c.dat";
    auto le = [&](std::string_view bytes) {
        ItensDados itens;
        const Desfecho d = interpreta_dados(bytes, nome, itens);
        return std::pair{d, std::tuple{itens.num_times, itens.num_rodadas, itens.arquivo_distancias, itens.arquivo_nomes}};
    };
    const auto [d, itens] = le(entrada);
    const auto& [n, r, distancias, nomes] = itens;
    if (d.sucesso) {
        if (n < 3 || n > max_times) return "N aceito fora da faixa";
        if (r < rodadas_preenchidas(n) || r > max_rodadas) return "R aceito fora da faixa";
        if (!caminho_aceitavel(distancias) || !caminho_aceitavel(nomes)) return "caminho aceito vazio, longo ou com brancos";
        // Written out again, the items read the same.
        const auto [refeito, de_novo] =
            le(std::to_string(n) + ", " + std::to_string(r) + "\n" + distancias + "\n" + nomes + "\n");
        if (!refeito.sucesso || de_novo != itens) return "os itens reescritos não se leem iguais";
    } else if (auto erro = verifica_recusa(d, "dados", nome, conta_linhas(entrada)); !erro.empty()) {
        return erro;
    }
    return mesma_leitura_nas_variantes(entrada, d, itens, le);
}

std::string verifica_distancias(std::string_view entrada)
{
    if (entrada.empty()) return {};
    constexpr std::string_view nome = "d.txt";
    const int n = 3 + static_cast<unsigned char>(entrada[0]);
    const std::string_view arquivo = entrada.substr(1);
    auto le = [&](std::string_view bytes) {
        Matriz<std::int32_t> m = aloca_matriz_inteiros(n + 1, n + 1);
        const Desfecho d = interpreta_distancias(bytes, nome, n, m);
        return std::pair{d, m};
    };
    const auto [d, m] = le(arquivo);
    if (d.sucesso) {
        if (auto erro = verifica_matriz(m, n); !erro.empty()) return erro;
    } else if (auto erro = verifica_recusa(d, "distâncias", nome, conta_linhas(arquivo)); !erro.empty()) {
        return erro;
    }
    return mesma_leitura_nas_variantes(arquivo, d, m, le);
}

std::string verifica_nomes(std::string_view entrada)
{
    if (entrada.empty()) return {};
    constexpr std::string_view nome = "n.txt";
    const int n = 3 + static_cast<unsigned char>(entrada[0]);
    const std::string_view arquivo = entrada.substr(1);
    auto le = [&](std::string_view bytes) {
        std::vector<std::string> nomes;
        const Desfecho d = interpreta_nomes(bytes, nome, n, nomes);
        return std::pair{d, nomes};
    };
    const auto [d, nomes] = le(arquivo);
    if (d.sucesso) {
        if (nomes.size() != static_cast<std::size_t>(n) + 1 || !nomes[0].empty()) return "nomes_times com outro tamanho";
        // The names are the file's tokens in order, as UTF-8 when the whole file is UTF-8 and
        // as Latin-1 otherwise; teams after the last token have empty names.
        std::string_view corpo = arquivo.substr(0, 3) == bom ? arquivo.substr(3) : arquivo;
        const bool utf8 = utf8_valido(corpo);
        const auto lidos = tokens(corpo);
        if (lidos.size() > static_cast<std::size_t>(n)) return "mais nomes aceitos do que times";
        for (std::size_t k = 1; k < nomes.size(); ++k) {
            const std::string esperado =
                k <= lidos.size() ? (utf8 ? std::string(lidos[k - 1]) : latin1_para_utf8(lidos[k - 1])) : std::string();
            if (nomes[k] != esperado) return "o nome do time " + std::to_string(k) + " não é o token do arquivo";
            if (!utf8_valido(nomes[k]) || conta_caracteres(nomes[k]) > max_caracteres) return "nome aceito longo ou inválido";
            const auto em_latin1 = utf8_para_latin1(nomes[k]);
            if (!em_latin1) return "nome aceito que o Latin-1 não grava";
            for (const char c : *em_latin1) {
                const auto b = static_cast<unsigned char>(c);
                if (eh_controle(b) || (b >= 0x80 && b < 0xA0)) return "nome aceito com caractere de controle";
            }
        }
    } else if (auto erro = verifica_recusa(d, "nomes de times", nome, conta_linhas(arquivo)); !erro.empty()) {
        return erro;
    }
    return mesma_leitura_nas_variantes(arquivo, d, nomes, le);
}

std::string verifica_peso(std::string_view entrada)
{
    if (entrada.empty()) return {};
    const auto escolha = static_cast<unsigned char>(entrada[0]);
    const char separador = (escolha & 1) != 0 ? ',' : '.';
    const int numero = 1 + (escolha >> 1) % 9;
    const std::string_view texto = entrada.substr(1);

    std::int32_t peso = sentinela;
    const Desfecho d = converte_peso(texto, separador, numero, peso);
    const std::string campo = "O peso da inviabilidade " + std::to_string(numero);
    if (!d.sucesso) {
        if (peso != sentinela) return "um peso recusado mudou o valor";
        if (d.tipo != TipoMensagem::erro || d.texto.rfind(campo, 0) != 0) return "recusa sem o campo: " + d.texto;
        if (utf8_valido(texto) && !utf8_valido(d.texto)) return "mensagem que não é UTF-8";
    } else {
        // Written in decimal, the weight reads back the same.
        std::int32_t de_novo = sentinela;
        if (!converte_peso(std::to_string(peso), separador, numero, de_novo).sucesso || de_novo != peso)
            return "o peso " + std::to_string(peso) + " escrito em decimal não se lê igual";
    }

    // A reference: the shape read again here, the value by strtod (this process runs in
    // the C locale).
    const auto normalizado_opt = numero_normalizado(texto, separador);
    if (!normalizado_opt) {
        if (d.sucesso) return "aceitou um texto que não é número";
        if (!d.texto.ends_with(") não é um número.") && !d.texto.ends_with(" está vazio; escreva um número inteiro."))
            return "recusou um texto que não é número por outro motivo: " + d.texto;
        return {};
    }
    const std::string& normalizado = *normalizado_opt;
    const double valor = std::strtod(normalizado.c_str(), nullptr);
    const double truncado = std::trunc(valor);
    const bool cabe = std::isfinite(valor) && truncado >= INT32_MIN && truncado <= INT32_MAX;
    if (cabe && !d.sucesso) return "recusou " + normalizado + ", que cabe em 32 bits: " + d.texto;
    if (!cabe && d.sucesso) return "aceitou " + normalizado + ", que não cabe em 32 bits";
    if (cabe && peso != static_cast<std::int32_t>(truncado))
        return "leu " + normalizado + " como " + std::to_string(peso);
    return {};
}

std::string verifica_carga(std::string_view entrada)
{
    std::string_view partes[3];
    std::string_view resto = entrada;
    for (int k = 0; k < 3; ++k) {
        const std::size_t fim = k < 2 ? resto.find(separador_arquivos) : std::string_view::npos;
        partes[k] = resto.substr(0, fim);
        if (fim == std::string_view::npos) break;
        resto.remove_prefix(fim + 1);
    }
    const std::string_view dados = partes[0];
    if (dados.find('/') != std::string_view::npos || dados.find("..") != std::string_view::npos) return {};

    const Estado& anterior = campeonato_anterior();
    pasta_carga().escreve("c.dat", dados);
    pasta_carga().escreve("d.txt", partes[1]);
    pasta_carga().escreve("n.txt", partes[2]);

    Estado e = anterior;
    const auto caminho_dados = pasta_carga().caminho / "c.dat";
    const Desfecho d = carrega_dados(e.campeonato, e.execucao, caminho_dados);
    if (!d.sucesso) {
        if (!(e == anterior)) return "uma carga recusada mudou o estado (" + d.texto + ")";
        if (d.texto == msg_dados_nao_aberto || d.texto == msg_distancias_nao_aberto || d.texto == msg_nomes_nao_aberto) {
            if (d.tipo != TipoMensagem::erro || !utf8_valido(d.detalhe)) return "arquivo não aberto com o ícone ou o detalhe errado";
            return {};
        }
        if (d.texto.rfind("Erro no arquivo de dados ", 0) == 0)
            return verifica_recusa(d, "dados", caminho_dados.string(), conta_linhas(dados));
        // The distances or names may come from any file of the folder, the earlier
        // championship's included (a few lines each).
        const int linhas = conta_linhas(entrada) + 5;
        if (d.texto.rfind("Erro no arquivo de distâncias ", 0) == 0) return verifica_recusa(d, "distâncias", "", linhas);
        if (d.texto.rfind("Erro no arquivo de nomes de times ", 0) == 0)
            return verifica_recusa(d, "nomes de times", "", linhas);
        return "recusa com um texto desconhecido: " + d.texto;
    }

    if (d.texto != msg_carregados || d.tipo != TipoMensagem::informacao) return "sucesso com outro texto: " + d.texto;
    if (!e.campeonato.dados_carregados || e.execucao.programa_executado) return "indicadores errados depois da carga";
    const int n = e.campeonato.num_times;
    if (e.execucao.tabela_inicial.linhas() != e.campeonato.num_rodadas || e.execucao.tabela_inicial.colunas() != n / 2 ||
        e.campeonato.matriz_distancias.linhas() != n + 1 || e.campeonato.nomes_times.size() != static_cast<std::size_t>(n) + 1)
        return "tabela, distâncias ou nomes com outras dimensões";
    return verifica_matriz(e.campeonato.matriz_distancias, n);
}

}  // namespace kelm::fuzz
