#include "lote/lote.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <sstream>

#include "evaluation/avaliacao.hpp"
#include "evaluation/objetivos.hpp"
#include "evaluation/requisitos.hpp"
#include "files/calendario.hpp"
#include "files/carga.hpp"
#include "files/destinos.hpp"
#include "files/formatos.hpp"
#include "files/icalendario.hpp"
#include "files/tabela_jogos.hpp"
#include "files/planilha.hpp"
#include "files/relatorio.hpp"
#include "files/requisitos.hpp"
#include "files/resultado.hpp"
#include "lote/opcoes.hpp"
#include "model/temporada.hpp"
#include "report/explicacao.hpp"
#include "model/numeros.hpp"
#include "report/ficha.hpp"
#include "search/busca.hpp"
#include "search/comandos.hpp"
#include "search/comandos_planilha.hpp"

namespace kelm {

namespace {

// The load's message without the initial schedule's line, which is said when a run starts
// from that schedule.
constexpr const char* msg_so_carregados = "Os dados foram carregados com sucesso.";
constexpr const char* msg_tabela_inicial_gerada = "Uma solução inicial aleatória foi gerada.";

void mostra(std::ostream& erros, const Desfecho& d)
{
    if (!d.texto.empty()) erros << d.texto << '\n';
    if (!d.detalhe.empty()) erros << d.detalhe << '\n';
}

// The load's message: of a successful load only that the data loaded.
void mostra_carga(std::ostream& erros, const Desfecho& carga)
{
    if (carga.sucesso && carga.texto == msg_carregados)
        erros << msg_so_carregados << '\n';
    else
        mostra(erros, carga);
}

// The progress line: redrawn in place on a terminal, printed sparingly otherwise.
class ObservadorLote : public Observador {
public:
    ObservadorLote(AmbienteLote& ambiente, const Opcoes& op) : amb_(ambiente), op_(op), silencioso_(op.silencioso) {}

    // The run starts: from the random initial schedule (the compact search draws its own), and,
    // for a whole season by the padrao search, with the advice of the compact one.
    void execucao_iniciada() override
    {
        if (op_.busca.busca == TipoBusca::padrao) amb_.erros << msg_tabela_inicial_gerada << '\n';
        if (temporada_com_busca_padrao(op_.busca.busca, op_.busca.returno))
            amb_.erros << "Aviso: " << msg_temporada_com_busca_padrao << " (--busca compacta).\n";
    }

    // A refresh, shown unless one was shown a moment ago in the same phase; the last one held
    // back is shown as the phase ends, so that the last line is the phase's last refresh.
    void andamento(const Andamento& a) override
    {
        if (silencioso_) return;
        const auto agora = std::chrono::steady_clock::now();
        const auto intervalo = amb_.terminal ? std::chrono::milliseconds(100) : std::chrono::milliseconds(2000);
        pendente_ = a.fase == fase_ && agora - ultima_ < intervalo;
        if (pendente_) {
            retido_ = a;
            return;
        }
        ultima_ = agora;
        escreve(a);
    }

    // A phase ended: the refresh held back, if any, is its last line.
    void fase_concluida(int) override
    {
        if (pendente_) escreve(retido_);
        pendente_ = false;
    }

    // The closing message; the window's words on the reheat bound say here which bound it was
    // and what to try.
    void mensagem(const std::string& texto) override
    {
        if (silencioso_ && texto == msg_terminou) return;
        fecha_linha();
        if (texto != msg_interrompida) {
            amb_.erros << texto << '\n';
            return;
        }
        amb_.erros << "A primeira fase atingiu o limite de reaquecimentos (--max-reaquecimentos "
                   << op_.busca.max_reaquecimentos << ") sem zerar as inviabilidades 1, 2, 3 e 5"
                   << (op_.requisitos ? " e a dos requisitos" : "")
                   << "; a segunda fase não foi feita, e o resultado é o da primeira. "
                   << (op_.busca.busca == TipoBusca::padrao
                           ? "Experimente --busca compacta, que mantém as rodadas completas, ou um limite maior.\n"
                           : "Experimente um limite maior, ou --esforco.\n");
    }

