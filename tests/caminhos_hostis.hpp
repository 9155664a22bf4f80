#pragma once

// Paths that would lead a save onto a file in use or onto the command's other output, through
// links of every kind: one table that kelm-lote (tests/robustez/teste_destinos.cpp) and the
// window's save (tests/ui/teste_execucao.cpp) both go through. Each case is played in a folder
// that holds a copy of the 6-team championship, a requirements file of it (req.txt), in force,
// and an empty folder (sub); the links are made in it first.

#include <filesystem>
#include <fstream>
#include <map>
#include <vector>

namespace kelm::teste {

struct CaminhoHostil {
    const char* nome;
    std::vector<std::pair<const char*, const char*>> links;  // made in the folder: the link, its target
    const char* destino;    // the result, from the folder
    const char* relatorio;  // kelm-lote's report, from the folder; null: a case of the window too
    const char* papel;      // the file it would be written over; null: the links lead nowhere
    const char* sobre;      // that file, from the folder
};

inline const CaminhoHostil caminhos_hostis[] = {
    {"OsRequisitosEmVigor", {}, "req.txt", nullptr, "arquivo de requisitos", "req.txt"},
    {"LinksEmCadeia", {{"l1.txt", "l2.txt"}, {"l2.txt", "nordeste_nomes.txt"}}, "l1.txt", nullptr,
     "arquivo de nomes de times", "nordeste_nomes.txt"},
    {"AlvoRelativoAPastaDoLink", {{"sub/l.txt", "../req.txt"}}, "sub/l.txt", nullptr, "arquivo de requisitos", "req.txt"},
    {"PastaPorUmLink", {{"pl", "."}}, "pl/nordeste_distancias.txt", nullptr, "arquivo de distâncias",
     "nordeste_distancias.txt"},
    {"LinksEmLaco", {{"laco.txt", "volta.txt"}, {"volta.txt", "laco.txt"}}, "laco.txt", nullptr, nullptr, nullptr},
    {"LinkPendenteAoResultado", {{"rl.txt", "res.txt"}}, "res.txt", "rl.txt", "resultado", "res.txt"},
    {"LinkPendenteAPlanilha", {{"tl.txt", "tab.xlsx"}}, "tab.xlsx", "tl.txt", "resultado", "tab.xlsx"},
    {"LinkPendenteEmCadeiaPorOutraPasta", {{"d1.txt", "ps/d2.txt"}, {"ps", "sub"}, {"sub/d2.txt", "../novo.txt"}},
     "novo.txt", "d1.txt", "resultado", "novo.txt"},
};

// What the save says when the links of a case lead nowhere.
inline constexpr const char* motivo_laco = "os links do caminho levam uns aos outros sem chegar a um arquivo";

// Puts in `pasta` the championship's three files from `exemplos`, req.txt and sub.
inline void prepara_pasta_hostil(const std::filesystem::path& pasta, const std::filesystem::path& exemplos)
{
    for (const char* nome : {"nordeste.dat", "nordeste_distancias.txt", "nordeste_nomes.txt"})
        std::filesystem::copy_file(exemplos / nome, pasta / nome, std::filesystem::copy_options::overwrite_existing);
    std::ofstream(pasta / "req.txt") << "fora Bahia rodadas 1\n";
    std::filesystem::create_directories(pasta / "sub");
}

// Every entry under `pasta` (`em` the subfolder listed), links as links, never followed, with
// the bytes of the files.
inline std::map<std::string, std::string> conteudo_da_pasta(const std::filesystem::path& pasta,
                                                             const std::filesystem::path& em = {})
{
    std::map<std::string, std::string> c;
    for (const auto& e : std::filesystem::directory_iterator(pasta / em)) {
        const std::string nome = (em / e.path().filename()).string();
        std::ifstream f(e.path(), std::ios::binary);
        if (e.is_symlink()) c[nome] = "-> " + std::filesystem::read_symlink(e.path()).string();
        else if (e.symlink_status().type() == std::filesystem::file_type::directory) c.merge(conteudo_da_pasta(pasta, nome));
        else c[nome].assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
    }
    return c;
}

}  // namespace kelm::teste
