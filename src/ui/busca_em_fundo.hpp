#pragma once

#include <atomic>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

#include <QObject>
#include <QString>
#include <QStringList>

#include "model/estado.hpp"
#include "search/busca.hpp"

namespace kelm {

// The run command's search on a thread of its own, so that the window goes on answering: the
// search works on the state it is handed when it starts, which nobody else touches until it is
// handed back when the search ends. What the search reports reaches the window's thread by
// queued calls, in the order it was raised, a refresh standing for the refreshes before it
// that the window has not yet taken; the closing messages are handed back with the state.
class BuscaEmFundo : public QObject {
    Q_OBJECT
public:
    // What the search left: the state, its summary and the messages it had for the planner.
    struct Devolvido {
        Estado estado;
        ResumoBusca resumo;
        QStringList mensagens;
    };

    explicit BuscaEmFundo(QObject* pai = nullptr);
    // Asks a search still running to stop and waits for it.
    ~BuscaEmFundo() override;

    // Starts the search of `opcoes` on `estado`. `escolhidos`, when given, are the objectives
    // the planner has just chosen on the window's thread for a state that had none: the search
    // takes them as it asks for them (opcoes.escolhe_objetivos is not called otherwise).
    void inicia(Estado estado, OpcoesBusca opcoes, std::optional<Criterios> escolhidos = std::nullopt);
    // Asks the search to stop at its next temperature level, keeping the best schedule so far.
    void para();
    // True from inicia until `terminou` has been handled.
    bool executando() const { return executando_; }
    // Whether the planner asked the search under way to stop.
    bool parada_pedida() const { return parar_.load(); }
    // After `terminou`: what the search left, the thread ended.
    Devolvido devolve();

signals:
    void execucao_iniciada();
    void calculo_t0_iniciado();
    void temperatura_candidata(double t);
    void calculo_t0_concluido();
    void fase_iniciada(int fase, double hora_inicio);
    void andamento(const kelm::Andamento& a);
    void reaquecimento(int n);
    void bipe();
    void fase_concluida(int fase);
    // The search ended, or failed (the summary says so): call devolve().
    void terminou();

private:
    class Observador;

    // Hands `evento` to the window's thread; a refresh (`refresco`) replaces one not yet taken.
    void envia(std::function<void()> evento, bool refresco = false);
    // On the window's thread: raises the events sent so far, in order.
    void entrega();

    std::jthread thread_;
    std::atomic<bool> parar_{false};
    bool executando_ = false;

    // Owned by the thread while it runs; the window's again once it is joined.
    Devolvido devolvido_;

    std::mutex trava_;
    std::deque<std::function<void()>> fila_;  // events not yet raised on the window's thread
    bool ultimo_refresco_ = false;             // the last of them is a refresh
};

}  // namespace kelm
