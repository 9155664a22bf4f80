#include "search/execucoes.hpp"

#include "search/execucao.hpp"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#ifdef __linux__
#include <sched.h>
#endif

namespace kelm {

int threads_para(int execucoes)
{
    int nucleos = static_cast<int>(std::thread::hardware_concurrency());
#ifdef __linux__
    // The cores this process may run on, which taskset or a container may make fewer than
    // the machine's.
    cpu_set_t conjunto;
    CPU_ZERO(&conjunto);
    if (sched_getaffinity(0, sizeof conjunto, &conjunto) == 0) nucleos = CPU_COUNT(&conjunto);
#endif
    return std::clamp(nucleos, 1, std::max(execucoes, 1));
}

namespace {

// What one run has reported so far.
struct Quadro {
    bool comecou = false;
    bool terminou = false;
    Andamento andamento;
};

// What the runs share with the thread that waits for them, under one lock: each run's last
// refresh, the best run that ended, and the earliest run that failed.
struct Placar {
    std::mutex trava;
    std::condition_variable terminou;
    std::vector<Quadro> quadros;
    int terminadas = 0;
    bool novidade = false;
    long long movimentos = 0;

    std::optional<ChaveExecucao> chave_melhor;
    Estado melhor;
    ResumoBusca resumo_melhor;

    bool alguma_parada = false;  // the planner stopped a run before it ended

    int falha = -1;
    ResumoBusca resumo_falha;
    std::exception_ptr erro;

    // Takes in a run that ended (`erro` set when it threw).
    void encerra(int indice, Estado&& estado, const ResumoBusca& resumo, std::exception_ptr erro_da_execucao);
};

void Placar::encerra(int indice, Estado&& estado, const ResumoBusca& resumo, std::exception_ptr erro_da_execucao)
{
    std::lock_guard<std::mutex> guarda(trava);
    Quadro& q = quadros[static_cast<std::size_t>(indice)];
    q.terminou = true;
    ++terminadas;
    novidade = true;
    movimentos += resumo.movimentos;
    alguma_parada = alguma_parada || resumo.parada;
    if (erro_da_execucao || !resumo.executada) {
        if (falha < 0 || indice < falha) {
            falha = indice;
            resumo_falha = resumo;
            erro = erro_da_execucao;
        }
    } else {
        // Its last refresh stands for it from now on, with what it ended with.
        q.comecou = true;
        q.andamento.inviabilidades_melhor = estado.execucao.inviabilidades_melhor;
        q.andamento.fo_star = estado.execucao.fo_star;
        q.andamento.num_reaquecimentos = resumo.reaquecimentos;
        const ChaveExecucao chave{!resumo.segunda_fase, estado.execucao.fo_star, indice};
        if (!chave_melhor || chave < *chave_melhor) {
            chave_melhor = chave;
            melhor = std::move(estado);
            resumo_melhor = resumo;
        }
    }
    terminou.notify_all();
}

// Hands a run's refreshes to the board; it is called on the run's own thread.
class ObservadorDaExecucao : public Observador {
public:
    ObservadorDaExecucao(Placar& placar, int indice) : placar_(placar), indice_(indice) {}

