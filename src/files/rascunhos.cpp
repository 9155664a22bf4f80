#include "files/rascunhos.hpp"

#include <pthread.h>
#include <signal.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cstring>

namespace kelm {

namespace {

// What a place of the list holds.
enum Conteudo : int { livre = 0, reservada = 1, arquivo = 2, pasta = 3 };

// One place of the list: what it holds, published only once its path is written.
struct Lugar {
    std::atomic<int> conteudo{livre};
    char caminho[4096];
};
static_assert(std::atomic<int>::is_always_lock_free, "a signal handler reads the list");

// A save makes at most a workbook's folder, its file and the new file of the result at once;
// a few more places leave room for saves of other threads.
Lugar lista[8];

// A free place taken for `caminho`, or null when none is free or the path does not fit.
Lugar* reserva(const std::string& caminho)
{
    if (caminho.size() >= sizeof(Lugar::caminho)) return nullptr;
    for (Lugar& l : lista) {
        int esperado = livre;
        if (l.conteudo.compare_exchange_strong(esperado, reservada)) {
            std::memcpy(l.caminho, caminho.c_str(), caminho.size() + 1);
            return &l;
        }
    }
    return nullptr;
}

// The signals that end a program at once, held back from the calling thread while it lives,
// so that none comes between making a file and listing it.
class SinaisRetidos {
public:
    SinaisRetidos()
    {
        sigset_t retidos;
        sigemptyset(&retidos);
        for (const int s : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&retidos, s);
        pthread_sigmask(SIG_BLOCK, &retidos, &antes_);
    }
    ~SinaisRetidos() { pthread_sigmask(SIG_SETMASK, &antes_, nullptr); }
    SinaisRetidos(const SinaisRetidos&) = delete;
    SinaisRetidos& operator=(const SinaisRetidos&) = delete;

private:
    sigset_t antes_;
};

// Makes what `faz` makes from `modelo`, listed as `conteudo` once it exists; what `faz`
// returns, `falhou` telling a failure apart.
template <class F, class G>
auto cria_listado(std::string& modelo, Conteudo conteudo, F faz, G falhou)
{
    const SinaisRetidos retidos;
    Lugar* lugar = reserva(modelo);
    const auto feito = faz(modelo.data());
    if (lugar == nullptr) return feito;
    if (falhou(feito)) {
        const int erro = errno;
        lugar->conteudo.store(livre);
        errno = erro;
        return feito;
    }
    std::memcpy(lugar->caminho, modelo.c_str(), modelo.size() + 1);
    lugar->conteudo.store(conteudo, std::memory_order_release);
    return feito;
}

}  // namespace

int cria_rascunho(std::string& modelo)
{
    return cria_listado(modelo, arquivo, [](char* m) { return ::mkstemp(m); }, [](int fd) { return fd < 0; });
}

bool cria_pasta_rascunho(std::string& modelo)
{
    return cria_listado(modelo, pasta, [](char* m) { return ::mkdtemp(m) != nullptr; }, [](bool feita) { return !feita; });
}

void lista_rascunho(const std::string& caminho)
{
    if (Lugar* l = reserva(caminho)) l->conteudo.store(arquivo, std::memory_order_release);
}

void esquece_rascunho(const std::string& caminho)
{
    for (Lugar& l : lista) {
        const int c = l.conteudo.load(std::memory_order_acquire);
        if ((c == arquivo || c == pasta) && std::strcmp(l.caminho, caminho.c_str()) == 0) {
            l.conteudo.store(livre);
            return;
        }
    }
}

void apaga_rascunhos() noexcept
{
    for (const int conteudo : {int(arquivo), int(pasta)})
        for (Lugar& l : lista)
            if (l.conteudo.load(std::memory_order_acquire) != conteudo)
                continue;
            else if (conteudo == arquivo)
                ::unlink(l.caminho);
            else
                ::rmdir(l.caminho);
}

}  // namespace kelm
