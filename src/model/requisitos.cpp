#include "model/requisitos.hpp"

#include <algorithm>

namespace kelm {

namespace {

bool eh_o_pino(const Requisito& r, int mandante, int visitante, int rodada)
{
    return r.fixado && r.times.size() == 2 && r.times[0] == mandante && r.times[1] == visitante &&
           r.rodadas == std::vector<int>{rodada};
}

// The pins' lines: a pin read from the file keeps its line; the others follow the file's last
// line and the line that heads them, in order.
void numera_pinos(Requisitos& requisitos)
{
    const int do_texto = linhas_do_texto(requisitos.texto);
    int proxima = do_texto + 1;
    for (Requisito& r : requisitos.itens)
        if (r.fixado && (r.linha == 0 || r.linha > do_texto)) r.linha = ++proxima;
}

}  // namespace

int linhas_do_texto(const std::string& texto)
{
    int linhas = static_cast<int>(std::count(texto.begin(), texto.end(), '\n'));
    if (!texto.empty() && texto.back() != '\n') ++linhas;
    return linhas;
}

bool esta_fixado(const Requisitos& requisitos, int mandante, int visitante, int rodada)
{
    return std::any_of(requisitos.itens.begin(), requisitos.itens.end(),
                       [&](const Requisito& r) { return eh_o_pino(r, mandante, visitante, rodada); });
}

void fixa_jogo(Requisitos& requisitos, int mandante, int visitante, int rodada)
{
    if (esta_fixado(requisitos, mandante, visitante, rodada)) return;
    Requisito r;
    r.tipo = TipoRequisito::jogo;
    r.times = {mandante, visitante};
    r.rodadas = {rodada};
    r.fixado = true;
    requisitos.itens.push_back(std::move(r));
    requisitos.vigentes = true;
    numera_pinos(requisitos);
}

void solta_jogo(Requisitos& requisitos, int mandante, int visitante, int rodada)
{
    std::erase_if(requisitos.itens, [&](const Requisito& r) { return eh_o_pino(r, mandante, visitante, rodada); });
    numera_pinos(requisitos);
}

}  // namespace kelm
