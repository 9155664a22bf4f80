#include "files/carga.hpp"

#include <cerrno>
#include <climits>
#include <new>
#include <optional>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "files/texto.hpp"

namespace kelm {

namespace {

bool eh_espaco(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

// Reads whitespace-separated items the way the C library's formatted scanning does,
// remembering where it stands so that a message can name the line. Line breaks are only
// ever crossed while skipping whitespace, which counts them as it goes: a distances file
// of a million lines is read in one pass.
class Leitor {
public:
    explicit Leitor(std::string_view bytes) : bytes_(bytes) {}

    void pula_espacos()
    {
        while (pos_ < bytes_.size() && eh_espaco(bytes_[pos_])) {
            if (bytes_[pos_] == '\n') ++linha_;
            ++pos_;
        }
    }

    bool no_fim() const { return pos_ >= bytes_.size(); }
    std::size_t posicao() const { return pos_; }
    int linha() const { return linha_; }

    // "%d": skips whitespace, then an optionally signed decimal number. The value is
    // nothing when no digit stands there; `fora_de_faixa` tells a number that does not
    // fit 32 bits.
    std::optional<std::int32_t> le_inteiro(bool& fora_de_faixa)
    {
        fora_de_faixa = false;
        pula_espacos();
        std::size_t p = pos_;
        bool negativo = false;
        if (p < bytes_.size() && (bytes_[p] == '+' || bytes_[p] == '-')) {
            negativo = bytes_[p] == '-';
            ++p;
        }
        const std::size_t inicio_digitos = p;
        long long valor = 0;
        while (p < bytes_.size() && bytes_[p] >= '0' && bytes_[p] <= '9') {
            if (valor <= (1LL << 40)) valor = valor * 10 + (bytes_[p] - '0');
            ++p;
        }
        if (p == inicio_digitos) return std::nullopt;
        pos_ = p;
        if (negativo) valor = -valor;
        if (valor < INT32_MIN || valor > INT32_MAX) {
            fora_de_faixa = true;
            return std::int32_t{0};
        }
        return static_cast<std::int32_t>(valor);
    }

    // ", ": a comma right after the previous item, then any whitespace.
    bool le_virgula()
    {
        if (pos_ < bytes_.size() && bytes_[pos_] == ',') {
            ++pos_;
            pula_espacos();
            return true;
        }
        return false;
    }

    // "%s": skips whitespace, then the bytes up to the next whitespace.
    std::string_view le_token()
    {
        pula_espacos();
        const std::size_t inicio = pos_;
        while (pos_ < bytes_.size() && !eh_espaco(bytes_[pos_])) ++pos_;
        return bytes_.substr(inicio, pos_ - inicio);
    }

    // The token that stands at the current position, for a message.
    std::string_view espia_token() const
    {
        std::size_t fim = pos_;
        while (fim < bytes_.size() && !eh_espaco(bytes_[fim]) && fim - pos_ < 40) ++fim;
        return bytes_.substr(pos_, fim - pos_);
    }

private:
    std::string_view bytes_;
    std::size_t pos_ = 0;
    int linha_ = 1;
};

std::string aspas(std::string_view s) { return '"' + std::string(s) + '"'; }

Desfecho erro_conteudo(std::string_view tipo, std::string_view nome, int linha, const std::string& problema)
{
    return Desfecho::erro(erro_no_arquivo(tipo, nome, linha, problema) + " Os dados não foram carregados.");
}

// Refuses bytes that are not text: NUL and the other control bytes.
std::optional<Desfecho> verifica_texto(std::string_view bytes, std::string_view tipo, std::string_view nome)
{
    if (auto p = problema_de_texto(bytes)) return erro_conteudo(tipo, nome, p->linha, p->problema);
    return std::nullopt;
}

std::string descricao_numero(std::string_view token)
{
    return "esperava um número inteiro e encontrou " +
           (token.empty() ? std::string("o fim do arquivo") : aspas(trecho_legivel(token))) + ".";
}

std::string motivo_abertura(int erro)
{
    switch (erro) {
    case ENOENT: return "o arquivo não existe";
    case ENOTDIR: return "o caminho passa por algo que não é uma pasta";
    case EACCES:
    case EPERM: return "sem permissão de leitura";
    case ELOOP: return "o caminho tem links simbólicos em círculo";
    case ENAMETOOLONG: return "o nome é longo demais";
    case EISDIR: return "o caminho é uma pasta";
    default: return "o sistema não o abriu";
    }
}

// Why a file of this kind is not read, or nothing when it is a regular file.
std::optional<std::string> motivo_tipo(const struct stat& info)
{
    if (S_ISDIR(info.st_mode)) return std::string("o caminho é uma pasta");
    if (!S_ISREG(info.st_mode)) return std::string("não é um arquivo comum");
    if (static_cast<unsigned long long>(info.st_size) > max_bytes_arquivo)
        return "o arquivo tem mais de " + std::to_string(max_bytes_arquivo >> 20) + " MB";
    return std::nullopt;
}

// Reads the three items of a data file with `leitor`, which is left after the last one read.
Desfecho le_itens_dados(Leitor& leitor, std::string_view nome, ItensDados& itens)
{
    constexpr std::string_view tipo = "dados";

    leitor.pula_espacos();
    const int linha_n = leitor.linha();
    const std::string formato =
        "o primeiro item deve ser \"N, R\" (o número de times, uma vírgula e o número de rodadas)";
    if (leitor.no_fim()) return erro_conteudo(tipo, nome, linha_n, "o arquivo está vazio; " + formato + ".");
    bool fora = false;
    const auto n = leitor.le_inteiro(fora);
    if (!n) return erro_conteudo(tipo, nome, linha_n, formato + ", mas começa com " + aspas(trecho_legivel(leitor.espia_token())) + ".");
    if (fora) return erro_conteudo(tipo, nome, linha_n, "o número de times não cabe em 32 bits.");
    if (!leitor.le_virgula())
        return erro_conteudo(tipo, nome, leitor.linha(), formato + "; falta a vírgula logo depois do número de times.");
    const auto r = leitor.le_inteiro(fora);
    if (!r) return erro_conteudo(tipo, nome, leitor.linha(), formato + "; falta o número de rodadas depois da vírgula.");
    if (fora) return erro_conteudo(tipo, nome, leitor.linha(), "o número de rodadas não cabe em 32 bits.");

    struct Caminho {
        std::string* destino;
        const char* descricao;
    };
    const Caminho caminhos[] = {{&itens.arquivo_distancias, "arquivo de distâncias"},
                                {&itens.arquivo_nomes, "arquivo de nomes de times"}};
    for (const auto& [destino, descricao] : caminhos) {
        const auto token = leitor.le_token();
        if (token.empty()) return erro_conteudo(tipo, nome, leitor.linha(), std::string("falta o caminho do ") + descricao + ".");
        if (token.size() > max_caracteres)
            return erro_conteudo(tipo, nome, leitor.linha(), std::string("o caminho do ") + descricao + " tem " +
                                                                 std::to_string(token.size()) + " caracteres; o máximo é " +
                                                                 std::to_string(max_caracteres) + ".");
        *destino = std::string(token);
    }
    if (*n < 3) return erro_conteudo(tipo, nome, linha_n, "o número de times é " + std::to_string(*n) + "; são precisos pelo menos 3.");
    if (*n > max_times)
        return erro_conteudo(tipo, nome, linha_n, "o número de times é " + std::to_string(*n) + "; o máximo é " + std::to_string(max_times) + ".");
    const int minimo = rodadas_preenchidas(*n);
    if (*r < minimo)
        return erro_conteudo(tipo, nome, linha_n, "o número de rodadas é " + std::to_string(*r) + "; com " + std::to_string(*n) +
                                                      " times são precisas pelo menos " + std::to_string(minimo) + ".");
    if (*r > max_rodadas)
        return erro_conteudo(tipo, nome, linha_n, "o número de rodadas é " + std::to_string(*r) + "; o máximo é " +
                                                      std::to_string(max_rodadas) + ".");
    itens.num_times = *n;
    itens.num_rodadas = *r;
    return Desfecho::ok();
}

}  // namespace

bool le_arquivo(const std::filesystem::path& caminho, std::string& bytes, std::string& motivo)
{
    // The kind of file is checked before opening it, so that no device is ever opened, and
    // again on the file actually opened. It is opened without blocking, so that a pipe put
    // there in between cannot hold the program up.
    struct stat info{};
    if (::stat(caminho.c_str(), &info) != 0) {
        motivo = motivo_abertura(errno);
        return false;
    }
    if (auto m = motivo_tipo(info)) {
        motivo = *m;
        return false;
    }
    const int fd = ::open(caminho.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        motivo = motivo_abertura(errno);
        return false;
    }
    struct Fecha {
        int fd;
        ~Fecha() { ::close(fd); }
    } fecha{fd};
    if (::fstat(fd, &info) != 0) {
        motivo = "erro de leitura";
        return false;
    }
    if (auto m = motivo_tipo(info)) {
        motivo = *m;
        return false;
    }
    try {
        bytes.clear();
        bytes.reserve(static_cast<std::size_t>(info.st_size));
        char bloco[1 << 16];
        for (;;) {
            const ssize_t lidos = ::read(fd, bloco, sizeof bloco);
            if (lidos == 0) break;
            if (lidos < 0) {
                if (errno == EINTR) continue;
                motivo = "erro de leitura";
                return false;
            }
            // The file may have grown since it was measured.
            if (bytes.size() + static_cast<std::size_t>(lidos) > max_bytes_arquivo) {
                motivo = "o arquivo tem mais de " + std::to_string(max_bytes_arquivo >> 20) + " MB";
                return false;
            }
            bytes.append(bloco, static_cast<std::size_t>(lidos));
        }
    } catch (const std::bad_alloc&) {
        motivo = "falta memória para lê-lo";
        return false;
    }
    return true;
}

Desfecho interpreta_dados(std::string_view bytes, std::string_view nome, ItensDados& itens)
{
    constexpr std::string_view tipo = "dados";
    bytes = sem_bom(bytes);
    Leitor leitor(bytes);
    const Desfecho lido = le_itens_dados(leitor, nome, itens);
    // What follows the third item is not read, and so not checked either.
    std::size_t fim = leitor.posicao();
    while (fim < bytes.size() && !eh_espaco(bytes[fim])) ++fim;
    if (auto erro = verifica_texto(bytes.substr(0, fim), tipo, nome)) return *erro;
    return lido;
}

Desfecho interpreta_distancias(std::string_view bytes, std::string_view nome, int num_times,
                               Matriz<std::int32_t>& distancias)
{
    constexpr std::string_view tipo = "distâncias";
    bytes = sem_bom(bytes);
    if (auto erro = verifica_texto(bytes, tipo, nome)) return *erro;
    // A team plays N-1 games, so its distance travelled is a sum of N-1 distances; each
    // one is kept small enough for that sum to fit a 32-bit int.
    if (num_times < 2 || distancias.linhas() <= num_times || distancias.colunas() <= num_times)
        return Desfecho::erro(msg_distancias_nao_aberto,
                              "a matriz de distâncias não tem o tamanho de " + std::to_string(num_times) + " times.");
    const long long maior = static_cast<long long>(INT32_MAX) / (num_times - 1);
    Leitor leitor(bytes);
    const char* nomes_campos[] = {"o primeiro time", "o segundo time", "a distância"};
    const char* depois_de[] = {"do primeiro time", "do segundo time", "da distância"};
    for (;;) {
        leitor.pula_espacos();
        if (leitor.no_fim()) break;
        const int linha = leitor.linha();
        std::int32_t valores[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
            if (k > 0 && !leitor.le_virgula()) {
                if (leitor.no_fim())
                    return erro_conteudo(tipo, nome, linha,
                                         "o terno está incompleto: falta " + std::string(nomes_campos[k]) + ".");
                return erro_conteudo(tipo, nome, leitor.linha(),
                                     "esperava uma vírgula logo depois " + std::string(depois_de[k - 1]) + " (" +
                                         std::to_string(valores[k - 1]) + "); cada linha deve ser \"i, j, distância\".");
            }
            bool fora = false;
            const auto v = leitor.le_inteiro(fora);
            if (!v) {
                if (leitor.no_fim())
                    return erro_conteudo(tipo, nome, linha,
                                         "o terno está incompleto: falta " + std::string(nomes_campos[k]) + ".");
                return erro_conteudo(tipo, nome, leitor.linha(), descricao_numero(leitor.espia_token()));
            }
            if (fora) return erro_conteudo(tipo, nome, leitor.linha(), std::string(nomes_campos[k]) + " não cabe em 32 bits.");
            valores[k] = *v;
        }
        const auto [i, j, d] = valores;
        for (const int t : {i, j}) {
            if (t < 1 || t > num_times)
                return erro_conteudo(tipo, nome, linha, "o time " + std::to_string(t) + " não existe; os times vão de 1 a " +
                                                            std::to_string(num_times) + ".");
        }
        if (d < 0) return erro_conteudo(tipo, nome, linha, "a distância " + std::to_string(d) + " é negativa.");
        if (d > maior)
            return erro_conteudo(tipo, nome, linha,
                                 "a distância " + std::to_string(d) + " é grande demais: com " + std::to_string(num_times) +
                                     " times, a maior distância aceita é " + std::to_string(maior) +
                                     ", para que o percurso de um time não passe de 2147483647.");
        distancias[i][j] = d;
    }
    return Desfecho::ok();
}

Desfecho interpreta_nomes(std::string_view bytes, std::string_view nome, int num_times, std::vector<std::string>& nomes)
{
    constexpr std::string_view tipo = "nomes de times";
    bytes = sem_bom(bytes);
    if (auto erro = verifica_texto(bytes, tipo, nome)) return *erro;
    const bool utf8 = utf8_valido(bytes);
    if (num_times < 0) num_times = 0;
    nomes.assign(static_cast<std::size_t>(num_times) + 1, std::string());
    Leitor leitor(bytes);
    int time = 0;
    for (;;) {
        leitor.pula_espacos();
        if (leitor.no_fim()) break;
        const int linha = leitor.linha();
        const auto token = leitor.le_token();
        std::string texto = utf8 ? std::string(token) : latin1_para_utf8(token);
        ++time;
        if (time > num_times)
            return erro_conteudo(tipo, nome, linha, "há mais nomes do que os " + std::to_string(num_times) + " times: o " +
                                                        std::to_string(time) + "º é " + aspas(trecho_legivel(token)) + ".");
        const auto caracteres = conta_caracteres(texto);
        if (caracteres > max_caracteres)
            return erro_conteudo(tipo, nome, linha, "o nome do time " + std::to_string(time) + " tem " + std::to_string(caracteres) +
                                                        " caracteres; o máximo é " + std::to_string(max_caracteres) + ".");
        if (auto c = primeiro_fora_de_latin1(texto))
            return erro_conteudo(tipo, nome, linha, "o nome do time " + std::to_string(time) + ", " + aspas(texto) +
                                                        ", tem o caractere " + aspas(*c) +
                                                        ", que o arquivo de resultados (Latin-1) não pode gravar.");
        const std::string em_latin1 = *utf8_para_latin1(texto);
        for (const char ch : em_latin1) {
            const auto b = static_cast<unsigned char>(ch);
            if (b >= 0x80 && b < 0xA0)
                return erro_conteudo(tipo, nome, linha, "o nome do time " + std::to_string(time) +
                                                            " tem um caractere de controle; o arquivo não é de texto.");
        }
        nomes[static_cast<std::size_t>(time)] = std::move(texto);
    }
    return Desfecho::ok();
}

std::filesystem::path resolve_caminho(const std::filesystem::path& arquivo_dados, const std::string& caminho)
{
    const std::filesystem::path escrito(caminho);
    if (escrito.is_absolute()) return escrito;
    std::error_code ec;
    std::filesystem::path absoluto = std::filesystem::absolute(arquivo_dados, ec);
    if (ec) absoluto = arquivo_dados;  // the current folder is gone: the path stays as given
    const std::filesystem::path pasta = absoluto.parent_path();
    std::filesystem::path resolvido = pasta / escrito;
    if (caminho.find('\\') != std::string::npos && !std::filesystem::exists(resolvido, ec)) {
        std::string com_barras = caminho;
        for (char& c : com_barras)
            if (c == '\\') c = '/';
        resolvido = pasta / std::filesystem::path(com_barras);
    }
    return resolvido;
}

Desfecho le_campeonato(const std::filesystem::path& arquivo_dados, Campeonato& campeonato)
{
    std::string bytes;
    std::string motivo;
    const std::string nome_dados = arquivo_dados.string();
    if (nome_dados.empty()) return Desfecho::erro(msg_dados_nao_aberto);
    if (!le_arquivo(arquivo_dados, bytes, motivo))
        return Desfecho::erro(msg_dados_nao_aberto, nome_exibivel(nome_dados) + ": " + motivo + ".");

    ItensDados itens;
    if (auto d = interpreta_dados(bytes, nome_dados, itens); !d.sucesso) return d;

    const auto caminho_distancias = resolve_caminho(arquivo_dados, itens.arquivo_distancias);
    const auto caminho_nomes = resolve_caminho(arquivo_dados, itens.arquivo_nomes);
    const int n = itens.num_times;

    Matriz<std::int32_t> distancias;
    try {
        distancias = aloca_matriz_inteiros(n + 1, n + 1);
    } catch (const ErroAlocacao& e) {
        return Desfecho::simples(e.what());
    }

    if (!le_arquivo(caminho_distancias, bytes, motivo))
        return Desfecho::erro(msg_distancias_nao_aberto, nome_exibivel(caminho_distancias.string()) + ": " + motivo + ".");
    if (auto d = interpreta_distancias(bytes, caminho_distancias.string(), n, distancias); !d.sucesso) return d;

    std::vector<std::string> nomes;
    if (!le_arquivo(caminho_nomes, bytes, motivo))
        return Desfecho::erro(msg_nomes_nao_aberto, nome_exibivel(caminho_nomes.string()) + ": " + motivo + ".");
    if (auto d = interpreta_nomes(bytes, caminho_nomes.string(), n, nomes); !d.sucesso) return d;

    // Everything was read and found sound: the championship is replaced at once.
    campeonato.dados_carregados = true;
    campeonato.num_times = n;
    campeonato.num_rodadas = itens.num_rodadas;
    campeonato.matriz_distancias = std::move(distancias);
    campeonato.nomes_times = std::move(nomes);
    return Desfecho::ok();
}

}  // namespace kelm
