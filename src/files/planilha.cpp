#include "files/planilha.hpp"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include <sys/stat.h>

#include <xlsxwriter.h>

#include "files/rascunhos.hpp"
#include "files/resultado.hpp"
#include "files/texto.hpp"
#include "report/quadro_mandos.hpp"

namespace kelm {

namespace {

constexpr std::size_t maximo_celula = 32767;  // bytes of text a cell holds

// The widest text of each column of a sheet, in characters, to size the columns by.
class Larguras {
public:
    // Takes note of a text written in `coluna`.
    void nota(lxw_col_t coluna, const std::string& texto)
    {
        if (coluna >= maximos_.size()) maximos_.resize(coluna + 1, 0);
        const std::size_t n = utf8_valido(texto) ? conta_caracteres(texto) : texto.size();
        maximos_[coluna] = std::max(maximos_[coluna], n);
    }
    // Sets each column noted to its widest text, between `minimo` and 70 characters.
    void aplica(lxw_worksheet* folha, std::size_t minimo = 4) const
    {
        for (std::size_t c = 0; c < maximos_.size(); ++c) {
            const double largura = static_cast<double>(std::clamp(std::max(maximos_[c], minimo), std::size_t{4}, std::size_t{70}));
            worksheet_set_column(folha, static_cast<lxw_col_t>(c), static_cast<lxw_col_t>(c), largura + 2, nullptr);
        }
    }

private:
    std::vector<std::size_t> maximos_;
};

// The workbook being written, with its formats and the widths of the sheet being filled.
class Pasta {
public:
    Pasta(lxw_workbook* livro, const Campeonato& campeonato, const Tabela& tabela, const Explicacao& explicacao,
          const Ficha& ficha, const Calendario* calendario)
        : livro_(livro), c_(campeonato), tabela_(tabela), e_(explicacao), ficha_(ficha),
          calendario_(calendario != nullptr && calendario->num_rodadas() == tabela.linhas() ? calendario : nullptr)
    {
        negrito_ = workbook_add_format(livro_);
        format_set_bold(negrito_);
        format_set_bottom(negrito_, LXW_BORDER_THIN);
    }

    // Fills the four sheets.
    void escreve()
    {
        jogos();
        mandos();
        contagens();
        ocorrencias();
    }

private:
    // The name of a team, empty for a number outside the championship.
    const std::string& nome(int time) const
    {
        static const std::string vazio;
        return time >= 1 && time <= c_.num_times ? c_.nomes_times[static_cast<std::size_t>(time)] : vazio;
    }

    // Writes a text, or a number, into a cell and notes its width.
    void texto(lxw_worksheet* f, lxw_row_t l, lxw_col_t c, const std::string& t, lxw_format* formato = nullptr)
    {
        // A cell holds at most 32767 bytes, which only the sentence naming every team tied
        // for the most or the least km of a very large championship could pass: it is cut,
        // at a character's start, rather than left out.
        std::string cabe = t;
        if (cabe.size() > maximo_celula) {
            std::size_t corte = maximo_celula - 3;
            while (corte > 0 && (static_cast<unsigned char>(cabe[corte]) & 0xC0) == 0x80) --corte;
            cabe = cabe.substr(0, corte) + "...";
        }
        worksheet_write_string(f, l, c, cabe.c_str(), formato);
        larguras_.nota(c, cabe);
    }
    void numero(lxw_worksheet* f, lxw_row_t l, lxw_col_t c, double v, lxw_format* formato = nullptr)
    {
        worksheet_write_number(f, l, c, v, formato);
        larguras_.nota(c, formata_curto(v));
    }
    // A number as wide as a spreadsheet shows it, near enough to size a column by.
    static std::string formata_curto(double v) { return std::to_string(static_cast<long long>(v)); }

    // A sheet whose first row holds `cabecalho` in bold, frozen while the rest scrolls.
    lxw_worksheet* folha(const char* titulo, const std::vector<std::string>& cabecalho, lxw_col_t colunas_fixas = 0)
    {
        lxw_worksheet* f = workbook_add_worksheet(livro_, titulo);
        larguras_ = {};
        for (std::size_t k = 0; k < cabecalho.size(); ++k) texto(f, 0, static_cast<lxw_col_t>(k), cabecalho[k], negrito_);
        worksheet_freeze_panes(f, 1, colunas_fixas);
        return f;
    }

