#include "ui/busca_em_fundo.hpp"

#include <exception>

#include <QMetaObject>

namespace kelm {

// What the search reports on its thread, sent on to the window's; the closing messages are
// kept with the state instead, to be shown once it is handed back.
class BuscaEmFundo::Observador : public kelm::Observador {
public:
    explicit Observador(BuscaEmFundo& busca) : b_(busca) {}

    void execucao_iniciada() override { b_.envia([&b = b_] { emit b.execucao_iniciada(); }); }
    void calculo_t0_iniciado() override { b_.envia([&b = b_] { emit b.calculo_t0_iniciado(); }); }
    void temperatura_candidata(double t) override { b_.envia([&b = b_, t] { emit b.temperatura_candidata(t); }); }
    void calculo_t0_concluido() override { b_.envia([&b = b_] { emit b.calculo_t0_concluido(); }); }
    void fase_iniciada(int fase, double hora) override
    {
        b_.envia([&b = b_, fase, hora] { emit b.fase_iniciada(fase, hora); });
    }
    void andamento(const Andamento& a) override { b_.envia([&b = b_, a] { emit b.andamento(a); }, true); }
    void reaquecimento(int n) override { b_.envia([&b = b_, n] { emit b.reaquecimento(n); }); }
    void bipe() override { b_.envia([&b = b_] { emit b.bipe(); }); }
    void fase_concluida(int fase) override { b_.envia([&b = b_, fase] { emit b.fase_concluida(fase); }); }
    void mensagem(const std::string& texto) override { b_.devolvido_.mensagens << QString::fromStdString(texto); }

private:
    BuscaEmFundo& b_;
};

BuscaEmFundo::BuscaEmFundo(QObject* pai) : QObject(pai) {}

BuscaEmFundo::~BuscaEmFundo()
{
    parar_ = true;
    if (thread_.joinable()) thread_.join();
}

void BuscaEmFundo::inicia(Estado estado, OpcoesBusca opcoes, std::optional<Criterios> escolhidos)
{
    if (thread_.joinable()) thread_.join();
    parar_ = false;
    devolvido_ = Devolvido{std::move(estado), {}, {}};
    opcoes.parar = &parar_;
    opcoes.escolhe_objetivos = nullptr;
    if (escolhidos) opcoes.escolhe_objetivos = [this, c = *escolhidos] { devolvido_.estado.criterios = c; };
    thread_ = std::jthread([this, opcoes = std::move(opcoes)] {
        Observador observador(*this);
        ResumoBusca& resumo = devolvido_.resumo;
        // Nothing may leave the thread: what the search throws is the command's to report.
        try {
            resumo = executa_busca(devolvido_.estado, observador, opcoes);
        } catch (const ErroAlocacao& e) {
            resumo = ResumoBusca{};
            resumo.desfecho = kelm::Desfecho::simples(e.what());
        } catch (const std::exception& e) {
            resumo = ResumoBusca{};
            resumo.desfecho = kelm::Desfecho::erro("A execução foi interrompida por um erro.", e.what());
        }
        envia([this] { emit terminou(); });
    });
    executando_ = true;
}

void BuscaEmFundo::para() { parar_ = true; }

BuscaEmFundo::Devolvido BuscaEmFundo::devolve()
{
    if (thread_.joinable()) thread_.join();
    executando_ = false;
    return std::move(devolvido_);
}

void BuscaEmFundo::envia(std::function<void()> evento, bool refresco)
{
    bool estava_vazia = false;
    {
        const std::lock_guard<std::mutex> guarda(trava_);
        estava_vazia = fila_.empty();
        if (refresco && ultimo_refresco_ && !estava_vazia)
            fila_.back() = std::move(evento);
        else
            fila_.push_back(std::move(evento));
        ultimo_refresco_ = refresco;
    }
    // One delivery is asked for whenever the queue fills again; it empties it.
    if (estava_vazia) QMetaObject::invokeMethod(this, &BuscaEmFundo::entrega, Qt::QueuedConnection);
}

void BuscaEmFundo::entrega()
{
    // One event at a time, so that a handler that lets the window's events run (a modal box)
    // leaves the rest of them in order for the delivery that comes then.
    for (;;) {
        std::function<void()> evento;
        {
            const std::lock_guard<std::mutex> guarda(trava_);
            if (fila_.empty()) return;
            evento = std::move(fila_.front());
            fila_.pop_front();
            if (fila_.empty()) ultimo_refresco_ = false;
        }
        evento();
    }
}

}  // namespace kelm
