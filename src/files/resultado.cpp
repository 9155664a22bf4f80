#include "files/resultado.hpp"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/formatos.hpp"
#include "files/rascunhos.hpp"
#include "files/texto.hpp"
#include "model/temporada.hpp"
#include "report/ficha.hpp"

namespace kelm {

namespace {

bool escreve_tudo(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        if (n == 0) {  // nothing taken and no error: give up rather than loop
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

std::string motivo_errno(int erro)
{
    switch (erro) {
    case EACCES:
    case EPERM: return "sem permissão de escrita";
    case ENOENT: return "a pasta não existe";
    case ENOTDIR: return "o caminho passa por algo que não é uma pasta";
    case ENOSPC: return "não há espaço no disco";
    case EDQUOT: return "a cota de disco acabou";
    case EFBIG: return "o arquivo ficaria grande demais";
    case EROFS: return "o disco é somente leitura";
    case EISDIR: return "o caminho é uma pasta";
    case ENAMETOOLONG: return "o nome é longo demais";
    case ENXIO: return "ninguém lê desse dispositivo";
    case ELOOP: return "os links do caminho levam uns aos outros sem chegar a um arquivo";
    default: return "erro de escrita";
    }
}

Desfecho falha(const std::filesystem::path& destino, int erro)
{
    return Desfecho::erro(msg_arquivo_nao_salvo, destino.string() + ": " + motivo_errno(erro) + ".");
}

std::filesystem::path pasta_de(const std::filesystem::path& destino)
{
    return destino.has_parent_path() ? destino.parent_path() : std::filesystem::path(".");
}

// The target a symbolic link holds; empty when it cannot be read.
std::string alvo_do_link(const std::filesystem::path& link, std::size_t tamanho)
{
    std::string alvo(std::max<std::size_t>(tamanho, 255) + 1, '\0');
    for (;;) {
        const ssize_t n = ::readlink(link.c_str(), alvo.data(), alvo.size());
        if (n < 0) return {};
        if (static_cast<std::size_t>(n) < alvo.size()) return alvo.substr(0, static_cast<std::size_t>(n));
        alvo.resize(2 * alvo.size());
    }
}

}  // namespace

std::optional<std::filesystem::path> arquivo_gravado(const std::filesystem::path& destino)
{
    // As many links as the system itself follows before it gives up.
    constexpr int max_links = 40;
    std::filesystem::path caminho = destino;
    for (int k = 0; k <= max_links; ++k) {
        struct stat info{};
        if (::lstat(caminho.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return caminho;
        const std::filesystem::path alvo = alvo_do_link(caminho, static_cast<std::size_t>(info.st_size));
        if (alvo.empty()) return caminho;
        // The folder is kept as written: the system resolves its links (and "..") as it opens.
        caminho = alvo.is_absolute() ? alvo : pasta_de(caminho) / alvo;
    }
    errno = ELOOP;
    return std::nullopt;
}

Desfecho falha_gravacao(const std::filesystem::path& destino, int erro) { return falha(destino, erro); }

void acrescenta_linha(std::string& saida, std::string_view texto)
{
    saida.append(texto);
    saida.append("\r\n");
}

std::string em_latin1(std::string_view utf8)
{
    auto convertido = utf8_para_latin1(utf8);
    return convertido ? *convertido : std::string(utf8);
}

std::vector<std::string> linhas_contagens(const Contagens& contagens, double fo, char separador, ContagensVistas vistas)
{
    std::vector<std::string> linhas;
    for (const std::size_t i : vistas.indices())
        linhas.push_back("Inv" + std::to_string(i + 1) + ":\t" + formata_numero(contagens[i], separador));
    linhas.push_back("FO_STAR:\t" + formata_numero(fo, separador));
    return linhas;
}

std::string linha_da_data(const DiaDaRodada& dia)
{
    return "Data:\t" + texto_data(dia.data) + (dia.hora ? "\t" + texto_hora(*dia.hora) : std::string());
}

std::string texto_resultado(const Campeonato& campeonato, const Execucao& execucao, char separador)
{
    // With a returno, the rounds written are the whole season's.
    const Returno returno = execucao.procedencia.returno;
    const Tabela temporada = tabela_da_temporada(execucao.tabela_melhor, returno);
    const int num_rodadas = temporada.linhas();
    std::string saida;
    for (const auto& l : linhas_contagens(execucao.inviabilidades_melhor, execucao.fo_star, separador,
                                          execucao.procedencia.vistas()))
        acrescenta_linha(saida, l);
    acrescenta_linha(saida, "Tempo:\t" + formata_hora(execucao.tempo_execucao));
    const Procedencia& procedencia = execucao.procedencia;
    if (procedencia.execucoes > 1)
        acrescenta_linha(saida, "Semente:\t" + std::to_string(procedencia.semente) + "\t" +
                                    em_latin1(descreve_execucoes(procedencia)));

    std::vector<std::string> nomes;
    nomes.reserve(campeonato.nomes_times.size());
    for (const auto& nome : campeonato.nomes_times) nomes.push_back(em_latin1(nome));
    const std::string rodada = em_latin1("ª RODADA\t<<<<<<<<");
    const Calendario& calendario = procedencia.calendario;
    for (int r = 0; r < num_rodadas; ++r) {
        acrescenta_linha(saida, "");
        acrescenta_linha(saida, ">>>>>>>>\t" + std::to_string(r + 1) + rodada);
        if (r < calendario.num_rodadas()) acrescenta_linha(saida, linha_da_data(calendario.dia(r)));
        acrescenta_linha(saida, "");
        for (int g = 0; g < campeonato.jogos_por_rodada(); ++g) {
            const Jogo jogo = temporada[r][g];
            if (jogo.vazio()) continue;
            acrescenta_linha(saida, nomes[static_cast<std::size_t>(jogo.mandante())] + "\tX\t" +
                             nomes[static_cast<std::size_t>(jogo.visitante())]);
        }
        acrescenta_linha(saida, "");
        acrescenta_linha(saida, "");
    }
    return saida;
}

Desfecho pode_gravar(const std::filesystem::path& destino_escolhido)
{
    if (destino_escolhido.empty()) return Desfecho::erro(msg_arquivo_nao_salvo);
    const auto gravado = arquivo_gravado(destino_escolhido);
    if (!gravado) return falha(destino_escolhido, ELOOP);
    const std::filesystem::path& destino = *gravado;
    struct stat info{};
    if (::stat(destino.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode)) return falha(destino_escolhido, EISDIR);
        if (!S_ISREG(info.st_mode)) return Desfecho::ok();
        // A file the user may not write is not replaced, even where the folder would allow it.
        if (::access(destino.c_str(), W_OK) != 0) return falha(destino_escolhido, errno);
    }
    // The new contents go into a new file of the folder, renamed over the destination.
    const std::filesystem::path pasta = pasta_de(destino);
    if (::stat(pasta.c_str(), &info) != 0) return falha(destino_escolhido, errno);
    if (!S_ISDIR(info.st_mode)) return falha(destino_escolhido, ENOTDIR);
    if (::access(pasta.c_str(), W_OK | X_OK) != 0) return falha(destino_escolhido, errno);
    return Desfecho::ok();
}

Desfecho grava_arquivo(const std::filesystem::path& destino_escolhido, std::string_view bytes)
{
    if (destino_escolhido.empty()) return Desfecho::erro(msg_arquivo_nao_salvo);
    const auto gravado = arquivo_gravado(destino_escolhido);
    if (!gravado) return falha(destino_escolhido, ELOOP);
    const std::filesystem::path& destino = *gravado;
    struct stat info{};
    const bool existe = ::stat(destino.c_str(), &info) == 0;
    if (existe && S_ISDIR(info.st_mode)) return falha(destino_escolhido, EISDIR);

    if (existe && !S_ISREG(info.st_mode)) {
        // A device or a pipe: there is nothing to replace, so it is written in place. It is
        // opened without waiting, so that a pipe nobody reads fails instead of hanging.
        const int fd = ::open(destino.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return falha(destino_escolhido, errno);
        const int flags = ::fcntl(fd, F_GETFL);
        if (flags != -1) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
        const bool escrito = escreve_tudo(fd, bytes);
        const int erro = errno;
        if (::close(fd) != 0 || !escrito) return falha(destino_escolhido, escrito ? errno : erro);
        return Desfecho::ok();
    }

    // A file the user may not write is not replaced, even where the folder would allow it.
    if (existe && ::access(destino.c_str(), W_OK) != 0) return falha(destino_escolhido, errno);

    const std::filesystem::path pasta = pasta_de(destino);
    std::string modelo = (pasta / ("." + destino.filename().string() + ".XXXXXX")).string();
    const int fd = cria_rascunho(modelo);
    if (fd < 0) return falha(destino_escolhido, errno);

    // The new file gets the old one's permissions, or the usual ones for a new file.
    mode_t modo;
    if (existe) {
        modo = info.st_mode & 07777;
    } else {
        const mode_t mascara = ::umask(0);
        ::umask(mascara);
        modo = 0666 & ~mascara;
    }

    int erro = 0;
    if (!escreve_tudo(fd, bytes)) erro = errno;
    if (erro == 0 && ::fsync(fd) != 0) erro = errno;
    if (erro == 0 && ::fchmod(fd, modo) != 0) erro = errno;
    if (::close(fd) != 0 && erro == 0) erro = errno;
    if (erro == 0 && ::rename(modelo.c_str(), destino.c_str()) != 0) erro = errno;
    if (erro != 0) ::unlink(modelo.c_str());
    esquece_rascunho(modelo);
    if (erro != 0) return falha(destino_escolhido, erro);
    // The rename itself reaches the disk with the folder; if that fails the file is
    // already whole under its name, so it is not reported.
    const int fd_pasta = ::open(pasta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd_pasta >= 0) {
        ::fsync(fd_pasta);
        ::close(fd_pasta);
    }
    return Desfecho::ok();
}

}  // namespace kelm
