#pragma once

// What the window tests share: a watcher that answers the next modal window, and a bench
// that builds the program's windows with recorded message boxes and scripted file choosers.

#include <functional>
#include <memory>
#include <optional>

#include <QApplication>
#include <QCursor>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QList>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include "caminhos.hpp"
#include "model/estado.hpp"
#include "ui/grade_jogos.hpp"
#include "ui/programa.hpp"

namespace kelm::teste {

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
            if (!tratado_) {
                if (T* w = qobject_cast<T*>(modal)) {
                    tratado_ = true;
                    tratador(w);
                    return;
                }
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

inline QString exemplo(const char* nome) { return QDir(QString::fromUtf8(pasta_exemplos)).filePath(QLatin1String(nome)); }

inline QByteArray le_arquivo(const QString& caminho)
{
    QFile f(caminho);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

// The program's windows, with every message recorded instead of shown and the file
// choosers answered by the test.
struct Bancada {
    Estado estado;
    std::unique_ptr<Programa> programa;
    QList<Mensagem> mensagens;
    std::function<void(const Mensagem&)> ao_mostrar;  // runs as each message is "shown"

    QString arquivo_a_abrir;            // what the open dialog answers ("" = cancelled)
    QStringList filtros_de_abrir;       // the filters it was asked with
    std::optional<ArquivoEscolhido> arquivo_a_salvar;  // what the save dialog answers
    struct PedidoSalvar {
        QString nome;
        QStringList filtros;
        int filtro = 0;
    };
    QList<PedidoSalvar> pedidos_de_salvar;

    Bancada()
    {
        programa = std::make_unique<Programa>(estado);
        programa->mensageiro.substitui([this](QWidget*, const Mensagem& m) {
            mensagens.push_back(m);
            if (ao_mostrar) ao_mostrar(m);
        });
        programa->seletor.substitui_abrir([this](QWidget*, const QString& filtro) {
            filtros_de_abrir.push_back(filtro);
            return arquivo_a_abrir;
        });
        programa->seletor.substitui_salvar(
            [this](QWidget*, const QString& nome, const QStringList& filtros, int filtro) {
                pedidos_de_salvar.push_back({nome, filtros, filtro});
                return arquivo_a_salvar;
            });
    }

    Tform_global& janela() { return programa->form_global; }

    // Shows the main window and waits until it takes keys.
    bool mostra()
    {
        janela().show();
        janela().activateWindow();
        return QTest::qWaitForWindowActive(&janela());
    }

    template <class W = QWidget>
    W* filho(const char* nome)
    {
        return janela().findChild<W*>(QLatin1String(nome));
    }
    QToolButton* botao(const char* nome) { return filho<QToolButton>(nome); }
    QString rotulo(const char* nome) { return filho<QLabel>(nome)->text(); }
    GradeJogos* grade() { return filho<GradeJogos>("tabela_jogos"); }

    void clica(const char* nome) { QTest::mouseClick(botao(nome), Qt::LeftButton); }

    // Loads a bundled championship through `botao_abrir`.
    void carrega(const char* nome)
    {
        arquivo_a_abrir = exemplo(nome);
        clica("botao_abrir");
    }
};

// The text of the grid cell the way the grid view writes it, worked out from the game's
// two numbers.
inline QString jogo_esperado(const Jogo& j, const Estado& e)
{
    if (j.time1 == 0 && j.time2 == 0) return {};
    const int casa = j.time1 > 0 ? j.time1 : j.time2;
    const int fora = j.time1 > 0 ? j.time2 : -j.time1;
    return QString::fromStdString(e.campeonato.nomes_times.at(static_cast<std::size_t>(casa))) + QStringLiteral("  X  ") +
           QString::fromStdString(e.campeonato.nomes_times.at(static_cast<std::size_t>(fora)));
}

}  // namespace kelm::teste
