#include "lote/lote.hpp"

#include <algorithm>
#include <charconv>
#include <chrono>
#include <optional>
#include <sstream>

#include "evaluation/objetivos.hpp"
#include "files/carga.hpp"
#include "files/formatos.hpp"
#include "files/leitura_resultado.hpp"
#include "files/planilha.hpp"
#include "search/comandos_planilha.hpp"
#include "files/resultado.hpp"
#include "model/temporada.hpp"
#include "report/explicacao.hpp"
#include "report/ficha.hpp"
#include "report/relatorio.hpp"
#include "search/busca.hpp"
#include "search/comandos.hpp"

namespace kelm {

namespace {

constexpr const char* ajuda =
    "Uso: kelm-lote [opções] DADOS.dat\n"
    "     kelm-lote --avaliar RESULTADO [opções] DADOS.dat\n"
    "\n"
    "Carrega o campeonato descrito em DADOS.dat, gera a tabela inicial, executa a busca\n"
    "(recozimento simulado com reaquecimento, em duas fases) e grava o arquivo de resultado.\n"
    "Com --avaliar, não executa a busca: lê a tabela de um arquivo de resultado do mesmo\n"
    "campeonato e escreve na saída padrão as nove inviabilidades e FO_STAR dela, recalculadas.\n"
    "\n"
    "Opções:\n"
    "  -o, --saida ARQUIVO          grava o resultado em ARQUIVO (o nome é usado como dado);\n"
    "                               sem esta opção o resultado vai para a saída padrão; um\n"
    "                               nome terminado em .xlsx recebe uma planilha com as abas\n"
    "                               Jogos, Mandos, Contagens e Ocorrências\n"
    "      --objetivos LISTA        inviabilidades a minimizar, de 1 a 9, separadas por vírgula\n"
    "                               (por exemplo 1,2,3,8); o padrão é todas\n"
    "      --pesos LISTA            os nove pesos, inteiros separados por vírgula; o padrão é\n"
    "                               1000000000,1000000000,1000000000,10000000,1000000000,100000,100000,1,100\n"
    "      --objetivos-na-execucao  executa como quando os objetivos são escolhidos na janela que o\n"
    "                               comando Executar abre (segunda fase com 3300 movimentos por nível)\n"
    "      --max-reaquecimentos K   limite de reaquecimentos da primeira fase (padrão 50)\n"
    "      --avaliacao MODO         'incremental' (padrão) ou 'completa'; os resultados são idênticos\n"
    "      --busca TIPO             'padrao' (padrão): troca jogos de lugar e mandos, como sempre;\n"
    "                               'compacta': todo time joga em toda rodada do começo ao fim\n"
    "                               (pede N-1 rodadas, ou N com um número ímpar de times)\n"
    "      --returno ESQUEMA        planeja a temporada inteira, turno e returno: 'espelhado' (a\n"
    "                               rodada R+r repete a rodada r com os mandos trocados) ou 'frances'\n"
    "                               (a última rodada repete a 1ª, e a rodada R+r-1 a rodada r); as\n"
    "                               inviabilidades são as da temporada, e o arquivo tem as 2R rodadas\n"
    "      --semente N              semente do gerador de números aleatórios (padrão 333, de 0 a\n"
    "                               4294967295); outra semente dá outra tabela\n"
    "      --relatorio ARQUIVO      grava também o relatório da tabela obtida (ou da avaliada), em\n"
    "                               colunas separadas por tabulação: por time, os mandos rodada a\n"
    "                               rodada, os km percorridos e a parte de cada inviabilidade; depois\n"
    "                               cada ocorrência das inviabilidades numa frase\n"
    "      --avaliar RESULTADO      avalia a tabela do arquivo RESULTADO (gravado pelo KELM, ou no\n"
    "                               mesmo formato) em vez de executar a busca; com ela só valem\n"
    "                               --objetivos, --pesos, --relatorio e --silencioso\n"
    "      --silencioso             não mostra a linha de andamento nem o aviso \"TERMINOU A\n"
    "                               EXECUÇÃO!\"; a mensagem da carga, os erros, o aviso de\n"
    "                               interrupção e o resumo final continuam na saída de erros\n"
    "  -h, --ajuda, --help          mostra esta ajuda\n"
    "      --versao, --version      mostra o nome e a versão do programa\n"
    "\n"
    "Mensagens, andamento e resumo vão para a saída de erros.\n"
    "Códigos de saída: 0 resultado gravado (ou avaliado); 1 dados não carregados, resultado ou\n"
    "relatório não gravado, ou arquivo de resultado recusado; 2 uso errado; 3 a primeira fase\n"
    "atingiu o limite de reaquecimentos (o resultado dela é gravado).\n";

struct Opcoes {
    std::string arquivo_dados;
    std::optional<std::string> saida;
    std::optional<std::string> relatorio;
    std::optional<std::string> avaliar;  // the result file to score instead of a run
    std::string opcao_da_busca;          // the first option given that only a run uses
    std::array<bool, num_inviabilidades> objetivos{true, true, true, true, true, true, true, true, true};
    std::array<std::int32_t, num_inviabilidades> pesos = pesos_default;
    OpcoesBusca busca;
    bool objetivos_na_execucao = false;
    bool silencioso = false;
    bool ajuda = false;
    bool versao = false;
};

std::vector<std::string> separa(const std::string& lista)
{
    std::vector<std::string> partes;
    std::string atual;
    for (const char c : lista) {
        if (c == ',') {
            partes.push_back(atual);
            atual.clear();
        } else {
            atual.push_back(c);
        }
    }
    partes.push_back(atual);
    return partes;
}

std::optional<long long> inteiro(const std::string& texto)
{
    long long v = 0;
    const auto [fim, erro] = std::from_chars(texto.data(), texto.data() + texto.size(), v);
    if (erro != std::errc() || fim != texto.data() + texto.size() || texto.empty()) return std::nullopt;
    return v;
}

// Reads the arguments; an error text when they are wrong.
std::optional<std::string> le_opcoes(const std::vector<std::string>& args, Opcoes& op)
{
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto valor = [&](std::string& destino) -> bool {
            const auto igual = a.find('=');
            if (a.rfind("--", 0) == 0 && igual != std::string::npos) {
                destino = a.substr(igual + 1);
                return true;
            }
            if (i + 1 >= args.size()) return false;
            destino = args[++i];
            return true;
        };
        auto nome = [&] { return a.substr(0, a.find('=')); };
        for (const char* so_da_busca :
             {"-o", "--saida", "--objetivos-na-execucao", "--max-reaquecimentos", "--avaliacao", "--busca", "--semente",
              "--returno"})
            if (op.opcao_da_busca.empty() && nome() == so_da_busca) op.opcao_da_busca = so_da_busca;
        std::string v;
        if (a == "-h" || a == "--ajuda" || a == "--help") {
            op.ajuda = true;
        } else if (a == "--versao" || a == "--version") {
            op.versao = true;
        } else if (a == "-o" || nome() == "--saida") {
            if (!valor(v) || v.empty()) return "a opção " + nome() + " precisa de um nome de arquivo.";
            op.saida = v;
        } else if (nome() == "--relatorio") {
            if (!valor(v) || v.empty()) return "a opção --relatorio precisa de um nome de arquivo.";
            op.relatorio = v;
        } else if (nome() == "--avaliar") {
            if (!valor(v) || v.empty()) return "a opção --avaliar precisa do nome de um arquivo de resultado.";
            op.avaliar = v;
        } else if (nome() == "--objetivos") {
            if (!valor(v)) return "a opção --objetivos precisa de uma lista, por exemplo 1,2,3,8.";
            op.objetivos.fill(false);
            for (const auto& parte : separa(v)) {
                const auto n = inteiro(parte);
                if (!n || *n < 1 || *n > 9)
                    return "em --objetivos, \"" + parte + "\" não é uma inviabilidade de 1 a 9.";
                op.objetivos[static_cast<std::size_t>(*n - 1)] = true;
            }
        } else if (nome() == "--pesos") {
            if (!valor(v)) return "a opção --pesos precisa de nove inteiros separados por vírgula.";
            const auto partes = separa(v);
            if (partes.size() != num_inviabilidades)
                return "--pesos precisa de nove pesos; foram dados " + std::to_string(partes.size()) + ".";
            for (std::size_t k = 0; k < partes.size(); ++k) {
                const auto n = inteiro(partes[k]);
                if (!n || *n < INT32_MIN || *n > INT32_MAX)
                    return "em --pesos, o peso " + std::to_string(k + 1) + " (\"" + partes[k] +
                           "\") não é um inteiro de 32 bits.";
                op.pesos[k] = static_cast<std::int32_t>(*n);
            }
        } else if (a == "--objetivos-na-execucao") {
            op.objetivos_na_execucao = true;
        } else if (nome() == "--max-reaquecimentos") {
            if (!valor(v)) return "a opção --max-reaquecimentos precisa de um número.";
            if (!converte_max_reaquecimentos(v, op.busca.max_reaquecimentos).sucesso)
                return "--max-reaquecimentos deve ser um inteiro de 0 a 1000000; foi dado \"" + v + "\".";
        } else if (nome() == "--avaliacao") {
            if (!valor(v)) return "a opção --avaliacao precisa de 'completa' ou 'incremental'.";
            if (v == "completa") op.busca.avaliacao = ModoAvaliacao::completa;
            else if (v == "incremental") op.busca.avaliacao = ModoAvaliacao::incremental;
            else return "--avaliacao deve ser 'completa' ou 'incremental'; foi dado \"" + v + "\".";
        } else if (nome() == "--busca") {
            if (!valor(v)) return "a opção --busca precisa de 'padrao' ou 'compacta'.";
            if (v == "padrao") op.busca.busca = TipoBusca::padrao;
            else if (v == "compacta") op.busca.busca = TipoBusca::compacta;
            else return "--busca deve ser 'padrao' ou 'compacta'; foi dado \"" + v + "\".";
        } else if (nome() == "--returno") {
            if (!valor(v)) return "a opção --returno precisa de 'espelhado' ou 'frances'.";
            if (v == "espelhado") op.busca.returno = Returno::espelhado;
            else if (v == "frances") op.busca.returno = Returno::frances;
            else return "--returno deve ser 'espelhado' ou 'frances'; foi dado \"" + v + "\".";
        } else if (nome() == "--semente") {
            if (!valor(v)) return "a opção --semente precisa de um número.";
            if (!converte_semente(v, op.busca.semente).sucesso)
                return "--semente deve ser um inteiro de 0 a 4294967295; foi dado \"" + v + "\".";
        } else if (a == "--silencioso") {
            op.silencioso = true;
        } else if (a.size() > 1 && a[0] == '-') {
            return "opção desconhecida: " + a + ".";
        } else if (!op.arquivo_dados.empty()) {
            return "só um arquivo de dados pode ser dado; sobrou \"" + a + "\".";
        } else {
            op.arquivo_dados = a;
        }
    }
    if (op.ajuda || op.versao) return std::nullopt;
    if (op.arquivo_dados.empty()) return "falta o arquivo de dados.";
    if (op.avaliar && !op.opcao_da_busca.empty())
        return "a opção " + op.opcao_da_busca + " não serve com --avaliar, que não executa a busca.";
    return std::nullopt;
}

void mostra(std::ostream& erros, const Desfecho& d)
{
    if (!d.texto.empty()) erros << d.texto << '\n';
    if (!d.detalhe.empty()) erros << d.detalhe << '\n';
}

// The progress line: redrawn in place on a terminal, printed sparingly otherwise.
class ObservadorLote : public Observador {
public:
    ObservadorLote(AmbienteLote& ambiente, bool silencioso) : amb_(ambiente), silencioso_(silencioso) {}

