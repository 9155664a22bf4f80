#include "report/ficha.hpp"

#include <array>
#include <filesystem>
#include <string>
#include <vector>

#include "report/explicacao.hpp"


namespace kelm {

namespace {

// What each count counts, in the planner's words, Inviabilidade 1 to 11.
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
    "Jogos mudados em relação à tabela de partida",
};

// The objectives among the counts shown, as "1, 2, 8", or "nenhum".
std::string lista_objetivos(const std::array<std::int32_t, num_contagens>& objetivos, ContagensVistas vistas)
{
    std::string lista;
    for (const std::size_t i : vistas.indices())
        if (objetivos[i] != 0) lista += (lista.empty() ? "" : ", ") + std::to_string(i + 1);
    return lista.empty() ? "nenhum" : lista;
}

}  // namespace

std::string intervalos_de_rodadas(const std::vector<int>& rodadas)
{
    std::vector<std::string> partes;
    for (std::size_t i = 0; i < rodadas.size();) {
        std::size_t j = i;
        while (j + 1 < rodadas.size() && rodadas[j + 1] == rodadas[j] + 1) ++j;
        partes.push_back(j == i ? std::to_string(rodadas[i]) : std::to_string(rodadas[i]) + "-" + std::to_string(rodadas[j]));
        i = j + 1;
    }
    return partes.empty() ? "nenhuma" : junta(partes);
}

Ficha monta_ficha(std::string campeonato, const Contagens& contagens, double fo, const Procedencia& procedencia,
                  int inicio_returno)
{
    Ficha f;
    f.campeonato = std::move(campeonato);
    f.fo = fo;
    f.inicio_returno = inicio_returno;
    // The tenth count belongs only to a result drawn up under the planner's requirements, the
    // eleventh to a re-plan.
    const bool com_requisitos = procedencia.com_requisitos;
    const ContagensVistas vistas = procedencia.vistas();
    for (const std::size_t i : vistas.indices())
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
            {"Requisitos",
             procedencia.requisitos.empty() ? std::string("jogos fixados na janela")
                                            : std::filesystem::path(procedencia.requisitos).filename().string(),
             {}});
    if (procedencia.calendario.em_vigor())
        f.procedencia.push_back(
            {"Calendário", std::filesystem::path(procedencia.calendario.arquivo).filename().string(), {}});
    if (!procedencia.tabela_aberta.empty())
        f.procedencia.push_back({"Tabela aberta", std::filesystem::path(procedencia.tabela_aberta).filename().string(), {}});
    if (procedencia.com_mudancas) {
        f.procedencia.push_back({"Replanejamento a partir de",
                                 std::filesystem::path(procedencia.partida).filename().string(), {}});
        f.procedencia.push_back({"Rodadas congeladas", intervalos_de_rodadas(procedencia.congeladas), {}});
    }
    f.procedencia.push_back({"Objetivos escolhidos", lista_objetivos(procedencia.objetivos, vistas), {}});
    f.procedencia.push_back({"Objetivos no fim da execução", lista_objetivos(procedencia.objetivos_no_fim, vistas), {}});
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
