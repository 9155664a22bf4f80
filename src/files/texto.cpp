#include "files/texto.hpp"

#include <cstdint>
#include <cstdio>

namespace kelm {

// Decodes the character at `pos` and advances `pos`. Meant for well-formed UTF-8; a byte
// that does not start a complete sequence is taken alone, as the Latin-1 character it
// would be, so that no read ever goes past the end of the text.
char32_t proximo_caractere(std::string_view s, std::size_t& pos)
{
    const auto b0 = static_cast<unsigned char>(s[pos]);
    const int extras = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
    bool completo = extras > 0 && s.size() - pos > static_cast<std::size_t>(extras);
    for (int k = 1; completo && k <= extras; ++k)
        completo = (static_cast<unsigned char>(s[pos + static_cast<std::size_t>(k)]) & 0xC0) == 0x80;
    if (!completo) {
        ++pos;
        return b0;
    }
    char32_t c = b0 & (0x3F >> extras);
    for (int k = 1; k <= extras; ++k) c = (c << 6) | (static_cast<unsigned char>(s[pos + static_cast<std::size_t>(k)]) & 0x3F);
    pos += static_cast<std::size_t>(extras) + 1;
    return c;
}

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

namespace {

// Control bytes that no text file of ours holds (tab, line breaks, vertical tab and form
// feed are whitespace and allowed).
bool eh_controle(char c)
{
    const auto b = static_cast<unsigned char>(c);
    return b < 0x09 || (b > 0x0D && b < 0x20) || b == 0x7F;
}

}  // namespace

bool utf8_valido(std::string_view s)
{
    std::size_t i = 0;
    const std::size_t n = s.size();
    while (i < n) {
        const auto b0 = static_cast<unsigned char>(s[i]);
        if (b0 < 0x80) {
            ++i;
            continue;
        }
        int extras;
        char32_t minimo;
        char32_t c;
        if (b0 >= 0xC2 && b0 <= 0xDF) {
            extras = 1;
            minimo = 0x80;
            c = b0 & 0x1F;
        } else if (b0 >= 0xE0 && b0 <= 0xEF) {
            extras = 2;
            minimo = 0x800;
            c = b0 & 0x0F;
        } else if (b0 >= 0xF0 && b0 <= 0xF4) {
            extras = 3;
            minimo = 0x10000;
            c = b0 & 0x07;
        } else {
            return false;
        }
        if (n - i <= static_cast<std::size_t>(extras)) return false;
        for (int k = 1; k <= extras; ++k) {
            const auto b = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
            if ((b & 0xC0) != 0x80) return false;
            c = (c << 6) | (b & 0x3F);
        }
        if (c < minimo || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(extras) + 1;
    }
    return true;
}

std::string latin1_para_utf8(std::string_view bytes)
{
    std::string saida;
    saida.reserve(bytes.size());
    for (const char ch : bytes) {
        const auto b = static_cast<unsigned char>(ch);
        if (b < 0x80) {
            saida.push_back(ch);
        } else {
            saida.push_back(static_cast<char>(0xC0 | (b >> 6)));
            saida.push_back(static_cast<char>(0x80 | (b & 0x3F)));
        }
    }
    return saida;
}

std::optional<std::string> utf8_para_latin1(std::string_view texto)
{
    std::string saida;
    saida.reserve(texto.size());
    std::size_t pos = 0;
    while (pos < texto.size()) {
        const char32_t c = proximo_caractere(texto, pos);
        if (c > 0xFF) return std::nullopt;
        saida.push_back(static_cast<char>(static_cast<unsigned char>(c)));
    }
    return saida;
}

std::size_t conta_caracteres(std::string_view texto)
{
    std::size_t n = 0;
    for (const char ch : texto)
        if ((static_cast<unsigned char>(ch) & 0xC0) != 0x80) ++n;
    return n;
}

std::optional<std::string> primeiro_fora_de_latin1(std::string_view texto)
{
    std::size_t pos = 0;
    while (pos < texto.size()) {
        const std::size_t inicio = pos;
        if (proximo_caractere(texto, pos) > 0xFF) return std::string(texto.substr(inicio, pos - inicio));
    }
    return std::nullopt;
}

std::string trecho_legivel(std::string_view bytes, std::size_t maximo)
{
    std::string saida;
    for (const char ch : bytes.substr(0, maximo)) {
        const auto b = static_cast<unsigned char>(ch);
        saida.push_back(b >= 0x20 && b < 0x7F ? ch : '?');
    }
    if (bytes.size() > maximo) saida += "...";
    return saida;
}

std::string_view sem_bom(std::string_view bytes)
{
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") bytes.remove_prefix(3);
    return bytes;
}

int linha_em(std::string_view bytes, std::size_t pos)
{
    int n = 1;
    for (std::size_t i = 0; i < pos && i < bytes.size(); ++i)
        if (bytes[i] == '\n') ++n;
    return n;
}

std::string nome_exibivel(std::string_view nome)
{
    return utf8_valido(nome) ? std::string(nome) : latin1_para_utf8(nome);
}

std::optional<ProblemaTexto> problema_de_texto(std::string_view bytes)
{
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (eh_controle(bytes[i])) {
            // What Windows programs call "Unicode" text: every character takes two bytes.
            if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
                return ProblemaTexto{1, "o arquivo está em UTF-16 (\"Unicode\"); grave-o como texto UTF-8 ou Latin-1."};
            char hex[8];
            std::snprintf(hex, sizeof hex, "0x%02X", static_cast<unsigned char>(bytes[i]));
            return ProblemaTexto{linha_em(bytes, i), std::string("o arquivo não é de texto (tem o byte de controle ") + hex + ")."};
        }
    }
    return std::nullopt;
}

std::string erro_no_arquivo(std::string_view tipo, std::string_view nome, int linha, std::string_view problema)
{
    return "Erro no arquivo de " + std::string(tipo) + " \"" + nome_exibivel(nome) + "\", linha " + std::to_string(linha) +
           ": " + std::string(problema);
}

}  // namespace kelm
