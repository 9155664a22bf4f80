#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelm {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool utf8_valido(std::string_view bytes);

// Latin-1 bytes as UTF-8.
std::string latin1_para_utf8(std::string_view bytes);

// UTF-8 text as Latin-1 bytes; nothing when a character lies above U+00FF.
std::optional<std::string> utf8_para_latin1(std::string_view texto);

// Number of characters (code points) of well-formed UTF-8 text.
std::size_t conta_caracteres(std::string_view texto);

// The first character of well-formed UTF-8 text that Latin-1 cannot hold, if any.
std::optional<std::string> primeiro_fora_de_latin1(std::string_view texto);

// A short, printable rendering of raw bytes for a message: at most `maximo` characters,
// bytes outside printable ASCII shown as '?'.
std::string trecho_legivel(std::string_view bytes, std::size_t maximo = 30);

// The bytes without the UTF-8 byte order mark that may start them.
std::string_view sem_bom(std::string_view bytes);

// The character at `pos` of UTF-8 text, advancing `pos`; a byte that starts no complete
// sequence is taken alone, as the Latin-1 character it would be.
char32_t proximo_caractere(std::string_view s, std::size_t& pos);

// The words of a line, separated by blanks, the comment after '#' left out.
std::vector<std::string_view> palavras(std::string_view linha);

// The line (from 1) on which the byte at `pos` stands.
int linha_em(std::string_view bytes, std::size_t pos);

// A file name as a message shows it: always UTF-8 text. Names of files are bytes; one that
// is not UTF-8 (written in Latin-1 in a data file from Windows) is shown as Latin-1.
std::string nome_exibivel(std::string_view nome);

// What makes bytes something other than text, and on which line.
struct ProblemaTexto {
    int linha = 1;
    std::string problema;
};

// Why the bytes are not a text file: UTF-16, or a NUL or other control byte (tab, line
// breaks, vertical tab and form feed are allowed); nothing when they are text.
std::optional<ProblemaTexto> problema_de_texto(std::string_view bytes);

// The first part of every message about the contents of a file:
// Erro no arquivo de <tipo> "<nome>", linha <linha>: <problema>
std::string erro_no_arquivo(std::string_view tipo, std::string_view nome, int linha, std::string_view problema);

}  // namespace kelm