    void andamento(const Andamento& a) override
    {
        if (silencioso_) return;
        const auto agora = std::chrono::steady_clock::now();
        const auto intervalo = amb_.terminal ? std::chrono::milliseconds(100) : std::chrono::milliseconds(2000);
        if (a.fase == fase_ && agora - ultima_ < intervalo) return;
        fase_ = a.fase;
        ultima_ = agora;
        std::ostringstream linha;
        linha << "Fase " << a.fase << ": " << percentual(a.percentual) << " %  FO* "
              << formata_numero(a.fo_star, amb_.separador) << "  reaquecimentos " << a.num_reaquecimentos << "  "
              << formata_hora(a.tempo_execucao);
        if (amb_.terminal)
            amb_.erros << '\r' << linha.str() << "\x1b[K" << std::flush;
        else
            amb_.erros << linha.str() << '\n';
        linha_aberta_ = amb_.terminal;
    }

    void mensagem(const std::string& texto) override
    {
        if (silencioso_ && texto == msg_terminou) return;
        fecha_linha();
        amb_.erros << texto << '\n';
    }

    void fecha_linha()
    {
        if (linha_aberta_) amb_.erros << '\n';
        linha_aberta_ = false;
    }

private:
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
    bool silencioso_;
    int fase_ = 0;
    bool linha_aberta_ = false;
    std::chrono::steady_clock::time_point ultima_{};
};

void resumo(std::ostream& erros, const Execucao& execucao, const ResumoBusca& r, double segundos, char separador)
{
    for (std::size_t i = 0; i < num_inviabilidades; ++i)
        erros << "Inviabilidade " << i + 1 << ": " << formata_numero(execucao.inviabilidades_melhor[i], separador) << '\n';
    std::ostringstream s;
    s.precision(3);
    s << std::fixed << segundos;
    std::string seg = s.str();
    for (char& c : seg)
        if (c == '.') c = separador;
    erros << "FO_STAR: " << formata_numero(execucao.fo_star, separador) << '\n'
          << "Reaquecimentos: " << r.reaquecimentos << '\n'
          << "Movimentos avaliados: " << r.movimentos << '\n'
          << "Tempo de execução: " << formata_hora(execucao.tempo_execucao) << " (" << seg << " s)\n";
}

// Writes the report of `tabela` when one was asked for; false, with the message shown, when
// it cannot be written.
bool grava_relatorio(const Opcoes& op, const Campeonato& campeonato, const Tabela& tabela, AmbienteLote& amb)
{
    if (!op.relatorio) return true;
    const Desfecho gravacao =
        grava_arquivo(*op.relatorio, texto_relatorio(campeonato, explica_tabela(campeonato, tabela), amb.separador));
    if (!gravacao.sucesso) {
        mostra(amb.erros, gravacao);
        return false;
    }
    amb.erros << "Relatório gravado em " << *op.relatorio << '\n';
    return true;
}

// --avaliar: scores the schedule of a result file instead of running the search.
int avalia_resultado(const Opcoes& op, AmbienteLote& amb)
{
    Estado estado;
    const Desfecho carga = carrega_dados(estado.campeonato, estado.execucao, op.arquivo_dados);
    mostra(amb.erros, carga);
    if (!carga.sucesso) return lote_falhou;
    Tabela tabela;
    if (const Desfecho lido = carrega_resultado(estado.campeonato, *op.avaliar, tabela); !lido.sucesso) {
        mostra(amb.erros, lido);
        return lote_falhou;
    }
    estado.criterios.pesos = op.pesos;
    define_objetivos(estado.criterios, op.objetivos);
    // A file of twice the championship's rounds is a whole season, scored as one.
    if (tabela.linhas() > estado.campeonato.num_rodadas)
        estado.campeonato = campeonato_da_temporada(estado.campeonato, Returno::espelhado);
    Contagens contagens;
    double fo = 0.0;
    try {
        fo = avalia_tabela_avulsa(estado.campeonato, estado.criterios, tabela, contagens);
    } catch (const ErroAlocacao& e) {
        amb.erros << e.what() << '\n';
        return lote_falhou;
    }
    for (const std::string& linha : linhas_contagens(contagens, fo, amb.separador)) amb.saida << linha << '\n';
    amb.saida.flush();
    return grava_relatorio(op, estado.campeonato, tabela, amb) ? lote_ok : lote_falhou;
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
        amb.saida << ajuda;
        return lote_ok;
    }
    if (op.versao) {
        amb.saida << "kelm-lote (KELM) " KELM_VERSAO "\n";
        return lote_ok;
    }
    if (op.avaliar) return avalia_resultado(op, amb);