    // "Jogos": a row per game, round by round, slot by slot; with a calendar, its round's date
    // in the second column.
    void jogos()
    {
        const lxw_col_t d = calendario_ != nullptr ? 1 : 0;
        lxw_worksheet* f = folha("Jogos", d == 0 ? std::vector<std::string>{"Rodada", "Jogo", "Mandante", "Visitante"}
                                                 : std::vector<std::string>{"Rodada", "Data", "Jogo", "Mandante", "Visitante"});
        lxw_row_t linha = 1;
        for (int r = 0; r < tabela_.linhas(); ++r) {
            for (int g = 0; g < tabela_.colunas(); ++g) {
                const Jogo jogo = tabela_[r][g];
                if (jogo.vazio()) continue;
                numero(f, linha, 0, r + 1);
                if (d != 0) data(f, linha, 1, calendario_->dia(r));
                numero(f, linha, 1 + d, g + 1);
                texto(f, linha, 2 + d, nome(jogo.mandante()));
                texto(f, linha, 3 + d, nome(jogo.visitante()));
                ++linha;
            }
        }
        larguras_.aplica(f, 8);
    }

    // A round's date as a spreadsheet date, shown as 18/05/2024 (or 18/05/2024 16:00).
    void data(lxw_worksheet* f, lxw_row_t l, lxw_col_t c, const DiaDaRodada& dia)
    {
        lxw_format*& formato = dia.hora ? formato_data_hora_ : formato_data_;
        if (formato == nullptr) {
            formato = workbook_add_format(livro_);
            format_set_num_format(formato, dia.hora ? "dd/mm/yyyy hh:mm" : "dd/mm/yyyy");
            format_set_align(formato, LXW_ALIGN_LEFT);
        }
        lxw_datetime quando{dia.data.ano, dia.data.mes, dia.data.dia, dia.hora ? dia.hora->hora : 0,
                            dia.hora ? dia.hora->minuto : 0, 0.0};
        worksheet_write_datetime(f, l, c, &quando, formato);
        larguras_.nota(c, texto_data(dia.data) + (dia.hora ? " " + texto_hora(*dia.hora) : std::string()));
    }

    // The format of a cell of the home/away sheet: venue and run by its fill, a game that
    // adds to a count in bold red, the first round of the returno behind a thick line.
    lxw_format* formato_casa(const CasaQuadro& casa, bool inicio_returno)
    {
        const char onde = casa.mandos.size() == 1 ? casa.mandos[0] : casa.mandos == "-" ? '-' : 'D';
        const int chave = onde * 8 + (casa.sequencia_longa ? 4 : 0) + (casa.em_contagem ? 2 : 0) + (inicio_returno ? 1 : 0);
        auto [it, novo] = formatos_.try_emplace(chave, nullptr);
        if (!novo) return it->second;
        lxw_format* f = workbook_add_format(livro_);
        format_set_border(f, LXW_BORDER_HAIR);
        format_set_border_color(f, cores_quadro::borda);
        format_set_bg_color(f, cor_da_casa(casa));
        if (casa.em_contagem) {
            format_set_bold(f);
            format_set_font_color(f, cores_quadro::contagem);
        }
        if (inicio_returno) {
            format_set_left(f, LXW_BORDER_THICK);
            format_set_left_color(f, 0x000000);
        }
        it->second = f;
        return f;
    }

    // "Mandos": a row per team, a column per round, then its home and away games and km.
    void mandos()
    {
        const QuadroMandos q = monta_quadro_mandos(c_, tabela_, e_, ficha_.inicio_returno);
        std::vector<std::string> cabecalho{"Time"};
        lxw_worksheet* f = folha("Mandos", cabecalho, 1);
        for (int r = 0; r < q.rodadas; ++r) numero(f, 0, static_cast<lxw_col_t>(r + 1), r + 1, negrito_);
        const auto depois = static_cast<lxw_col_t>(q.rodadas + 1);
        texto(f, 0, depois, "Casa", negrito_);
        texto(f, 0, depois + 1, "Fora", negrito_);
        texto(f, 0, depois + 2, "Km", negrito_);
        for (const LinhaTime& l : e_.times) {
            const auto linha = static_cast<lxw_row_t>(l.time);
            texto(f, linha, 0, nome(l.time));
            for (int r = 0; r < q.rodadas; ++r) {
                const CasaQuadro& casa = q.casa(l.time, r);
                std::string adversarios;
                for (const int a : casa.adversarios) adversarios += (adversarios.empty() ? "" : " / ") + nome(a);
                texto(f, linha, static_cast<lxw_col_t>(r + 1), adversarios,
                      formato_casa(casa, q.inicio_returno > 0 && r == q.inicio_returno));
            }
            numero(f, linha, depois, l.jogos_casa);
            numero(f, linha, depois + 1, l.jogos_fora);
            numero(f, linha, depois + 2, static_cast<double>(l.km));
        }
        larguras_.aplica(f);
        legenda(f, static_cast<lxw_row_t>(e_.times.size() + 2), q.inicio_returno > 0);
        worksheet_set_landscape(f);
        worksheet_fit_to_pages(f, 1, 0);
    }