    void fecha_linha()
    {
        if (linha_aberta_) amb_.erros << '\n';
        linha_aberta_ = false;
    }

private:
    // Writes the progress line of `a`.
    void escreve(const Andamento& a)
    {
        fase_ = a.fase;
        std::ostringstream linha;
        linha << "Fase " << a.fase << ": " << percentual(a.percentual) << " %  FO* "
              << formata_numero(a.fo_star, amb_.separador) << "  reaquecimentos " << a.num_reaquecimentos << "  "
              << formata_hora(a.tempo_execucao);
        if (a.execucoes > 1) linha << "  execuções " << a.execucoes_concluidas << "/" << a.execucoes;
        if (amb_.terminal)
            amb_.erros << '\r' << linha.str() << "\x1b[K" << std::flush;
        else
            amb_.erros << linha.str() << '\n';
        linha_aberta_ = amb_.terminal;
    }

    // How far the phase went, with one decimal: the first refresh of a phase reports a hair
    // below 0, which is shown as 0.
    std::string percentual(double valor) const
    {
        char texto[32];
        const auto fim = std::to_chars(texto, texto + sizeof texto, std::max(valor, 0.0), std::chars_format::fixed, 1).ptr;
        std::string saida(texto, fim);
        for (char& c : saida)
            if (c == '.') c = amb_.separador;
        return saida;
    }

