#pragma once

// Runs a piece of a test in a forked child process: for what must not touch the test
// process itself (a file-size limit), or must run without the super-user's powers (a test
// run as root reads and writes through every permission).

#include <grp.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <exception>
#include <functional>
#include <string>

namespace kelm::teste {

struct RespostaFilho {
    bool executou = false;  // false: the child could not take the conditions asked; `texto` says why
    std::string texto;      // what the task returned (or how the child ended, if it died)
};

// The user the child becomes when the tests run as root.
inline constexpr uid_t usuario_sem_privilegios = 65534;  // nobody

// Runs `tarefa` in a child and returns its text. With `sem_privilegios`, a child that runs
// as root first becomes the user nobody, so that permissions hold for it as for a planner.
inline RespostaFilho executa_em_filho(const std::function<std::string()>& tarefa, bool sem_privilegios = false)
{
    int canal[2];
    if (::pipe(canal) != 0) return {false, "pipe() falhou"};
    const pid_t pid = ::fork();
    if (pid < 0) {
        ::close(canal[0]);
        ::close(canal[1]);
        return {false, "fork() falhou"};
    }
    if (pid == 0) {
        ::close(canal[0]);
        char marca = '1';
        std::string saida;
        if (sem_privilegios && ::geteuid() == 0) {
            if (::setgroups(0, nullptr) != 0 || ::setgid(usuario_sem_privilegios) != 0 ||
                ::setuid(usuario_sem_privilegios) != 0) {
                marca = '0';
                saida = "não foi possível deixar de ser root (setuid) neste ambiente";
            }
        }
        if (marca == '1') {
            try {
                saida = tarefa();
            } catch (const std::exception& e) {
                saida = std::string("exceção no processo filho: ") + e.what();
            }
        }
        saida.insert(saida.begin(), marca);
        const char* p = saida.data();
        std::size_t falta = saida.size();
        while (falta > 0) {
            const ssize_t n = ::write(canal[1], p, falta);
            if (n <= 0) break;
            p += n;
            falta -= static_cast<std::size_t>(n);
        }
        ::close(canal[1]);
        ::_exit(0);  // no exit handlers: the child shares the parent's test state
    }
    ::close(canal[1]);
    std::string lido;
    char bloco[4096];
    ssize_t n;
    while ((n = ::read(canal[0], bloco, sizeof bloco)) > 0) lido.append(bloco, static_cast<std::size_t>(n));
    ::close(canal[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0 || lido.empty()) {
        const std::string como = WIFSIGNALED(status) ? "com o sinal " + std::to_string(WTERMSIG(status))
                                                     : "com o código " + std::to_string(WEXITSTATUS(status));
        return {true, "o processo filho terminou " + como};
    }
    return {lido[0] == '1', lido.substr(1)};
}

}  // namespace kelm::teste
