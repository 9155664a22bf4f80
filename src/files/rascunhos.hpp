#pragma once

#include <string>

namespace kelm {

// The temporary files and folders that saves are making right now, so that a signal which ends
// the process at once (a second Ctrl-C) can remove them first and leave nothing half made
// behind. A save makes them here, named in the process-wide list from the moment they exist,
// and lets them go once they are renamed into place or removed. The list is process-wide
// because signals are.

// Makes a new file from `modelo` (a path ending in XXXXXX, which the name replaces) as mkstemp
// does, listed before any signal can come between; its descriptor, or -1 with errno set (and
// nothing listed).
int cria_rascunho(std::string& modelo);

// Makes a new folder from `modelo` as mkdtemp does, listed likewise; false with errno set when
// it cannot be made.
bool cria_pasta_rascunho(std::string& modelo);

// Lists a file a library makes inside a listed folder, which may not exist yet.
void lista_rascunho(const std::string& caminho);

// Takes `caminho` off the list: it was renamed into place or removed.
void esquece_rascunho(const std::string& caminho);

// Removes every listed file, then every listed folder (empty by then). Only calls that are
// safe in a signal handler.
void apaga_rascunhos() noexcept;

}  // namespace kelm
