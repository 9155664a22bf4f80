#include "files/relatorio.hpp"

#include "files/formatos.hpp"
#include "files/resultado.hpp"

namespace kelm {

std::string texto_relatorio(const Campeonato& campeonato, const Explicacao& explicacao, char separador,
                            const std::array<std::int32_t, num_contagens>* objetivos)
{
    const auto numero = [separador](auto valor) { return formata_numero(static_cast<double>(valor), separador); };
    std::string saida;
    std::string cabecalho = "Time\tSequência\tCasa\tFora\tKm";
    const std::vector<std::size_t> vistas = explicacao.vistas.indices();
    for (const std::size_t i : vistas) cabecalho += "\tInv" + std::to_string(i + 1);
    acrescenta_linha(saida, em_latin1(cabecalho));

    long long casa = 0;
    long long fora = 0;
    long long km = 0;
    for (const LinhaTime& l : explicacao.times) {
        std::string linha = campeonato.nomes_times[static_cast<std::size_t>(l.time)] + "\t";
        for (std::size_t r = 0; r < l.sequencia.size(); ++r) linha += (r > 0 ? " " : "") + l.sequencia[r];
        linha += "\t" + numero(l.jogos_casa) + "\t" + numero(l.jogos_fora) + "\t" + numero(l.km);
        for (const std::size_t i : vistas) linha += "\t" + numero(l.parcelas[i]);
        acrescenta_linha(saida, em_latin1(linha));
        casa += l.jogos_casa;
        fora += l.jogos_fora;
        km += l.km;
    }
    std::string total = "Total\t\t" + numero(casa) + "\t" + numero(fora) + "\t" + numero(km);
    for (const std::size_t i : vistas) total += "\t" + numero(explicacao.contagens[i]);
    acrescenta_linha(saida, total);
    if (objetivos != nullptr) {
        std::string linha = "Objetivo\t\t\t\t";
        for (const std::size_t i : vistas) linha += (*objetivos)[i] != 0 ? "\tSim" : "\tNão";
        acrescenta_linha(saida, em_latin1(linha));
    }

    acrescenta_linha(saida, "");
    acrescenta_linha(saida, em_latin1("Inviabilidade\tOcorrência"));
    for (const Ocorrencia& o : explicacao.ocorrencias)
        acrescenta_linha(saida, em_latin1("Inv" + std::to_string(static_cast<int>(o.inviabilidade) + 1) + "\t" + o.frase));
    return saida;
}
}  // namespace kelm
