#pragma once

#include <optional>
#include <string>
#include <string_view>

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

}  // namespace kelm