    // What the colours of "Mandos" mean, from `linha` down.
    void legenda(lxw_worksheet* f, lxw_row_t linha, bool com_returno)
    {
        CasaQuadro exemplo;
        const auto item = [&](const char* mandos, bool seguida, bool contagem, bool returno, const char* texto) {
            exemplo.mandos = mandos;
            exemplo.sequencia_longa = seguida;
            exemplo.em_contagem = contagem;
            worksheet_write_string(f, linha++, 0, texto, formato_casa(exemplo, returno));
        };
        worksheet_write_string(f, linha++, 0, "Legenda", negrito_);
        item("C", false, false, false, "Em casa");
        item("F", false, false, false, "Fora de casa");
        item("C", true, false, false, "Três ou mais jogos seguidos em casa");
        item("F", true, false, false, "Três ou mais jogos seguidos fora");
        item("-", false, true, false, "Em vermelho: jogo que entra numa inviabilidade do time");
        if (com_returno) item("-", false, false, true, "Linha grossa: primeira rodada do returno");
    }

    // "Contagens": the counts as listed, FO_STAR, and what produced them.
    void contagens()
    {
        lxw_worksheet* f = folha("Contagens", {"Inviabilidade", "Descrição", "Valor", "Peso", "Objetivo"});
        lxw_row_t linha = 1;
        for (const ItemContagem& item : ficha_.contagens) {
            texto(f, linha, 0, item.nome);
            texto(f, linha, 1, item.descricao);
            numero(f, linha, 2, item.valor);
            numero(f, linha, 3, item.peso);
            texto(f, linha, 4, item.objetivo ? "Sim" : "Não");
            ++linha;
        }
        texto(f, linha, 0, "FO_STAR", negrito_);
        texto(f, linha, 1, "Função objetivo: a soma de peso × valor das inviabilidades que eram objetivo no fim da execução");
        numero(f, linha, 2, ficha_.fo);
        linha += 2;
        texto(f, linha++, 0, "Procedência", negrito_);
        for (const ItemProcedencia& item : ficha_.procedencia) {
            texto(f, linha, 0, item.rotulo);
            if (item.numero) numero(f, linha, 1, *item.numero);
            else texto(f, linha, 1, item.texto);
            ++linha;
        }
        larguras_.aplica(f);
    }

    // "Ocorrências": every occurrence of a count, as the report lists them.
    void ocorrencias()
    {
        lxw_worksheet* f = folha("Ocorrências", {"Inviabilidade", "Time", "Rodadas", "Valor", "Ocorrência"});
        lxw_row_t linha = 1;
        for (const Ocorrencia& o : e_.ocorrencias) {
            std::string rodadas;
            for (const int r : o.rodadas) rodadas += (rodadas.empty() ? "" : ", ") + std::to_string(r + 1);
            numero(f, linha, 0, static_cast<int>(o.inviabilidade) + 1);
            texto(f, linha, 1, nome(o.time));
            texto(f, linha, 2, rodadas);
            numero(f, linha, 3, static_cast<double>(o.valor));
            texto(f, linha, 4, o.frase);
            ++linha;
        }
        larguras_.aplica(f, 12);
    }

    lxw_workbook* livro_;
    const Campeonato& c_;
    const Tabela& tabela_;
    const Explicacao& e_;
    const Ficha& ficha_;
    const Calendario* calendario_;
    lxw_format* negrito_ = nullptr;
    lxw_format* formato_data_ = nullptr;
    lxw_format* formato_data_hora_ = nullptr;
    std::map<int, lxw_format*> formatos_;
    Larguras larguras_;
};

// A hidden folder of its own in `base`, removed with what it holds; its path is empty, and
// `erro` the system's error, when it cannot be made.
class PastaPropria {
public:
    explicit PastaPropria(const std::filesystem::path& base)
    {
        std::string modelo = (base / ".kelm-planilha-XXXXXX").string();
        if (cria_pasta_rascunho(modelo))
            caminho_ = modelo;
        else
            erro_ = errno;
    }
    ~PastaPropria()
    {
        std::error_code ec;
        if (caminho_.empty()) return;
        std::filesystem::remove_all(caminho_, ec);
        for (const std::string& a : arquivos_) esquece_rascunho(a);
        esquece_rascunho(caminho_.string());
    }
    PastaPropria(const PastaPropria&) = delete;
    PastaPropria& operator=(const PastaPropria&) = delete;

