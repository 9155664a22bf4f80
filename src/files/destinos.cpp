#include "files/destinos.hpp"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <cerrno>
#include <optional>

#include "files/carga.hpp"
#include "files/resultado.hpp"

namespace kelm {

namespace {

// Which file a path names. An existing file is its device and inode; a file still to be made
// is its folder's device and inode and its name. A link is followed as the save follows it
// (arquivo_gravado), so that a link to nothing is the file it names, in the folder it names.
struct Identidade {
    dev_t dispositivo = 0;
    ino_t no = 0;
    std::string nome;  // empty for an existing file

    friend bool operator==(const Identidade&, const Identidade&) = default;
};

// The identity of the regular file at `caminho`, or of the new file it would be when
// `pode_faltar`; nothing for what no save replaces (a device, a pipe, a folder) or cannot
// make (a missing folder, links that go round), which the destination checks report.
std::optional<Identidade> identidade(const std::filesystem::path& caminho, bool pode_faltar)
{
    const auto gravado = arquivo_gravado(caminho);
    if (!gravado) return std::nullopt;
    struct stat info{};
    if (::stat(gravado->c_str(), &info) == 0) {
        if (!S_ISREG(info.st_mode)) return std::nullopt;
        return Identidade{info.st_dev, info.st_ino, {}};
    }
    if (!pode_faltar || !gravado->has_filename()) return std::nullopt;
    const std::filesystem::path pasta = gravado->has_parent_path() ? gravado->parent_path() : std::filesystem::path(".");
    if (::stat(pasta.c_str(), &info) != 0 || !S_ISDIR(info.st_mode)) return std::nullopt;
    return Identidade{info.st_dev, info.st_ino, gravado->filename().string()};
}

std::string descreve(const ArquivoDoComando& arquivo)
{
    return arquivo.papel + (arquivo.origem.empty() ? "" : " (" + arquivo.origem + ")");
}

// Kernel file systems whose files are not data: nothing can be made in their folders.
bool pasta_do_sistema(const std::filesystem::path& pasta)
{
    constexpr long proc = 0x9fa0;
    constexpr long sysfs = 0x62656572;
    struct statfs info{};
    return ::statfs(pasta.c_str(), &info) == 0 && (info.f_type == proc || info.f_type == sysfs);
}

// A device is written in place: it is opened as the save opens it and given no bytes, which
// a device that refuses every write (/dev/full) already refuses.
Desfecho sonda_dispositivo(const std::filesystem::path& destino)
{
    const int fd = ::open(destino.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return falha_gravacao(destino, errno);
    const bool aceita = ::write(fd, "", 0) >= 0;
    const int erro = errno;
    ::close(fd);
    return aceita ? Desfecho::ok() : falha_gravacao(destino, erro);
}

}  // namespace

std::vector<ArquivoDoComando> arquivos_do_campeonato(const std::filesystem::path& arquivo_dados)
{
    std::vector<ArquivoDoComando> arquivos{{"arquivo de dados", arquivo_dados.string(), arquivo_dados}};
    std::string bytes;
    std::string motivo;
    ItensDados itens;
    if (!le_arquivo(arquivo_dados, bytes, motivo) || !interpreta_dados(bytes, arquivo_dados.string(), itens).sucesso)
        return arquivos;
    for (const auto& [papel, caminho] : {std::pair{"arquivo de distâncias", itens.arquivo_distancias},
                                         std::pair{"arquivo de nomes de times", itens.arquivo_nomes}}) {
        const std::filesystem::path resolvido = resolve_caminho(arquivo_dados, caminho);
        arquivos.push_back({papel, resolvido.string(), resolvido});
    }
    return arquivos;
}

std::vector<ArquivoDoComando> arquivos_em_uso(const std::filesystem::path& arquivo_dados, const Requisitos& requisitos)
{
    std::vector<ArquivoDoComando> arquivos = arquivos_do_campeonato(arquivo_dados);
    if (requisitos.em_vigor()) arquivos.push_back({"arquivo de requisitos", requisitos.arquivo, requisitos.arquivo});
    return arquivos;
}

Desfecho confere_saidas(const std::vector<ArquivoDoComando>& entradas, const std::vector<ArquivoDoComando>& saidas)
{
    std::vector<std::pair<Identidade, const ArquivoDoComando*>> vistos;
    for (const ArquivoDoComando& entrada : entradas)
        if (auto id = identidade(entrada.caminho, false)) vistos.emplace_back(*id, &entrada);
    for (const ArquivoDoComando& saida : saidas) {
        const auto id = identidade(saida.caminho, true);
        if (!id) continue;
        for (const auto& [outro_id, outro] : vistos) {
            if (!(outro_id == *id)) continue;
            // Every role is masculine: "o resultado", "o arquivo de dados".
            return Desfecho::erro(msg_arquivo_nao_salvo, "O " + descreve(saida) + " seria gravado sobre o " +
                                                             descreve(*outro) + ": são o mesmo arquivo. Escolha outro nome.");
        }
        vistos.emplace_back(*id, &saida);
    }
    return Desfecho::ok();
}

Desfecho confere_destino(const std::filesystem::path& destino)
{
    if (Desfecho d = pode_gravar(destino); !d.sucesso) return d;
    struct stat info{};
    const bool existe = ::stat(destino.c_str(), &info) == 0;
    if (existe && S_ISCHR(info.st_mode)) return sonda_dispositivo(destino);
    if (existe && !S_ISREG(info.st_mode)) return Desfecho::ok();

    // The new file is made in the folder of the file a link names.
    const std::filesystem::path real = arquivo_gravado(destino).value_or(destino);
    const std::filesystem::path pasta = real.has_parent_path() ? real.parent_path() : std::filesystem::path(".");
    if (pasta_do_sistema(pasta))
        return Desfecho::erro(msg_arquivo_nao_salvo, destino.string() + ": a pasta " + pasta.string() +
                                                         " é do sistema operacional; nela não se gravam arquivos.");
    return Desfecho::ok();
}

}  // namespace kelm