    // A result or report that could not be written is refused before the run, not after it.
    for (const auto& destino : {op.saida, op.relatorio}) {
        if (!destino) continue;
        if (const Desfecho d = pode_gravar(*destino); !d.sucesso) {
            mostra(amb.erros, d);
            return lote_falhou;
        }
    }

    Estado estado;
    const Desfecho carga = carrega_dados(estado.campeonato, estado.execucao, op.arquivo_dados);
    mostra(amb.erros, carga);
    if (!carga.sucesso) return lote_falhou;

    estado.criterios.pesos = op.pesos;
    if (op.objetivos_na_execucao) {
        // As when the run command opens the objectives dialog and the planner confirms them.
        op.busca.escolhe_objetivos = [&] { define_objetivos(estado.criterios, op.objetivos); };
    } else {
        define_objetivos(estado.criterios, op.objetivos);
    }

    ObservadorLote observador(amb, op.silencioso);
    const auto inicio = std::chrono::steady_clock::now();
    const ResumoBusca r = executa_busca(estado, observador, op.busca);
    const double segundos = std::chrono::duration<double>(std::chrono::steady_clock::now() - inicio).count();
    observador.fecha_linha();
    if (!r.desfecho.sucesso || !r.executada) {
        mostra(amb.erros, r.desfecho);
        return lote_falhou;
    }
    resumo(amb.erros, estado.execucao, r, segundos, amb.separador);

    if (op.saida) {
        // A name ending in .xlsx asks for a workbook; any other, the result file.
        const Desfecho gravacao =
            eh_planilha(*op.saida)
                ? grava_planilha_resultado(estado.campeonato, estado.execucao, *op.saida,
                                           nome_do_campeonato(op.arquivo_dados))
                : grava_resultado(estado.campeonato, estado.execucao, *op.saida, amb.separador);
        if (!gravacao.sucesso) {
            mostra(amb.erros, gravacao);
            return lote_falhou;
        }
        amb.erros << "Resultado gravado em " << *op.saida << '\n';
    } else {
        amb.saida << texto_resultado(estado.campeonato, estado.execucao, amb.separador);
        amb.saida.flush();
        if (!amb.saida) {
            amb.erros << msg_arquivo_nao_salvo << '\n';
            return lote_falhou;
        }
    }
    const Returno returno = estado.execucao.procedencia.returno;
    if (!grava_relatorio(op, campeonato_da_temporada(estado.campeonato, returno),
                         tabela_da_temporada(estado.execucao.tabela_melhor, returno), amb))
        return lote_falhou;
    return r.interrompida ? lote_interrompida : lote_ok;
}

}  // namespace kelm
