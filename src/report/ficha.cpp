#include "report/ficha.hpp"

#include <array>
#include <filesystem>


namespace kelm {

namespace {

// What each count counts, in the planner's words, Inviabilidade 1 to 10.
constexpr std::array<const char*, num_contagens> descricoes = {
    "Jogos de um time além do primeiro numa mesma rodada",
    "Times que começam com dois jogos em casa ou dois fora",
    "Times que começam alternando e não terminam como começaram",
    "Diferença entre jogos em casa e fora de cada time",
    "Jogos entre times do mesmo estado na última rodada",
    "Jogos fora de casa além do segundo seguido",
    "Jogos em casa além do segundo seguido",
    "Distância total percorrida (km)",
    "Diferença entre a maior e a menor distância percorrida (km)",
    "Requisitos do planejador não atendidos",
};

// The objectives among the first `contadas` counts, as "1, 2, 8", or "nenhum".
std::string lista_objetivos(const std::array<std::int32_t, num_contagens>& objetivos, std::size_t contadas)
{
    std::string lista;
    for (std::size_t i = 0; i < contadas; ++i)
        if (objetivos[i] != 0) lista += (lista.empty() ? "" : ", ") + std::to_string(i + 1);
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
    // The tenth count belongs only to a result drawn up under the planner's requirements.
    const bool com_requisitos = procedencia.com_requisitos;
    const std::size_t contadas = com_requisitos ? num_contagens : num_inviabilidades;
    for (std::size_t i = 0; i < contadas; ++i)
        f.contagens.push_back({"Inviabilidade " + std::to_string(i + 1), descricoes[i], contagens[i], procedencia.pesos[i],
                               procedencia.objetivos_no_fim[i] != 0});
    if (!f.campeonato.empty()) f.procedencia.push_back({"Campeonato", f.campeonato, {}});
    f.procedencia.push_back({"Busca",
                             procedencia.busca == TipoBusca::compacta ? "compacta (rodadas completas)"
                                                                      : "padrão (troca de jogos e de mandos)",
                             {}});
    f.procedencia.push_back({"Semente", std::to_string(procedencia.semente), static_cast<double>(procedencia.semente)});
    if (procedencia.execucoes > 1)
        f.procedencia.push_back({"Execuções", descreve_execucoes(procedencia), {}});
    if (procedencia.parada)
        f.procedencia.push_back({"Execução", "parada pelo planejador: a melhor tabela encontrada até então", {}});
    f.procedencia.push_back({"Temporada",
                             procedencia.returno == Returno::espelhado ? "turno e returno espelhado"
                             : procedencia.returno == Returno::frances ? "turno e returno francês"
                                                                       : "só o turno",
                             {}});
    if (com_requisitos)
        f.procedencia.push_back(
            {"Requisitos", std::filesystem::path(procedencia.requisitos).filename().string(), {}});
    f.procedencia.push_back({"Objetivos escolhidos", lista_objetivos(procedencia.objetivos, contadas), {}});
    f.procedencia.push_back({"Objetivos no fim da execução", lista_objetivos(procedencia.objetivos_no_fim, contadas), {}});
    return f;
}

std::string nome_do_campeonato(const std::string& arquivo_dados)
{
    return std::filesystem::path(arquivo_dados).stem().string();
}

std::string descreve_execucoes(const Procedencia& procedencia)
{
    const std::uint32_t ultima = procedencia.primeira_semente + static_cast<std::uint32_t>(procedencia.execucoes - 1);
    return "a melhor de " + std::to_string(procedencia.execucoes) + " execuções, sementes " +
           std::to_string(procedencia.primeira_semente) + " a " + std::to_string(ultima);
}

}  // namespace kelm
