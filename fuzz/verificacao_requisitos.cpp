// What must hold for any requirements file a planner gives: typed by hand, exported by another
// tool, saved in Latin-1 by an old editor, or not a requirements file at all.

#include <algorithm>
#include <charconv>
#include <utility>
#include <vector>

#include "evaluation/requisitos.hpp"
#include "exemplos.hpp"
#include "files/requisitos.hpp"
#include "files/texto.hpp"
#include "model/temporada.hpp"
#include "neighbourhoods/compacta/tabela_compacta.hpp"
#include "propriedades.hpp"
#include "report/explicacao.hpp"
#include "verificacoes.hpp"

namespace kelm::fuzz {

namespace {

constexpr std::string_view nome = "r.txt";

// Requirements no reading makes, in place before every reading, so that a refusal that
// touched them is seen.
Requisitos requisitos_anteriores()
{
    Requisitos r;
    r.arquivo = "anteriores.txt";
    r.vigentes = true;
    r.itens.push_back({TipoRequisito::fora, 7, {1}, 0, {2, 3}});
    return r;
}

// How many teams a requirement of its kind names: {least, most}.
std::pair<std::size_t, std::size_t> times_do_tipo(TipoRequisito tipo)
{
    switch (tipo) {
    case TipoRequisito::casa:
    case TipoRequisito::fora: return {1, 1};
    case TipoRequisito::maximo: return {2, SIZE_MAX};
    default: return {2, 2};
    }
}

// The calendar requirements are read with: the season's 2R rounds every third or fourth day
// from Saturday 1 April 2023 (so that weekend and midweek rounds alternate).
Calendario calendario_da_temporada(const Campeonato& c)
{
    Calendario cal;
    cal.arquivo = "cal.txt";
    Data d{2023, 4, 1};
    for (int s = 0; s < 2 * c.num_rodadas; ++s) {
        cal.rodadas.push_back({d, std::nullopt});
        for (int k = 0; k < (s % 2 == 0 ? 4 : 3); ++k)
            d = d.dia < dias_do_mes(d.ano, d.mes) ? Data{d.ano, d.mes, d.dia + 1}
                : d.mes < 12                      ? Data{d.ano, d.mes + 1, 1}
                                                  : Data{d.ano + 1, 1, 1};
    }
    return cal;
}

// The first fault of requirements read from a file of `linhas` lines: one a line, in the
// file's order; teams of the championship, each once, as many as the kind takes; a maximo
// below its group's size; rounds from 1 to 2R, increasing, given (a maximo may hold in every
// round; a fim-de-semana has the calendar's rounds off the weekend).
std::string falha_dos_requisitos(const Campeonato& c, const Requisitos& req, int linhas, const Calendario& cal)
{
    if (req.arquivo != nome) return "requisitos lidos com outro nome de arquivo";
    int anterior = 0;
    for (const Requisito& r : req.itens) {
        const std::string onde = " (linha " + std::to_string(r.linha) + ")";
        if (r.linha <= anterior || r.linha > linhas) return "requisito fora de ordem ou além do arquivo" + onde;
        anterior = r.linha;
        const auto [menos, mais] = times_do_tipo(r.tipo);
        if (r.times.size() < menos || r.times.size() > mais) return "requisito com times de menos ou de mais" + onde;
        for (std::size_t k = 0; k < r.times.size(); ++k) {
            if (r.times[k] < 1 || r.times[k] > c.num_times) return "time fora do campeonato" + onde;
            if (std::find(r.times.begin(), r.times.begin() + static_cast<long>(k), r.times[k]) != r.times.begin() + static_cast<long>(k))
                return "time repetido num requisito" + onde;
        }
        if (r.tipo == TipoRequisito::maximo && (r.limite < 0 || r.limite >= static_cast<int>(r.times.size())))
            return "máximo que não é menor que o grupo" + onde;
        if (r.tipo == TipoRequisito::fim_de_semana) {
            std::vector<int> dias_de_semana;
            for (int s = 0; s < cal.num_rodadas(); ++s)
                if (!fim_de_semana(cal.dia(s).data)) dias_de_semana.push_back(s + 1);
            if (r.rodadas != dias_de_semana) return "fim-de-semana com rodadas que não são as do meio da semana" + onde;
        }
        if (r.rodadas.empty() && r.tipo != TipoRequisito::maximo) return "requisito sem rodadas" + onde;
        for (std::size_t k = 0; k < r.rodadas.size(); ++k)
            if (r.rodadas[k] < 1 || r.rodadas[k] > 2 * c.num_rodadas || (k > 0 && r.rodadas[k] <= r.rodadas[k - 1]))
                return "rodadas fora da temporada ou fora de ordem" + onde;
    }
    return {};
}

// Whether `linha` is the line of one of the requirements.
bool tem_linha(const Requisitos& req, long linha)
{
    return std::any_of(req.itens.begin(), req.itens.end(), [linha](const Requisito& r) { return r.linha == linha; });
}

// A refusal of requirements that cannot hold together: "Erro no arquivo de requisitos
// "r.txt", linha A: o requisito não pode valer: ..." or "..., linhas A, B e C: os requisitos
// não podem valer juntos: ...", the lines increasing (perhaps "outras K" after the first
// twelve), each the line of a requirement.
std::string verifica_conflito(const Desfecho& d, const Requisitos& req)
{
    const std::string inicio = "Erro no arquivo de requisitos \"" + std::string(nome) + "\", linha";
    if (d.tipo != TipoMensagem::erro || !d.texto.starts_with(inicio)) return "conflito mal escrito: " + d.texto;
    const bool varias = d.texto.compare(inicio.size(), 2, "s ") == 0;
    const std::string_view meio = varias ? ": os requisitos não podem valer juntos: " : ": o requisito não pode valer: ";
    const std::size_t fim = d.texto.find(meio);
    if (fim == std::string::npos || !d.texto.ends_with(".") || !utf8_valido(d.texto)) return "conflito mal escrito: " + d.texto;
    std::string_view lista(d.texto.data() + inicio.size() + (varias ? 2 : 1), fim - inicio.size() - (varias ? 2 : 1));
    std::vector<long> linhas;
    while (!lista.empty()) {
        if (lista.starts_with("outras ")) break;
        long l = 0;
        const auto [depois, erro] = std::from_chars(lista.data(), lista.data() + lista.size(), l);
        if (erro != std::errc{} || !tem_linha(req, l) || (!linhas.empty() && l <= linhas.back()))
            return "conflito com uma linha que não é de requisito, ou fora de ordem: " + d.texto;
        linhas.push_back(l);
        lista.remove_prefix(static_cast<std::size_t>(depois - lista.data()));
        for (const std::string_view separador : {", ", " e "})
            if (lista.starts_with(separador)) lista.remove_prefix(separador.size());
    }
    if (linhas.empty() || varias != (linhas.size() > 1)) return "conflito que não nomeia as suas linhas: " + d.texto;
    return {};
}

// Requirements read, held against the turno's R rounds and the season's 2R under both schemes:
// a round beyond R refuses the turno (named by its line); a refusal for requirements that
// cannot hold together names their lines; and requirements that a compact round robin of the
// championship meets, turno or season, are never refused for it (every team plays once a
// round there, as a schedule without Inviabilidade 1 does).
std::string verifica_conferencia(const Campeonato& c, const Requisitos& req)
{
    const bool alem_do_turno = std::any_of(req.itens.begin(), req.itens.end(), [&](const Requisito& r) {
        return !r.rodadas.empty() && r.rodadas.back() > c.num_rodadas;
    });
    Tabela compacta;
    const bool com_compacta = aceita_busca_compacta(c).sucesso;
    if (com_compacta) {
        Gerador gerador;
        gerador.semeia(static_cast<std::uint32_t>(req.itens.size()));
        compacta = aloca_matriz_jogos(c.num_rodadas, c.jogos_por_rodada());
        gera_tabela_compacta(c.num_times, gerador, compacta);
    }
    for (const Returno returno : {Returno::nenhum, Returno::espelhado, Returno::frances}) {
        const Desfecho d = confere_requisitos(req, c, returno);
        if (returno == Returno::nenhum && alem_do_turno) {
            if (d.sucesso) return "uma rodada além do turno foi aceita no turno";
            if (std::string erro = verifica_recusa(d, "requisitos", nome, 1 << 30, " rodadas."); !erro.empty()) return erro;
            const std::size_t p = d.texto.find("\", linha ") + 9;
            long linha = 0;
            std::from_chars(d.texto.data() + p, d.texto.data() + d.texto.size(), linha);
            if (!tem_linha(req, linha) || d.texto.find(": a rodada ") == std::string::npos)
                return "rodada além do turno sem a linha do requisito: " + d.texto;
            continue;
        }
        if (!d.sucesso)
            if (std::string erro = verifica_conflito(d, req); !erro.empty()) return erro;
        if (!com_compacta) continue;
        const Tabela t = tabela_da_temporada(compacta, returno);
        if (!d.sucesso && conta_requisitos(req, c.num_times, t) == 0)
            return "requisitos que uma tabela atende foram recusados: " + d.texto;
    }
    return {};
}

// The season of the championship's initial schedule explained under the requirements: the
// tenth count is their plain count, each occurrence's sentence names a requirement's line.
std::string verifica_explicacao(const Estado& e, const Requisitos& req)
{
    const Temporada t = temporada_de(e.campeonato, e.execucao.tabela_inicial, Returno::espelhado);
    const Explicacao x = explica_tabela(t.campeonato, t.tabela, &req);
    const auto total = conta_requisitos(req, t.campeonato.num_times, t.tabela);
    if (!x.vistas.requisitos || x.contagens[Inviabilidade::requisitos] != static_cast<double>(total))
        return "a explicação não soma a contagem dos requisitos";
    for (const Ocorrencia& o : x.ocorrencias) {
        if (o.inviabilidade != Inviabilidade::requisitos) continue;
        const std::size_t p = o.frase.rfind("(requisito da linha ");
        long linha = 0;
        if (p != std::string::npos) std::from_chars(o.frase.data() + p + 20, o.frase.data() + o.frase.size(), linha);
        if (o.valor <= 0 || !tem_linha(req, linha) || !o.frase.ends_with(")")) return "ocorrência sem a linha: " + o.frase;
    }
    return {};
}

}  // namespace

std::string verifica_requisitos(std::string_view entrada)
{
    if (entrada.empty()) return {};
    const Estado& e = exemplo_carregado(static_cast<unsigned char>(entrada[0]));
    const std::string_view arquivo = entrada.substr(1);
    const Calendario cal = calendario_da_temporada(e.campeonato);
    auto le = [&](std::string_view bytes) {
        Requisitos req = requisitos_anteriores();
        const Desfecho d = le_requisitos(bytes, nome, e.campeonato, req, &cal);
        // The text kept for a save is the file's own, different in every variant of it.
        if (d.sucesso) req.texto.clear();
        return std::pair{d, std::move(req)};
    };
    const auto [d, req] = le(arquivo);
    if (!d.sucesso) {
        if (!(req == requisitos_anteriores())) return "um arquivo recusado mudou os requisitos (" + d.texto + ")";
        if (auto erro = verifica_recusa(d, "requisitos", nome, conta_linhas(arquivo), "."); !erro.empty()) return erro;
    } else {
        if (auto erro = falha_dos_requisitos(e.campeonato, req, conta_linhas(arquivo), cal); !erro.empty()) return erro;
        if (auto erro = verifica_conferencia(e.campeonato, req); !erro.empty()) return erro;
        if (auto erro = verifica_explicacao(e, req); !erro.empty()) return erro;
    }
    if (const std::string latin1 = em_latin1_distinto(arquivo); !latin1.empty()) {
        const auto [dl, lidos] = le(latin1);
        if (dl.sucesso != d.sucesso || dl.texto != d.texto || (d.sucesso && !(lidos == req)))
            return "em Latin-1 a leitura muda: \"" + d.texto + "\" / \"" + dl.texto + "\"";
    }
    return mesma_leitura_nas_variantes(arquivo, d, req, le);
}

}  // namespace kelm::fuzz