    AmbienteLote& amb_;
    const Opcoes& op_;
    bool silencioso_;
    int fase_ = 0;
    bool linha_aberta_ = false;
    bool pendente_ = false;  // a refresh held back: retido_
    Andamento retido_;
    std::chrono::steady_clock::time_point ultima_{};
};

// Of several runs, which one was kept: "Semente: 335 (a melhor de 4 execuções, sementes 333
// a 336)" and a line break; nothing for a single run.
std::string texto_semente(const Procedencia& p)
{
    if (p.execucoes <= 1) return {};
    return "Semente: " + std::to_string(p.semente) + " (" + descreve_execucoes(p) + ")\n";
}

// The closing summary: the counts (and the requirements left unmet, each in its sentence),
// FO_STAR, the reheats, the moves, the seed kept and the time.
void resumo(std::ostream& erros, const Estado& estado, const ResumoBusca& r, double segundos, char separador)
{
    const Execucao& execucao = estado.execucao;
    const Procedencia& p = execucao.procedencia;
    for (const std::size_t i : p.vistas().indices())
        erros << "Inviabilidade " << i + 1 << ": " << formata_numero(execucao.inviabilidades_melhor[i], separador) << '\n';
    if (p.com_requisitos && execucao.inviabilidades_melhor[Inviabilidade::requisitos] > 0) {
        const Temporada t = temporada_de(estado.campeonato, execucao.tabela_melhor, execucao.procedencia.returno);
        erros << "Requisitos não atendidos:\n";
        for (const RequisitoNaoAtendido& n :
             requisitos_nao_atendidos(t.campeonato, t.tabela, estado.requisitos, &estado.calendario))
            erros << "  " << n.frase << '\n';
    }
    std::ostringstream s;
    s.precision(3);
    s << std::fixed << segundos;
    std::string seg = s.str();
    for (char& c : seg)
        if (c == '.') c = separador;
    if (p.com_mudancas) {
        erros << "Rodadas congeladas: " << intervalos_de_rodadas(p.congeladas);
        if (p.returno != Returno::nenhum && !p.congeladas.empty()) erros << " (com as que o returno liga a elas)";
        erros << '\n';
        if (r.partida_mantida) erros << "A busca não melhorou a tabela de partida, que foi mantida.\n";
    }
    erros << "FO_STAR: " << formata_numero(execucao.fo_star, separador) << '\n'
          << "Reaquecimentos: " << r.reaquecimentos << '\n'
          << "Movimentos avaliados: " << r.movimentos << '\n'
          << texto_semente(execucao.procedencia)
          << "Tempo de execução: " << formata_hora(execucao.tempo_execucao) << " (" << seg << " s)\n";
}

// Writes the report of `tabela` when one was asked for, its counts marked by `objetivos`;
// false, with the message shown, when it cannot be written.
bool grava_relatorio(const Opcoes& op, const Campeonato& campeonato, const Tabela& tabela, const Requisitos& requisitos,
                     const std::array<std::int32_t, num_contagens>& objetivos, const Calendario& calendario,
                     AmbienteLote& amb, const Tabela* partida = nullptr)
{
    if (!op.relatorio) return true;
    const Desfecho gravacao = grava_arquivo(
        *op.relatorio, texto_relatorio(campeonato, explica_tabela(campeonato, tabela, &requisitos, partida, &calendario),
                                       amb.separador, &objetivos));
    if (!gravacao.sucesso) {
        mostra(amb.erros, gravacao);
        return false;
    }
    amb.erros << "Relatório gravado em " << *op.relatorio << '\n';
    return true;
}

// Reads the requirements file given, when one was; false, with the message shown, when it is
// refused.
bool carrega_requisitos_dados(const Opcoes& op, Estado& estado, AmbienteLote& amb)
{
    if (!op.requisitos) return true;
    const Desfecho d = carrega_requisitos(estado.campeonato, *op.requisitos, estado.requisitos, &estado.calendario);
    mostra(amb.erros, d);
    return d.sucesso;
}

// A result file does not say which objectives and weights its FO_STAR was taken with: when
// its FO_STAR is not the one recomputed, a line says so, and whether every count as an
// objective (as at the end of a run that finished both phases) gives it.
void avisa_outro_fo(const std::string& fo_do_arquivo, const Contagens& contagens, double fo, const Criterios& criterios,
                    AmbienteLote& amb)
{
    std::string escrito = fo_do_arquivo;
    std::replace(escrito.begin(), escrito.end(), ',', '.');
    if (escrito.empty() || escrito == formata_numero(fo, '.')) return;
    Criterios todos = criterios;
    todos.objetivos.fill(1);
    amb.erros << "O FO_STAR do arquivo, " << fo_do_arquivo << ", não é o recalculado, " << formata_numero(fo, amb.separador)
              << ": ";
    if (escrito == formata_numero(calcula_fo(contagens, todos), '.'))
        amb.erros << "ele foi calculado com todas as inviabilidades como objetivo, como no fim de uma execução que fez "
                     "as duas fases; --avaliar sem --objetivos o reproduz.\n";
    else
        amb.erros << "ele foi calculado com outros objetivos ou outros pesos.\n";
}

// Reads the calendar given, when one was, for a schedule of `num_rodadas` rounds; false, with
// the message shown, when it is refused.
bool carrega_calendario_dado(const Opcoes& op, int num_rodadas, Estado& estado, AmbienteLote& amb)
{
    if (!op.calendario) return true;
    const Desfecho d = carrega_calendario(*op.calendario, num_rodadas, estado.calendario);
    mostra(amb.erros, d);
    return d.sucesso;
}

// Plans the calendar export asked for, once the championship is loaded: its files may not
// replace another file of the command, and an earlier export in the folder is read back. The
// exit status when it cannot go on, or nothing.
std::optional<int> prepara_exportacao(const Opcoes& op, const Campeonato& campeonato, ExportacaoIcal& exportacao,
                                      AmbienteLote& amb)
{
    if (!op.ical) return std::nullopt;
    if (const Desfecho d = prepara_ical(*op.ical, nome_do_campeonato(op.arquivo_dados), campeonato, exportacao);
        !d.sucesso) {
        mostra(amb.erros, d);
        return lote_falhou;
    }
    std::vector<ArquivoDoComando> lidos = arquivos_do_campeonato(op.arquivo_dados);
    lidos.insert(lidos.end(), op.lidos.begin(), op.lidos.end());
    std::vector<ArquivoDoComando> gravados = op.gravados;
    for (const auto& arquivo : arquivos_da_exportacao(exportacao))
        gravados.push_back({"calendário exportado", arquivo.string(), arquivo});
    if (const Desfecho d = confere_saidas(lidos, gravados); !d.sucesso) {
        mostra(amb.erros, d);
        return lote_uso_errado;
    }
    return std::nullopt;
}

// Writes the calendars planned, when asked for; false, with the message shown, when they
// cannot be written.
bool grava_exportacao(const Opcoes& op, const ExportacaoIcal& exportacao, const Campeonato& campeonato,
                      const Tabela& tabela, const Calendario& calendario, AmbienteLote& amb)
{
    if (!op.ical) return true;
    if (const Desfecho d = grava_ical(exportacao, campeonato, tabela, calendario); !d.sucesso) {
        mostra(amb.erros, d);
        return false;
    }
    amb.erros << "Calendários gravados em " << *op.ical << '\n';
    return true;
}

// --avaliar: scores the schedule of a result file instead of running the search.
int avalia_resultado(const Opcoes& op, AmbienteLote& amb)
{
    Estado estado;
    const Desfecho carga = carrega_dados(estado.campeonato, estado.execucao, op.arquivo_dados);
    mostra_carga(amb.erros, carga);
    if (!carga.sucesso) return lote_falhou;
    Tabela tabela;
    std::string fo_do_arquivo;
    if (const Desfecho lido = carrega_tabela(estado.campeonato, *op.avaliar, tabela, &fo_do_arquivo); !lido.sucesso) {
        mostra(amb.erros, lido);
        return lote_falhou;
    }
    if (!carrega_calendario_dado(op, tabela.linhas(), estado, amb)) return lote_falhou;
    if (!carrega_requisitos_dados(op, estado, amb)) return lote_falhou;
    ExportacaoIcal exportacao;
    if (const auto status = prepara_exportacao(op, estado.campeonato, exportacao, amb)) return *status;
    estado.criterios.pesos = op.pesos;
    define_objetivos_com_requisitos(estado.criterios, op.objetivos);
    TabelaAvaliada avaliada;
    if (const Desfecho d = avalia_tabela_dada(estado.campeonato, estado.criterios, estado.requisitos, tabela, avaliada);
        !d.sucesso) {
        mostra(amb.erros, d);
        return lote_falhou;
    }
    for (const std::string& linha :
         linhas_contagens(avaliada.contagens, avaliada.fo, amb.separador, {estado.requisitos.em_vigor(), false}))
        amb.saida << linha << '\n';
    amb.saida.flush();
    avisa_outro_fo(fo_do_arquivo, avaliada.contagens, avaliada.fo, estado.criterios, amb);
    if (!grava_relatorio(op, avaliada.campeonato, tabela, estado.requisitos, estado.criterios.objetivos,
                         estado.calendario, amb))
        return lote_falhou;
    return grava_exportacao(op, exportacao, estado.campeonato, tabela, estado.calendario, amb) ? lote_ok : lote_falhou;
}

// Checks the files the command names before anything is read or written: an output that
// would replace an input or the other output is wrong usage; a destination that cannot be
// written is refused as a save that failed. The exit status, or nothing when all is well.
std::optional<int> confere_arquivos(const Opcoes& op, AmbienteLote& amb)
{
    std::vector<ArquivoDoComando> lidos = arquivos_do_campeonato(op.arquivo_dados);
    lidos.insert(lidos.end(), op.lidos.begin(), op.lidos.end());
    if (const Desfecho d = confere_saidas(lidos, op.gravados); !d.sucesso) {
        mostra(amb.erros, d);
        return lote_uso_errado;
    }
    for (const ArquivoDoComando& destino : op.gravados) {
        Desfecho d = confere_destino(destino.caminho);
        if (d.sucesso && destino.papel == "resultado" && eh_planilha(destino.caminho))
            d = confere_rascunho_planilha(destino.caminho);
        if (!d.sucesso) {
            mostra(amb.erros, d);
            return lote_falhou;
        }
    }
    if (op.ical) {
        if (const Desfecho d = confere_pasta_ical(*op.ical, nome_do_campeonato(op.arquivo_dados)); !d.sucesso) {
            mostra(amb.erros, d);
            return lote_falhou;
        }
    }
    return std::nullopt;
}

// Writes the result where it was asked for (standard output without -o); false, with the
// message shown, when it cannot be written.
bool grava_saida(const Opcoes& op, const Estado& estado, AmbienteLote& amb)
{
    if (!op.saida) {
        amb.saida << texto_resultado(estado.campeonato, estado.execucao, amb.separador);
        amb.saida.flush();
        if (!amb.saida) amb.erros << msg_arquivo_nao_salvo << '\n';
        return static_cast<bool>(amb.saida);
    }
    // A name ending in .xlsx asks for a workbook; any other, the result file.
    const Desfecho gravacao =
        eh_planilha(*op.saida)
            ? grava_planilha_resultado(estado.campeonato, estado.execucao, *op.saida, nome_do_campeonato(op.arquivo_dados),
                                       &estado.requisitos)
            : grava_resultado(estado.campeonato, estado.execucao, *op.saida, amb.separador);
    if (!gravacao.sucesso) {
        mostra(amb.erros, gravacao);
        return false;
    }
    amb.erros << "Resultado gravado em " << *op.saida << '\n';
    return true;
}

// A re-plan: the schedule it starts from into `partida` (its turno), the rounds frozen, the
// requirements held to them; the exit status when something is refused, else nothing.
std::optional<int> prepara_replanejamento(Opcoes& op, const Estado& estado, Tabela& partida, AmbienteLote& amb)
{
    const Campeonato& c = estado.campeonato;
    Tabela lida;
    Desfecho d = carrega_tabela(c, *op.partir_de, lida);
    if (d.sucesso) d = turno_de_partida(c, lida, op.busca.returno, op.busca.busca, partida);
    if (!d.sucesso) {
        mostra(amb.erros, d);
        return lote_falhou;
    }
    op.busca.partida = &partida;
    op.busca.arquivo_partida = *op.partir_de;
    if (!op.congelar) return std::nullopt;
    std::vector<int> rodadas;
    if (d = converte_rodadas(*op.congelar, rodadas_da_execucao(c.num_rodadas, op.busca.returno), rodadas); !d.sucesso) {
        amb.erros << "kelm-lote: --congelar: " << d.texto << "\n";
        return lote_uso_errado;
    }
    if (d = congela_rodadas(c, op.busca.returno, rodadas, op.busca.congeladas); d.sucesso)
        d = confere_requisitos_congelados(estado.requisitos, c, op.busca.returno, partida, op.busca.congeladas);
    if (!d.sucesso) {
        mostra(amb.erros, d);
        return lote_falhou;
    }
    return std::nullopt;
}

// The run: load, search, summary, result and report.
int executa(Opcoes& op, AmbienteLote& amb)
{
    Estado estado;
    const Desfecho carga = carrega_dados(estado.campeonato, estado.execucao, op.arquivo_dados);
    mostra_carga(amb.erros, carga);
    if (!carga.sucesso) return lote_falhou;
    if (!carrega_calendario_dado(op, rodadas_da_execucao(estado.campeonato.num_rodadas, op.busca.returno), estado, amb))
        return lote_falhou;
    if (!carrega_requisitos_dados(op, estado, amb)) return lote_falhou;
    Tabela partida;
    if (op.partir_de) {
        if (const auto status = prepara_replanejamento(op, estado, partida, amb)) return *status;
    }
    ExportacaoIcal exportacao;
    if (const auto status = prepara_exportacao(op, estado.campeonato, exportacao, amb)) return *status;

    estado.criterios.pesos = op.pesos;
    if (op.objetivos_na_execucao) {
        // As when the run command opens the objectives dialog and the planner confirms them.
        op.busca.escolhe_objetivos = [&] { define_objetivos_com_requisitos(estado.criterios, op.objetivos); };
    } else {
        define_objetivos_com_requisitos(estado.criterios, op.objetivos);
    }

    op.busca.parar = amb.parar;
    ObservadorLote observador(amb, op);
    const auto inicio = std::chrono::steady_clock::now();
    const ResumoBusca r = executa_busca(estado, observador, op.busca);
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    observador.fecha_linha();
    if (!r.desfecho.sucesso || !r.executada) {
        mostra(amb.erros, r.desfecho);
        return lote_falhou;
    }
    if (r.parada)
        amb.erros << "Execução interrompida pelo planejador: o resultado é a melhor tabela encontrada até então.\n";
    resumo(amb.erros, estado, r, segundos, amb.separador);

    if (!grava_saida(op, estado, amb)) return lote_falhou;
    const Returno returno = estado.execucao.procedencia.returno;
    const Temporada temporada = temporada_de(estado.campeonato, estado.execucao.tabela_melhor, returno);
    const Tabela da_partida = tabela_da_temporada(estado.execucao.tabela_partida, returno);
    if (!grava_relatorio(op, temporada.campeonato, temporada.tabela, estado.requisitos,
                         estado.execucao.procedencia.objetivos_no_fim, estado.calendario, amb,
                         estado.execucao.procedencia.com_mudancas ? &da_partida : nullptr)) {
        // The result already written stays: it is whole, and it may have replaced the file
        // of an earlier run, which removing it would not bring back.
        if (op.saida) amb.erros << "O resultado foi gravado em " << *op.saida << ", mas o relatório não.\n";
        return lote_falhou;
    }
    if (!grava_exportacao(op, exportacao, estado.campeonato, temporada.tabela, estado.calendario, amb)) {
        if (op.saida) amb.erros << "O resultado foi gravado em " << *op.saida << ", mas os calendários não.\n";
        return lote_falhou;
    }
    return r.parada ? lote_parada : r.interrompida ? lote_interrompida : lote_ok;
}

}  // namespace

int executa_lote(const std::vector<std::string>& argumentos, AmbienteLote& amb)
{
    Opcoes op;
    if (auto erro = le_opcoes(argumentos, op)) {
        amb.erros << "kelm-lote: " << *erro << "\nUse 'kelm-lote --ajuda' para ver as opções.\n";
        return lote_uso_errado;
    }
    if (op.ajuda) {
        amb.saida << texto_ajuda();
        return lote_ok;
    }
    if (op.versao) {
        amb.saida << "kelm-lote (KELM) " KELM_VERSAO "\n";
        return lote_ok;
    }
    if (const auto status = confere_arquivos(op, amb)) return *status;
    return op.avaliar ? avalia_resultado(op, amb) : executa(op, amb);
}

}  // namespace kelm
