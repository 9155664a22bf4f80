#include "report/ficha.hpp"

#include <array>
#include <filesystem>

namespace kelm {

namespace {

// What each count counts, in the planner's words, Inviabilidade 1 to 9.
constexpr std::array<const char*, num_inviabilidades> descricoes = {
    "Jogos de um time além do primeiro numa mesma rodada",
    "Times que começam com dois jogos em casa ou dois fora",
    "Times que começam alternando e não terminam como começaram",
    "Diferença entre jogos em casa e fora de cada time",
    "Jogos entre times do mesmo estado na última rodada",
    "Jogos fora de casa além do segundo seguido",
    "Jogos em casa além do segundo seguido",
    "Distância total percorrida (km)",
    "Diferença entre a maior e a menor distância percorrida (km)",
};

// The objectives chosen, as "1, 2, 8", or "nenhum".
std::string lista_objetivos(const Procedencia& p)
{
    std::string lista;
    for (std::size_t i = 0; i < num_inviabilidades; ++i)
        if (p.objetivos[i] != 0) lista += (lista.empty() ? "" : ", ") + std::to_string(i + 1);
    return lista.empty() ? "nenhum" : lista;
}

}  // namespace

Ficha monta_ficha(std::string campeonato, const Contagens& contagens, double fo, const Procedencia& procedencia,
                  int inicio_returno)
{
    Ficha f;
    f.campeonato = std::move(campeonato);
    f.fo = fo;
    f.inicio_returno = inicio_returno;
    for (std::size_t i = 0; i < num_inviabilidades; ++i)
        f.contagens.push_back({"Inviabilidade " + std::to_string(i + 1), descricoes[i], contagens[i], procedencia.pesos[i],
                               procedencia.objetivos[i] != 0});
    if (!f.campeonato.empty()) f.procedencia.push_back({"Campeonato", f.campeonato, {}});
    f.procedencia.push_back({"Busca",
                             procedencia.busca == TipoBusca::compacta ? "compacta (rodadas completas)"
                                                                      : "padrão (troca de jogos e de mandos)",
                             {}});
    f.procedencia.push_back({"Semente", std::to_string(procedencia.semente), static_cast<double>(procedencia.semente)});
    f.procedencia.push_back({"Temporada",
                             procedencia.returno == Returno::espelhado ? "turno e returno espelhado"
                             : procedencia.returno == Returno::frances ? "turno e returno francês"
                                                                       : "só o turno",
                             {}});
    f.procedencia.push_back({"Objetivos escolhidos", lista_objetivos(procedencia), {}});
    return f;
}

std::string nome_do_campeonato(const std::string& arquivo_dados)
{
    return std::filesystem::path(arquivo_dados).stem().string();
}

}  // namespace kelm