    const std::filesystem::path& caminho() const { return caminho_; }
    int erro() const { return erro_; }

    // The path of the file `nome` in the folder, which goes with it, listed before it exists.
    std::string arquivo(const char* nome)
    {
        arquivos_.push_back((caminho_ / nome).string());
        lista_rascunho(arquivos_.back());
        return arquivos_.back();
    }

private:
    std::filesystem::path caminho_;
    std::vector<std::string> arquivos_;
    int erro_ = 0;
};

// Where a workbook for `destino` is built: beside the file the save replaces (the one a link
// names), where the save's own new file goes too, so that the system's temporary folder
// plays no part; a device, written in place, has it in the system's temporary folder.
std::filesystem::path pasta_do_rascunho(const std::filesystem::path& destino)
{
    const std::filesystem::path gravado = arquivo_gravado(destino).value_or(destino);
    struct stat info{};
    if (::stat(gravado.c_str(), &info) == 0 && !S_ISREG(info.st_mode)) {
        std::error_code ec;
        const std::filesystem::path temporaria = std::filesystem::temp_directory_path(ec);
        return ec ? std::filesystem::path("/tmp") : temporaria;
    }
    return gravado.has_parent_path() ? gravado.parent_path() : std::filesystem::path(".");
}

// The refusal of a workbook whose folder of its own could not be made in `pasta`.
Desfecho sem_rascunho(const std::filesystem::path& destino, const std::filesystem::path& pasta, int erro)
{
    Desfecho d = falha_gravacao(pasta, erro);
    d.detalhe = destino.string() + ": a planilha é montada numa pasta temporária, que não pôde ser criada. " + d.detalhe;
    return d;
}

}  // namespace

bool eh_planilha(const std::filesystem::path& destino)
{
    // The name itself, not its extension: ".xlsx" alone is a hidden file named by its
    // extension only, and a workbook too.
    std::string nome = destino.filename().string();
    std::transform(nome.begin(), nome.end(), nome.begin(), [](unsigned char ch) { return std::tolower(ch); });
    return nome.ends_with(".xlsx");
}

Desfecho confere_rascunho_planilha(const std::filesystem::path& destino)
{
    const std::filesystem::path base = pasta_do_rascunho(destino);
    const PastaPropria pasta(base);
    return pasta.caminho().empty() ? sem_rascunho(destino, base, pasta.erro()) : Desfecho::ok();
}

Desfecho grava_planilha(const std::filesystem::path& destino, const Campeonato& campeonato, const Tabela& tabela,
                        const Explicacao& explicacao, const Ficha& ficha, const Calendario* calendario)
{
    if (Desfecho d = pode_gravar(destino); !d.sucesso) return d;
    const std::filesystem::path base = pasta_do_rascunho(destino);
    PastaPropria pasta(base);
    if (pasta.caminho().empty()) return sem_rascunho(destino, base, pasta.erro());
    const std::string rascunho = pasta.arquivo("planilha.xlsx");
    const std::string temporarios = pasta.caminho().string();

    lxw_workbook_options opcoes{};
    opcoes.tmpdir = const_cast<char*>(temporarios.c_str());
    lxw_workbook* livro = workbook_new_opt(rascunho.c_str(), &opcoes);
    if (livro == nullptr) return Desfecho::erro(msg_arquivo_nao_salvo, destino.string() + ": a planilha não pôde ser montada.");
    const std::string titulo = "Programação de jogos" + (ficha.campeonato.empty() ? "" : " - " + ficha.campeonato);
    lxw_doc_properties propriedades{};
    propriedades.title = const_cast<char*>(titulo.c_str());
    propriedades.author = const_cast<char*>("KELM");
    workbook_set_properties(livro, &propriedades);

    Pasta(livro, campeonato, tabela, explicacao, ficha, calendario).escreve();
    if (workbook_close(livro) != LXW_NO_ERROR)
        return Desfecho::erro(msg_arquivo_nao_salvo, destino.string() + ": a planilha não pôde ser montada.");

    std::ifstream entrada(rascunho, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(entrada)), std::istreambuf_iterator<char>());
    if (!entrada.good() && !entrada.eof())
        return Desfecho::erro(msg_arquivo_nao_salvo, destino.string() + ": a planilha não pôde ser montada.");
    return grava_arquivo(destino, bytes);
}

}  // namespace kelm
