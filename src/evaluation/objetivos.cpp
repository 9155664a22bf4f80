#include "evaluation/objetivos.hpp"

#include <algorithm>
#include <optional>

#include "model/numeros.hpp"

namespace kelm {

Desfecho define_objetivos(Criterios& criterios, const std::array<bool, num_inviabilidades>& marcados,
                          std::optional<bool> requisitos, std::optional<bool> mudancas)
{
    bool algum = false;
    for (std::size_t i = 0; i < num_inviabilidades; ++i) {
        criterios.objetivos[i] = marcados[i] ? 1 : 0;
        algum = algum || marcados[i];
    }
    if (requisitos) {
        criterios.objetivos[static_cast<std::size_t>(Inviabilidade::requisitos)] = *requisitos ? 1 : 0;
        algum = algum || *requisitos;
    }
    if (mudancas) {
        criterios.objetivos[static_cast<std::size_t>(Inviabilidade::mudancas)] = *mudancas ? 1 : 0;
        algum = algum || *mudancas;
    }
    criterios.objetivos_escolhidos = algum;
    if (!algum) return {false, TipoMensagem::informacao, msg_escolha_objetivos, {}};
    return Desfecho::ok();
}

Desfecho define_objetivos_com_requisitos(Criterios& criterios, const std::array<bool, num_contagens>& marcados)
{
    std::array<bool, num_inviabilidades> nove{};
    std::copy_n(marcados.begin(), num_inviabilidades, nove.begin());
    return define_objetivos(criterios, nove, marcados[static_cast<std::size_t>(Inviabilidade::requisitos)],
                            marcados[static_cast<std::size_t>(Inviabilidade::mudancas)]);
}

Desfecho aplica_pesos(Criterios& criterios, const std::array<std::string, num_inviabilidades>& textos, char separador,
                      int* campo_com_erro, const std::string* texto_requisitos, const std::string* texto_mudancas)
{
    for (std::size_t i = 0; i < num_contagens; ++i) {
        const std::string* extra = i == static_cast<std::size_t>(Inviabilidade::requisitos) ? texto_requisitos
                                   : i == static_cast<std::size_t>(Inviabilidade::mudancas) ? texto_mudancas
                                                                                            : nullptr;
        if (i >= num_inviabilidades && extra == nullptr) continue;
        const std::string& texto = i < num_inviabilidades ? textos[i] : *extra;
        std::int32_t peso = 0;
        Desfecho d = converte_peso(texto, separador, static_cast<int>(i) + 1, peso);
        if (!d.sucesso) {
            if (campo_com_erro != nullptr) *campo_com_erro = static_cast<int>(i);
            return d;
        }
        criterios.pesos[i] = peso;
    }
    return Desfecho::ok();
}

void liga_objetivos_segunda_fase(Criterios& criterios)
{
    for (std::size_t i = 1; i < num_contagens; ++i) criterios.objetivos[i] = 1;
}

}  // namespace kelm
