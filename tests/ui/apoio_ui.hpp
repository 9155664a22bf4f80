#pragma once

// What the window tests share: a configuration folder of their own, a watcher that answers
// the next modal window, and a bench that builds the program's windows with recorded
// message boxes and scripted file choosers.

#include <initializer_list>
#include <optional>

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "caminhos.hpp"
#include "model/estado.hpp"
#include "ui/grade_jogos.hpp"
#include "ui/programa.hpp"

namespace kelm::teste {

// Points XDG_CONFIG_HOME at a folder removed at exit, before the application exists, so
// that the file dialogs keep their history there and never in the planner's ~/.config.
struct ConfiguracaoTemporaria {
    QTemporaryDir pasta;
    ConfiguracaoTemporaria() { qputenv("XDG_CONFIG_HOME", QFile::encodeName(pasta.path())); }
};
inline const ConfiguracaoTemporaria configuracao_temporaria;

// Answers the next modal window of type T with `tratador`, which must close it. A modal
// window still open after the time limit is closed, so that a broken test fails instead of
// hanging. The watcher lives as long as the scope that makes it.
template <class T>
class NoProximoModal {
public:
    template <class F>
    explicit NoProximoModal(F tratador, int limite_ms = 5000)
    {
        relogio_.start();
        QObject::connect(&sondagem_, &QTimer::timeout, [this, tratador, limite_ms] {
            QWidget* modal = QApplication::activeModalWidget();
            if (T* w = qobject_cast<T*>(modal); w != nullptr && !tratado_) {
                tratado_ = true;
                tratador(w);
                return;
            }
            if (modal != nullptr && relogio_.elapsed() > limite_ms) modal->close();
        });
        sondagem_.start(10);
    }
    bool tratado() const { return tratado_; }

private:
    QTimer sondagem_;
    QElapsedTimer relogio_;
    bool tratado_ = false;
};

// The path of a bundled championship file.
inline QString exemplo(const char* nome)
{
    return QDir(QString::fromUtf8(pasta_exemplos)).filePath(QLatin1String(nome));
}

// Clicks, in order, the push buttons of `janela` named `nomes`.
inline void clica_botoes(QWidget* janela, std::initializer_list<const char*> nomes)
{
    for (const char* nome : nomes)
        QTest::mouseClick(janela->findChild<QPushButton*>(QLatin1String(nome)), Qt::LeftButton);
}

// The bytes of a file; empty when it cannot be read.
inline QByteArray le_arquivo(const QString& caminho)
{
    QFile f(caminho);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The program's windows, with every message recorded instead of shown and the file
// choosers answered by the test.
struct Bancada {
    Estado estado;
    Programa programa{estado};
    QList<Mensagem> mensagens;
    QList<Pergunta> perguntas;
    QList<int> respostas;                               // to the next questions, in order; then the last answer
    QString arquivo_a_abrir;                            // what the open dialog answers ("" = cancelled)
    std::optional<ArquivoEscolhido> arquivo_a_salvar;   // what the save dialog answers
    QList<ArquivoEscolhido> pedidos_de_salvar;          // the name and filter each save dialog proposed

    Bancada()
    {
        programa.mensageiro.substitui([this](QWidget*, const Mensagem& m) { mensagens.push_back(m); });
        programa.mensageiro.substitui_pergunta([this](QWidget*, const Pergunta& p) {
            perguntas.push_back(p);
            return respostas.isEmpty() ? int(p.respostas.size()) - 1 : respostas.takeFirst();
        });
        programa.seletor.substitui_abrir([this](QWidget*, const QString&) { return arquivo_a_abrir; });
        programa.seletor.substitui_salvar([this](QWidget*, const QString& nome, const QStringList&, int filtro) {
            pedidos_de_salvar.push_back({nome, filtro});
            return arquivo_a_salvar;
        });
    }

    Tform_global& janela() { return programa.form_global; }

    // Shows the main window and waits until it takes keys.
    bool mostra()
    {
        janela().show();
        janela().activateWindow();
        return QTest::qWaitForWindowActive(&janela());
    }

    // The window's widgets by object name; a click on a toolbar button.
    template <class W = QWidget>
    W* filho(const char* nome) { return janela().findChild<W*>(QLatin1String(nome)); }
    QToolButton* botao(const char* nome) { return filho<QToolButton>(nome); }
    GradeJogos* grade() { return filho<GradeJogos>("tabela_jogos"); }
    void clica(const char* nome) { QTest::mouseClick(botao(nome), Qt::LeftButton); }

    // Runs the search through `executar` and waits for it to end; false when it did not.
    bool executa(int limite_ms = 120000)
    {
        clica("executar");
        return QTest::qWaitFor([this] { return !janela().executando_busca(); }, limite_ms);
    }

    // Loads a bundled championship through `botao_abrir`.
    void carrega(const char* nome)
    {
        arquivo_a_abrir = exemplo(nome);
        clica("botao_abrir");
    }

    // The first grid cell that does not show its game of `tabela` as "Home  X  Away" with
    // the loaded names, or an empty text when every game is shown.
    QString diferenca_na_grade(const Tabela& tabela)
    {
        const std::vector<std::string>& nomes = estado.campeonato.nomes_times;
        const auto nome = [&nomes](int time) { return QString::fromStdString(nomes.at(std::size_t(time))); };
        const int rodadas = estado.campeonato.num_rodadas;
        const int jogos = estado.campeonato.jogos_por_rodada();
        if (grade()->model()->rowCount() != rodadas + 1 || grade()->model()->columnCount() != jogos + 1)
            return QStringLiteral("dimensões");
        for (int r = 1; r <= rodadas; ++r)
            for (int c = 1; c <= jogos; ++c) {
                const Jogo& j = tabela[r - 1][c - 1];
                const QString esperado =
                    j.vazio() ? QString() : nome(j.mandante()) + QStringLiteral("  X  ") + nome(j.visitante());
                if (grade()->celula(c, r) != esperado)
                    return QStringLiteral("rodada %1, jogo %2: \"%3\"").arg(r).arg(c).arg(grade()->celula(c, r));
            }
        return {};
    }
};

}  // namespace kelm::teste
