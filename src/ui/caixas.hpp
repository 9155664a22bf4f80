#pragma once

#include <filesystem>
#include <functional>
#include <optional>

#include <QString>
#include <QStringList>

#include "model/desfecho.hpp"

class QWidget;

namespace kelm {

// Caption of the plain message box, and the application's title.
inline constexpr const char* titulo_aplicacao = "KELM v1.0";

// A message for the planner: a typed box (information or error icon, standard title) or a
// plain box (the application's title, no icon). `detalhe`, when not empty, is shown below
// the text.
struct Mensagem {
    TipoMensagem tipo = TipoMensagem::informacao;
    QString texto;
    QString detalhe;

    // The message a core command's outcome carries.
    static Mensagem de(const Desfecho& desfecho);
};

// A question for the planner, in a box with the application's title: the text and the
// answers, one button each, the first the default; the last is also the answer of Esc and of
// the box's close button.
struct Pergunta {
    QString texto;
    QStringList respostas;
};

// Where every message box and question of the program goes. The program shows real boxes;
// tests put a recorder in their place.
class Mensageiro {
public:
    using Funcao = std::function<void(QWidget* pai, const Mensagem& mensagem)>;
    // The answer chosen, counted from 0.
    using FuncaoPergunta = std::function<int(QWidget* pai, const Pergunta& pergunta)>;

    Mensageiro();

    void mostra(QWidget* pai, const Mensagem& mensagem) const { funcao_(pai, mensagem); }
    void mostra(QWidget* pai, TipoMensagem tipo, const QString& texto, const QString& detalhe = {}) const
    {
        mostra(pai, Mensagem{tipo, texto, detalhe});
    }
    // The answer the planner chose, counted from 0.
    int pergunta(QWidget* pai, const Pergunta& pergunta) const { return pergunta_(pai, pergunta); }
    void substitui(Funcao funcao) { funcao_ = std::move(funcao); }
    void substitui_pergunta(FuncaoPergunta funcao) { pergunta_ = std::move(funcao); }

    // The real, modal message box with a single OK button.
    static void caixa(QWidget* pai, const Mensagem& mensagem);
    // The real, modal question box; the answer chosen.
    static int caixa_pergunta(QWidget* pai, const Pergunta& pergunta);

private:
    Funcao funcao_;
    FuncaoPergunta pergunta_;
};

// What the planner chose in a save dialog: the file name as chosen or typed, and the
// filter, counted from 1.
struct ArquivoEscolhido {
    QString nome;
    int filtro = 1;
};

// A file name the planner chose, as the core takes it: the bytes the file system knows it by.
std::filesystem::path caminho(const QString& nome);

// Where the program asks for file names. The program shows real file dialogs; tests answer
// in their place.
class SeletorArquivos {
public:
    // Asks for a file to open; an empty text when the dialog was cancelled.
    using FuncaoAbrir = std::function<QString(QWidget* pai, const QString& filtro)>;
    // Asks for a file to write, proposing a name and a filter (from 1); nothing when cancelled.
    using FuncaoSalvar = std::function<std::optional<ArquivoEscolhido>(
        QWidget* pai, const QString& nome_proposto, const QStringList& filtros, int filtro_proposto)>;

    // Asks for a folder, under a title; an empty text when the dialog was cancelled.
    using FuncaoPasta = std::function<QString(QWidget* pai, const QString& titulo)>;

    SeletorArquivos();

    QString abre(QWidget* pai, const QString& filtro) const { return abrir_(pai, filtro); }
    std::optional<ArquivoEscolhido> salva(QWidget* pai, const QString& nome_proposto, const QStringList& filtros,
                                          int filtro_proposto) const
    {
        return salvar_(pai, nome_proposto, filtros, filtro_proposto);
    }
    QString pasta(QWidget* pai, const QString& titulo) const { return pasta_(pai, titulo); }
    void substitui_abrir(FuncaoAbrir funcao) { abrir_ = std::move(funcao); }
    void substitui_pasta(FuncaoPasta funcao) { pasta_ = std::move(funcao); }
    void substitui_salvar(FuncaoSalvar funcao) { salvar_ = std::move(funcao); }

    // The real dialogs: no title of their own, no default extension, and no question
    // before an existing file is replaced.
    static QString dialogo_abrir(QWidget* pai, const QString& filtro);
    static std::optional<ArquivoEscolhido> dialogo_salvar(QWidget* pai, const QString& nome_proposto,
                                                          const QStringList& filtros, int filtro_proposto);
    static QString dialogo_pasta(QWidget* pai, const QString& titulo);

private:
    FuncaoAbrir abrir_;
    FuncaoSalvar salvar_;
    FuncaoPasta pasta_;
};

}  // namespace kelm
