#include "lote/opcoes.hpp"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "evaluation/objetivos.hpp"
#include "files/planilha.hpp"
#include "lote/sintaxe_requisitos.hpp"
#include "model/numeros.hpp"

namespace kelm {

namespace {

using Recusa = std::optional<std::string>;

// What an option's value is: none (a switch), a text, or the name of a file read or written.
enum class Valor { nenhum, texto, arquivo_lido, arquivo_gravado };

// One option of kelm-lote: one row of the table that reads the arguments and writes the help.
struct Opcao {
    std::array<std::string_view, 3> nomes;  // the short one first when there is one; empty ones unused
    Valor valor = Valor::nenhum;
    std::string_view marcador;              // the value's name in the help ("ARQUIVO")
    bool so_da_busca = false;               // only a run uses it: refused with --avaliar
    std::string_view papel;                 // a file's role in messages, without article
    // Stores the value (blanks already taken from around it, except from a file name): the
    // refusal's text, or nothing.
    Recusa (*aplica)(std::string_view valor, Opcoes& op);
    std::string_view ajuda;                 // the help's text; each '\n' starts another line
};

// The items of a comma-separated list, each without the blanks around it.
std::vector<std::string> itens(std::string_view lista)
{
    std::vector<std::string> partes;
    for (;;) {
        const std::size_t virgula = lista.find(',');
        partes.emplace_back(sem_brancos(lista.substr(0, virgula)));
        if (virgula == std::string_view::npos) return partes;
        lista.remove_prefix(virgula + 1);
    }
}

Recusa aplica_objetivos(std::string_view valor, Opcoes& op)
{
    std::array<bool, num_contagens> marcados{};
    // An empty list chooses nothing, which the core refuses as the objectives dialog does.
    for (const std::string& item : valor.empty() ? std::vector<std::string>{} : itens(valor)) {
        const std::string_view digitos = item.starts_with('+') ? std::string_view(item).substr(1) : item;
        int n = 0;
        const auto [fim, erro] = std::from_chars(digitos.data(), digitos.data() + digitos.size(), n);
        if (digitos.empty() || erro != std::errc() || fim != digitos.data() + digitos.size() || n < 1 ||
            n > num_contagens)
            return "\"" + item + "\" não é uma inviabilidade de 1 a 11.";
        marcados[static_cast<std::size_t>(n - 1)] = true;
    }
    Criterios criterios;
    if (const Desfecho d = define_objetivos_com_requisitos(criterios, marcados); !d.sucesso) return d.texto;
    op.objetivos = marcados;
    return std::nullopt;
}

Recusa aplica_pesos_da_lista(std::string_view valor, Opcoes& op)
{
    const std::vector<std::string> partes = itens(valor);
    if (partes.size() < num_inviabilidades || partes.size() > num_contagens)
        return "são precisos nove pesos (dez com os requisitos, onze com as mudanças de um replanejamento) separados "
               "por vírgula; foram dados " +
               std::to_string(partes.size()) + ".";
    std::array<std::string, num_inviabilidades> textos;
    std::copy_n(partes.begin(), num_inviabilidades, textos.begin());
    // The comma separates the weights, so the decimal separator is the point.
    Criterios criterios;
    const std::string* requisitos = partes.size() > num_inviabilidades ? &partes[num_inviabilidades] : nullptr;
    const std::string* mudancas = partes.size() > num_inviabilidades + 1 ? &partes[num_inviabilidades + 1] : nullptr;
    if (const Desfecho d = aplica_pesos(criterios, textos, '.', nullptr, requisitos, mudancas); !d.sucesso) return d.texto;
    op.pesos = criterios.pesos;
    return std::nullopt;
}

// One of the words of a choice, stored as its value; the refusal lists the words.
template <class T, std::size_t K>
Recusa escolhe(std::string_view valor, const std::array<std::pair<std::string_view, T>, K>& palavras, T& destino)
{
    for (const auto& [palavra, v] : palavras) {
        if (valor != palavra) continue;
        destino = v;
        return std::nullopt;
    }
    std::string lista;
    for (std::size_t k = 0; k < K; ++k)
        lista += (k == 0 ? "" : k + 1 == K ? " ou " : ", ") + ("'" + std::string(palavras[k].first) + "'");
    return "deve ser " + lista + "; foi dado \"" + std::string(valor) + "\".";
}

Recusa desfecho(const Desfecho& d) { return d.sucesso ? std::nullopt : Recusa(d.texto); }

// Every option, in the order of the help. Adding an option is adding a row.
const Opcao opcoes_lote[] = {
    {{"-o", "--saida"}, Valor::arquivo_gravado, "ARQUIVO", true, "resultado",
     [](std::string_view v, Opcoes& op) -> Recusa { op.saida = std::string(v); return std::nullopt; },
     "grava o resultado em ARQUIVO (o nome é usado como dado);\n"
     "sem esta opção o resultado vai para a saída padrão;\n"
     "um nome terminado em .xlsx recebe uma planilha com as abas\n"
     "Jogos, Mandos, Contagens e Ocorrências"},
    {{"--objetivos"}, Valor::texto, "LISTA", false, {}, aplica_objetivos,
     "inviabilidades a minimizar, de 1 a 9 (a 10, dos requisitos, e a 11,\n"
     "dos jogos mudados num replanejamento), separadas por vírgula\n"
     "(por exemplo 1,2,3,8); o padrão é todas"},
    {{"--pesos"}, Valor::texto, "LISTA", false, {}, aplica_pesos_da_lista,
     "os nove pesos (dez com o dos requisitos, onze com o dos jogos\n"
     "mudados num replanejamento), inteiros separados por vírgula;\n"
     "o padrão é\n"
     "1000000000,1000000000,1000000000,10000000,1000000000,100000,100000,1,100\n"
     "(1000000000 para os requisitos e 10000000 para os jogos mudados)"},
    {{"--objetivos-na-execucao"}, Valor::nenhum, {}, true, {},
     [](std::string_view, Opcoes& op) -> Recusa { op.objetivos_na_execucao = true; return std::nullopt; },
     "executa como quando os objetivos são escolhidos na janela\n"
     "que o comando Executar abre\n"
     "(segunda fase com 3300 movimentos por nível)"},
    {{"--max-reaquecimentos"}, Valor::texto, "K", true, {},
     [](std::string_view v, Opcoes& op) { return desfecho(converte_max_reaquecimentos(v, op.busca.max_reaquecimentos)); },
     "limite de reaquecimentos da primeira fase (padrão 50)"},
    {{"--avaliacao"}, Valor::texto, "MODO", true, {},
     [](std::string_view v, Opcoes& op) {
         return escolhe(v, std::array{std::pair{std::string_view("completa"), ModoAvaliacao::completa},
                                      std::pair{std::string_view("incremental"), ModoAvaliacao::incremental}},
                        op.busca.avaliacao);
     },
     "'incremental' (padrão) ou 'completa'; os resultados são idênticos"},
    {{"--busca"}, Valor::texto, "TIPO", true, {},
     [](std::string_view v, Opcoes& op) {
         return escolhe(v, std::array{std::pair{std::string_view("padrao"), TipoBusca::padrao},
                                      std::pair{std::string_view("compacta"), TipoBusca::compacta}},
                        op.busca.busca);
     },
     "'padrao' (padrão): troca jogos de rodada e mandos, com\nqualquer número de rodadas;\n"
     "'compacta': todo time joga em toda rodada do começo ao fim\n"
     "(pede N-1 rodadas, ou N com um número ímpar de times)"},
    {{"--returno"}, Valor::texto, "ESQUEMA", true, {},
     [](std::string_view v, Opcoes& op) {
         // The scheme's name as it is spoken too, with its accent (UTF-8 or Latin-1).
         if (v == "francês" || v == "franc\xEAs") v = "frances";
         return escolhe(v, std::array{std::pair{std::string_view("espelhado"), Returno::espelhado},
                                      std::pair{std::string_view("frances"), Returno::frances}},
                        op.busca.returno);
     },
     "planeja a temporada inteira, turno e returno:\n"
     "'espelhado' (a rodada R+r repete a rodada r com os mandos trocados)\n"
     "ou 'frances', também 'francês' (a última rodada repete a 1ª,\n"
     "e a rodada R+r-1 repete a rodada r);\n"
     "as inviabilidades são as da temporada, e o arquivo tem as 2R rodadas;\n"
     "as R rodadas dos dados devem ser as de um turno\n"
     "(N-1, ou N com um número ímpar de times)"},
    {{"--semente"}, Valor::texto, "N", true, {},
     [](std::string_view v, Opcoes& op) { return desfecho(converte_semente(v, op.busca.semente)); },
     "semente do gerador de números aleatórios, de 0 a 4294967295\n"
     "(padrão 333); outra semente dá outra tabela"},
    {{"--execucoes"}, Valor::texto, "K", true, {},
     [](std::string_view v, Opcoes& op) { return desfecho(converte_execucoes(v, op.busca.execucoes)); },
     "faz K execuções independentes, com as sementes N, N+1, ..., N+K-1,\n"
     "ao mesmo tempo nos núcleos do computador, e fica com a melhor:\n"
     "a de menor FO_STAR (num empate, a de menor semente);\n"
     "o arquivo de resultado diz de que semente ela veio\n"
     "(padrão 1, até 1000)"},
    {{"--esforco"}, Valor::texto, "E", true, {},
     [](std::string_view v, Opcoes& op) { return desfecho(converte_esforco(v, op.busca.esforco)); },
     "multiplica por E os movimentos de cada nível de temperatura:\n"
     "cerca de E vezes o tempo, por uma tabela melhor\n"
     "(padrão 1, até 100)"},
    {{"--relatorio"}, Valor::arquivo_gravado, "ARQUIVO", false, "relatório",
     [](std::string_view v, Opcoes& op) -> Recusa { op.relatorio = std::string(v); return std::nullopt; },
     "grava também o relatório da tabela obtida (ou da avaliada),\n"
     "um texto em colunas separadas por tabulação (não uma planilha):\n"
     "por time, os mandos rodada a rodada, os km percorridos\n"
     "e a parte de cada inviabilidade; quais eram objetivo;\n"
     "depois cada ocorrência das inviabilidades numa frase"},
    {{"--requisitos"}, Valor::arquivo_lido, "ARQUIVO", false, "arquivo de requisitos",
     [](std::string_view v, Opcoes& op) -> Recusa { op.requisitos = std::string(v); return std::nullopt; },
     "os requisitos do planejador (estádios, jogos marcados, clássicos;\n"
     "veja Requisitos, abaixo): cada requisito não atendido conta,\n"
     "pelo seu tamanho, na inviabilidade 10,\n"
     "que a busca minimiza e que a avaliação também conta"},
    {{"--calendario"}, Valor::arquivo_lido, "ARQUIVO", false, "arquivo de calendário",
     [](std::string_view v, Opcoes& op) -> Recusa { op.calendario = std::string(v); return std::nullopt; },
     "as datas das rodadas, uma linha por rodada: \"rodada data [hora]\"\n"
     "(data dd/mm/aaaa ou aaaa-mm-dd, hora hh:mm);\n"
     "o arquivo de resultado, a planilha e o relatório mostram as datas,\n"
     "e os requisitos podem usar datas e fim-de-semana (veja o README)"},
    {{"--ical"}, Valor::texto, "PASTA", false, {},
     [](std::string_view v, Opcoes& op) -> Recusa {
         if (v.empty()) return "falta o nome da pasta.";
         op.ical = std::string(v);
         return std::nullopt;
     },
     "grava em PASTA (criada se faltar) o calendário do campeonato\n"
     "e o de cada time em iCalendar (.ics), um evento por jogo,\n"
     "para assinar numa agenda; pede --calendario;\n"
     "exportado de novo na mesma pasta,\n"
     "o jogo que mudou de data é atualizado, não repetido"},
    {{"--partir-de"}, Valor::arquivo_lido, "TABELA", true, "tabela de partida",
     [](std::string_view v, Opcoes& op) -> Recusa { op.partir_de = std::string(v); return std::nullopt; },
     "replaneja a partir da tabela de TABELA (um arquivo de resultado\n"
     "ou uma tabela de jogos, rodada;mandante;visitante),\n"
     "em vez de sortear uma: os jogos que saem da sua rodada contam na\n"
     "inviabilidade 11 (peso padrão 10000000),\n"
     "de modo que um jogo só muda para atender um requisito\n"
     "ou corrigir uma inviabilidade grave"},
    {{"--congelar"}, Valor::texto, "LISTA", true, {},
     [](std::string_view v, Opcoes& op) -> Recusa { op.congelar = std::string(v); return std::nullopt; },
     "com --partir-de: rodadas que nenhum movimento muda\n"
     "(as já jogadas), como 1-10,12; numa temporada,\n"
     "a rodada que o returno liga a uma congelada também fica"},
    {{"--avaliar"}, Valor::arquivo_lido, "RESULTADO", false, "arquivo avaliado",
     [](std::string_view v, Opcoes& op) -> Recusa { op.avaliar = std::string(v); return std::nullopt; },
     "avalia a tabela do arquivo RESULTADO\n"
     "(gravado pelo KELM, ou no mesmo formato,\n"
     "ou uma tabela de jogos, um por linha: rodada;mandante;visitante)\n"
     "em vez de executar a busca;\n"
     "com ela só valem --objetivos, --pesos, --requisitos,\n"
     "--calendario, --ical, --relatorio e --silencioso"},
    {{"--silencioso"}, Valor::nenhum, {}, false, {},
     [](std::string_view, Opcoes& op) -> Recusa { op.silencioso = true; return std::nullopt; },
     "não mostra a linha de andamento nem o aviso\n"
     "\"TERMINOU A EXECUÇÃO!\"; a mensagem da carga, os erros,\n"
     "o aviso de interrupção e o resumo final continuam na saída de erros"},
    {{"-h", "--ajuda", "--help"}, Valor::nenhum, {}, false, {},
     [](std::string_view, Opcoes& op) -> Recusa { op.ajuda = true; return std::nullopt; }, "mostra esta ajuda"},
    {{"--versao", "--version"}, Valor::nenhum, {}, false, {},
     [](std::string_view, Opcoes& op) -> Recusa { op.versao = true; return std::nullopt; },
     "mostra o nome e a versão do programa"},
};

constexpr const char* cabecalho_ajuda =
    "Uso: kelm-lote [opções] DADOS.dat\n"
    " ou: kelm-lote --avaliar RESULTADO [opções] DADOS.dat\n"
    "\n"
    "Carrega o campeonato descrito em DADOS.dat, gera a tabela inicial, executa a busca\n"
    "(recozimento simulado com reaquecimento, em duas fases) e grava o arquivo de resultado.\n"
    "Com --avaliar, não executa a busca: lê a tabela de um arquivo de resultado\n"
    "do mesmo campeonato e escreve na saída padrão as nove inviabilidades e FO_STAR dela,\n"
    "recalculadas.\n"
    "\n"
    "Opções:\n";

constexpr const char* rodape_ajuda =
    "\n"
    "O valor de uma opção vem no argumento seguinte ou depois de um sinal de igual\n"
    "(--semente 5 ou --semente=5). Brancos (espaços e tabulações) em volta de um valor,\n"
    "e em volta de cada item de uma lista, não contam: --semente \" 5\" e --objetivos \"1, 2, 8\"\n"
    "valem como --semente 5 e --objetivos 1,2,8. Num nome de arquivo os brancos contam,\n"
    "como parte do nome. Um número inteiro pode ter o sinal + e zeros à esquerda.\n"
    "\n"
    "Uma saída nunca substitui um arquivo lido (os três do campeonato, o avaliado,\n"
    "o de requisitos, o de calendário) nem a outra saída,\n"
    "mesmo por outro caminho ou por um link:\n"
    "o comando recusa antes de carregar os dados, e nada é gravado.\n"
    "Um destino que não pode ser gravado (uma pasta que falta, sem permissão,\n"
    "/proc, /dev/full) também é recusado antes da busca.\n"
    "\n"
    "Mensagens, andamento e resumo vão para a saída de erros.\n"
    "Códigos de saída: 0 resultado gravado (ou avaliado);\n"
    "1 dados não carregados, resultado ou relatório não gravado, ou arquivo de resultado recusado;\n"
    "2 uso errado, ou uma saída que substituiria outro arquivo do comando;\n"
    "3 a primeira fase atingiu o limite de reaquecimentos (o resultado dela é gravado);\n"
    "4 execução interrompida (Ctrl-C ou SIGTERM): a busca para no fim do nível de temperatura\n"
    "e grava a melhor tabela encontrada até então; um segundo Ctrl-C encerra na hora, sem gravar.\n";

const Opcao* procura(std::string_view nome)
{
    for (const Opcao& o : opcoes_lote)
        if (std::find(o.nomes.begin(), o.nomes.end(), nome) != o.nomes.end() && !nome.empty()) return &o;
    return nullptr;
}

// Keeps the file an option names for the checks that no output replaces another file of the
// command; an option given again replaces its earlier file.
void registra_arquivo(const Opcao& o, const std::string& nome, const std::string& valor, Opcoes& op)
{
    auto& lista = o.valor == Valor::arquivo_lido ? op.lidos : op.gravados;
    std::erase_if(lista, [&](const ArquivoDoComando& a) { return a.papel == o.papel; });
    lista.push_back({std::string(o.papel), nome + " " + valor, valor});
}

// Reads the option at args[i] (and its value, advancing i); the refusal's text, or nothing.
Recusa le_opcao(const std::vector<std::string>& args, std::size_t& i, Opcoes& op)
{
    const std::string& a = args[i];
    const std::size_t igual = a.starts_with("--") ? a.find('=') : std::string::npos;
    const std::string nome = a.substr(0, igual);
    const Opcao* o = procura(nome);
    if (o == nullptr) return "opção desconhecida: " + a + ".";
    if (o->so_da_busca && op.opcao_da_busca.empty()) op.opcao_da_busca = nome;
    if (o->valor == Valor::nenhum) {
        if (igual != std::string::npos) return "a opção " + nome + " não recebe valor.";
        return o->aplica({}, op);
    }
    std::string valor;
    if (igual != std::string::npos)
        valor = a.substr(igual + 1);
    else if (i + 1 < args.size())
        valor = args[++i];
    else
        return "a opção " + nome + " precisa de um valor (" + nome + " " + std::string(o->marcador) + ").";
    const bool arquivo = o->valor == Valor::arquivo_lido || o->valor == Valor::arquivo_gravado;
    if (arquivo && valor.empty()) return "a opção " + nome + " precisa de um nome de arquivo.";
    if (Recusa erro = o->aplica(arquivo ? std::string_view(valor) : sem_brancos(valor), op)) return nome + ": " + *erro;
    if (arquivo) registra_arquivo(*o, nome, valor, op);
    return std::nullopt;
}

}  // namespace

std::optional<std::string> le_opcoes(const std::vector<std::string>& argumentos, Opcoes& op)
{
    for (std::size_t i = 0; i < argumentos.size(); ++i) {
        const std::string& a = argumentos[i];
        if (a.size() > 1 && a[0] == '-') {
            if (Recusa erro = le_opcao(argumentos, i, op)) return erro;
        } else if (!op.arquivo_dados.empty()) {
            return "só um arquivo de dados pode ser dado; sobrou \"" + a + "\".";
        } else {
            op.arquivo_dados = a;
        }
    }
    if (op.ajuda || op.versao) return std::nullopt;
    if (op.arquivo_dados.empty()) return "falta o arquivo de dados.";
    if (op.congelar && !op.partir_de) return "a opção --congelar só serve com --partir-de, num replanejamento.";
    if (op.avaliar && !op.opcao_da_busca.empty())
        return "a opção " + op.opcao_da_busca + " não serve com --avaliar, que não executa a busca.";
    if (op.relatorio && eh_planilha(*op.relatorio))
        return "--relatorio: o relatório é um texto em colunas separadas por tabulação, não uma planilha; dê um nome "
               "terminado em .txt ou .xls (uma planilha é do resultado: -o NOME.xlsx).";
    if (op.ical && !op.calendario) return "a opção --ical pede --calendario, que dá a data de cada rodada.";
    return std::nullopt;
}

std::string texto_ajuda()
{
    constexpr std::size_t coluna = 31;  // where every option's text begins
    std::string texto = cabecalho_ajuda;
    for (const Opcao& o : opcoes_lote) {
        std::string linha = o.nomes[0].starts_with("--") ? "      " : "  ";
        for (std::size_t k = 0; k < o.nomes.size() && !o.nomes[k].empty(); ++k)
            linha += (k == 0 ? "" : ", ") + std::string(o.nomes[k]);
        if (!o.marcador.empty()) linha += " " + std::string(o.marcador);
        linha.resize(std::max(coluna, linha.size() + 2), ' ');
        for (const char c : o.ajuda) linha += c == '\n' ? "\n" + std::string(coluna, ' ') : std::string(1, c);
        texto += linha + "\n";
    }
    return texto + "\nRequisitos (--requisitos ARQUIVO):\n" + sintaxe_requisitos + rodape_ajuda;
}

}  // namespace kelm