    void andamento(const Andamento& a) override
    {
        std::lock_guard<std::mutex> guarda(placar_.trava);
        Quadro& q = placar_.quadros[static_cast<std::size_t>(indice_)];
        q.comecou = true;
        q.andamento = a;
        placar_.novidade = true;
    }

private:
    Placar& placar_;
    int indice_;
};

// One run on its own copy of `base`, seeded with the first seed plus `indice`.
void corre(const Estado& base, const OpcoesBusca& opcoes, bool objetivos_na_execucao, int indice, Placar& placar)
{
    ObservadorDaExecucao observador(placar, indice);
    OpcoesBusca desta = opcoes;
    desta.semente = opcoes.semente + static_cast<std::uint32_t>(indice);  // modulo 2^32
    desta.execucoes = 1;
    desta.escolhe_objetivos = nullptr;
    Estado copia;
    ResumoBusca resumo;
    std::exception_ptr erro;
    // Nothing may leave a thread: what a run throws is the command's to report.
    try {
        copia = base;
        resumo = corre_execucao(copia, observador, desta, objetivos_na_execucao);
    } catch (...) {
        erro = std::current_exception();
    }
    placar.encerra(indice, std::move(copia), resumo, erro);
}

// The refresh of all the runs together: the counts, FO and reheats of the run that holds the
// lowest FO; how far they went, each run's first phase counting as its first half and a run
// not yet started as nothing; the phase of the run furthest behind; the moves of them all.
Andamento juntos(const Placar& placar)
{
    Andamento a;
    a.fase = 2;
    a.execucoes = static_cast<int>(placar.quadros.size());
    a.execucoes_concluidas = placar.terminadas;
    const Quadro* lider = nullptr;
    double progresso = 0.0;
    for (const Quadro& q : placar.quadros) {
        a.movimentos += q.andamento.movimentos;
        if (q.terminou) {
            progresso += 100.0;
        } else if (q.comecou) {
            a.fase = std::min(a.fase, q.andamento.fase);
            progresso += 50.0 * (q.andamento.fase - 1) + std::clamp(q.andamento.percentual, 0.0, 100.0) / 2.0;
        } else {
            a.fase = 1;
        }
        if (q.comecou && (lider == nullptr || q.andamento.fo_star < lider->andamento.fo_star)) lider = &q;
    }
    a.percentual = progresso / static_cast<double>(a.execucoes);
    if (lider != nullptr) {
        a.temperatura = lider->andamento.temperatura;
        a.inviabilidades_melhor = lider->andamento.inviabilidades_melhor;
        a.fo_star = lider->andamento.fo_star;
        a.num_reaquecimentos = lider->andamento.num_reaquecimentos;
    }
    return a;
}

// Waits for the runs on the calling thread, handing the observer a refresh of them all about
// ten times a second while any has news.
void acompanha(Placar& placar, Observador& observador, const Relogio& relogio, double hora_inicio, double inicio)
{
    const int total = static_cast<int>(placar.quadros.size());
    std::unique_lock<std::mutex> trava(placar.trava);
    while (placar.terminadas < total) {
        placar.terminou.wait_for(trava, std::chrono::milliseconds(100), [&] { return placar.terminadas == total; });
        if (!placar.novidade || placar.terminadas == total) continue;
        placar.novidade = false;
        Andamento a = juntos(placar);
        trava.unlock();
        a.hora_inicio = hora_inicio;
        a.hora_atual = relogio.hora_do_dia();
        a.tempo_execucao = (relogio.segundos() - inicio) / 86400.0;
        observador.andamento(a);
        trava.lock();
    }
}

// Starts the threads that take the runs in turn, and waits for them while the observer is
// kept informed. A thread the system refuses is done without, as long as one started.
void corre_todas(const Estado& estado, const OpcoesBusca& opcoes, bool objetivos_na_execucao, Placar& placar,
                 Observador& observador, const Relogio& relogio, double hora_inicio, double inicio)
{
    const int total = static_cast<int>(placar.quadros.size());
    std::atomic<int> proxima{0};
    auto trabalho = [&] {
        for (int i = proxima++; i < total; i = proxima++) corre(estado, opcoes, objetivos_na_execucao, i, placar);
    };
    std::vector<std::jthread> threads;
    for (int t = 0; t < threads_para(total); ++t) {
        try {
            threads.emplace_back(trabalho);
        } catch (const std::system_error&) {
            if (threads.empty()) throw;
            break;
        }
    }
    acompanha(placar, observador, relogio, hora_inicio, inicio);
}

}  // namespace

ResumoBusca executa_execucoes(Estado& estado, Observador& observador, const OpcoesBusca& opcoes,
                              bool objetivos_na_execucao)
{
    const Relogio& relogio = relogio_de(opcoes);
    const double hora_inicio = relogio.hora_do_dia();
    const double inicio = relogio.segundos();
    Placar placar;
    placar.quadros.resize(static_cast<std::size_t>(std::max(opcoes.execucoes, 1)));
    observador.fase_iniciada(static_cast<int>(Fase::primeira), hora_inicio);
    corre_todas(estado, opcoes, objetivos_na_execucao, placar, observador, relogio, hora_inicio, inicio);

    if (placar.falha >= 0) {
        if (placar.erro) std::rethrow_exception(placar.erro);
        placar.resumo_falha.objetivos_na_execucao = objetivos_na_execucao;
        return placar.resumo_falha;
    }
    ResumoBusca resumo = placar.resumo_melhor;
    resumo.movimentos = placar.movimentos;
    resumo.parada = placar.alguma_parada;
    estado.execucao = std::move(placar.melhor.execucao);
    estado.criterios = placar.melhor.criterios;
    Execucao& x = estado.execucao;
    x.hora_inicio = hora_inicio;
    x.inicio_monotonico = inicio;
    x.tempo_execucao = (relogio.segundos() - inicio) / 86400.0;
    x.movimentos_avaliados = placar.movimentos;
    x.procedencia.execucoes = static_cast<int>(placar.quadros.size());
    x.procedencia.primeira_semente = opcoes.semente;
    x.procedencia.parada = resumo.parada;

    // The last refresh shows the run kept; then the end, as one run ends.
    Andamento final = juntos(placar);
    final.hora_inicio = hora_inicio;
    final.hora_atual = relogio.hora_do_dia();
    final.tempo_execucao = x.tempo_execucao;
    final.inviabilidades_melhor = x.inviabilidades_melhor;
    final.fo_star = x.fo_star;
    final.num_reaquecimentos = resumo.reaquecimentos;
    observador.andamento(final);
    observador.resultado_disponivel();
    observador.bipe();
    observador.fase_concluida(static_cast<int>(resumo.segunda_fase ? Fase::segunda : Fase::primeira));
    if (resumo.interrompida) observador.bipe();
    if (resumo.interrompida || !resumo.parada) observador.mensagem(resumo.interrompida ? msg_interrompida : msg_terminou);
    return resumo;
}

}  // namespace kelm
