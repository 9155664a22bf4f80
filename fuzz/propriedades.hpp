#pragma once

// Properties every reader of a file shares, checked by the fuzz targets' verifiers: the form
// of a refusal, and the same reading of the same text written with other line ends or a
// byte-order mark.

#include <charconv>
#include <string>
#include <string_view>

#include "files/texto.hpp"
#include "model/desfecho.hpp"

namespace kelm::fuzz {

inline constexpr std::string_view bom = "\xEF\xBB\xBF";
inline constexpr std::string_view sufixo_recusa = " Os dados não foram carregados.";

inline int conta_linhas(std::string_view s)
{
    int n = 1;
    for (const char c : s)
        if (c == '\n') ++n;
    return n;
}

// The same text written in Latin-1, which a reader must read as it reads the UTF-8: nothing
// when the text is not UTF-8, has a character Latin-1 lacks, or gives bytes that are UTF-8
// themselves or open as UTF-16 does ("ÿþ" is FF FE in Latin-1), which are other files.
inline std::string em_latin1_distinto(std::string_view bytes)
{
    if (!utf8_valido(bytes)) return {};
    const auto latin1 = utf8_para_latin1(bytes);
    if (!latin1 || *latin1 == bytes || utf8_valido(*latin1)) return {};
    if (latin1->starts_with("\xFF\xFE") || latin1->starts_with("\xFE\xFF")) return {};
    return *latin1;
}

// The same bytes with every line ending in CR LF; only meant for text without CR.
inline std::string com_crlf(std::string_view s)
{
    std::string saida;
    for (const char c : s) {
        if (c == '\n') saida.push_back('\r');
        saida.push_back(c);
    }
    return saida;
}

inline bool tem_cr(std::string_view s) { return s.find('\r') != std::string_view::npos; }

// A refusal of bad contents: "Erro no arquivo de <tipo> "<nome>", linha L: ...<sufixo>", with
// L from 1 to `linhas`, the text valid UTF-8. An empty `nome` accepts any name.
inline std::string verifica_recusa(const Desfecho& d, std::string_view tipo, std::string_view nome, int linhas,
                                   std::string_view sufixo = sufixo_recusa)
{
    if (d.sucesso || d.tipo != TipoMensagem::erro) return "recusa sem o ícone de erro: " + d.texto;
    if (!utf8_valido(d.texto) || !utf8_valido(d.detalhe)) return "mensagem que não é UTF-8: " + d.texto;
    const std::string inicio = "Erro no arquivo de " + std::string(tipo) + " \"" + std::string(nome);
    if (!d.texto.starts_with(inicio)) return "mensagem sem o começo esperado: " + d.texto;
    const std::size_t p = nome.empty() ? d.texto.find("\", linha ", inicio.size()) : inicio.size();
    if (p == std::string::npos || d.texto.compare(p, 9, "\", linha ") != 0) return "mensagem sem a linha: " + d.texto;
    long linha = 0;
    const char* fim = d.texto.data() + d.texto.size();
    const auto [depois, erro] = std::from_chars(d.texto.data() + p + 9, fim, linha);
    if (erro != std::errc{} || !std::string_view(depois, fim).starts_with(": ")) return "linha mal escrita: " + d.texto;
    if (linha < 1 || linha > linhas) return "a linha " + std::to_string(linha) + " não existe no arquivo: " + d.texto;
    if (!d.texto.ends_with(sufixo)) return "mensagem sem o fim esperado: " + d.texto;
    return {};
}

// The same bytes with a line break after them, with CR LF line ends, or after a byte-order
// mark, read as the bytes themselves: the same outcome and, when read, the same value.
// `le(bytes)` reads them and returns the outcome and the value.
template <class Valor, class Leitura>
std::string mesma_leitura_nas_variantes(std::string_view bytes, const Desfecho& d, const Valor& valor, Leitura le)
{
    std::string variantes[3];
    const char* nomes[3] = {"uma quebra de linha no fim", "CR LF", "BOM"};
    if (d.sucesso) variantes[0] = std::string(bytes) + "\n";
    if (!tem_cr(bytes)) variantes[1] = com_crlf(bytes);
    if (bytes.substr(0, 3) != bom) variantes[2] = std::string(bom) + std::string(bytes);
    for (int k = 0; k < 3; ++k) {
        if (variantes[k].empty()) continue;
        const auto [e, outro] = le(variantes[k]);
        if (d.sucesso != e.sucesso || d.texto != e.texto || d.tipo != e.tipo)
            return "com " + std::string(nomes[k]) + " o desfecho muda: \"" + d.texto + "\" / \"" + e.texto + "\"";
        if (d.sucesso && !(outro == valor)) return "com " + std::string(nomes[k]) + " a leitura muda";
    }
    return {};
}

}  // namespace kelm::fuzz
