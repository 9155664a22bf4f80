#pragma once

#include <QFrame>
#include <QLocale>

#include "search/observador.hpp"

class QLabel;
class QPushButton;

namespace kelm {

// What the progress panel says of several runs (`andamento.execucoes` above 1) on `threads`
// threads: "4 execuções em paralelo, 1 concluída", or one at a time "execução 2 de 4"; nothing
// of a single run.
QString texto_execucoes(const Andamento& andamento, int threads);

// The progress panel `executando`: the algorithm's name, the percentage, the start, current
// and elapsed times, the nine counts of the kept schedule, its objective and the reheats.
// Captions are never reset: between runs the labels keep the texts of the last refresh.
// While the planner's requirements are in force a tenth count, `inv10`, stands below the
// ninth, and the panel grows by its line. Its button "&Parar" asks the run to stop.
class PainelAndamento : public QFrame {
    Q_OBJECT
public:
    static constexpr int largura = 473;
    static constexpr int altura = 393;

    explicit PainelAndamento(QWidget* pai = nullptr);

    // Writes every label of a progress refresh, numbers with the given settings.
    void atualiza_andamento(const Andamento& andamento, const QLocale& local);
    // "Hora de Início : " and the run's start time, when a phase starts.
    void mostra_inicio(double hora_inicio, const QLocale& local);
    // "Nº de Reaquecimentos: " and the count, at a reheat.
    void mostra_reaquecimentos(int n);
    // Shows the tenth count while requirements are in force, hides it otherwise.
    void mostra_requisitos(bool em_vigor);
    // Whether "&Parar" may be pressed: while a run goes on and nobody asked it to stop.
    void permite_parar(bool permite);

signals:
    // "&Parar" was pressed.
    void parar();

private:
    QLabel* rotulo(const char* nome, const QString& texto, int x, int y, int pixels, bool negrito = true);
    QWidget* linha(const char* nome, int x, int y, int comprimento, bool horizontal);
    // Moves a label that follows another on its line to the right of it when the first
    // grew past it, and widens the panel when a text would not fit.
    void reorganiza();

    QLabel* titulo_;            // "Aguarde. SA Executando..."
    QLabel* rotulo_andamento_;  // "Andamento:"
    QLabel* percentual_;
    QLabel* execucoes_;         // of several runs: how they go (texto_execucoes)
    QPushButton* parar_;
    QLabel* hora_inicio_;
    QLabel* hora_atual_;
    QLabel* tempo_execucao_;
    QLabel* inv_[num_contagens];
    QWidget* divisao_colunas_ = nullptr;  // the line between the two columns of counts
    QList<QWidget*> abaixo_das_contagens_;  // what moves down when the tenth count shows
    QLabel* rotulo_fo_;         // "Melhor Função Objetivo: "
    QLabel* fo_;
    QLabel* reaquece_;
};

// The panel `calc_temp` shown while the initial temperature is estimated: "Calculando T0..."
// and the candidate temperature in `temp_inicial`.
class PainelTemperatura : public QFrame {
    Q_OBJECT
public:
    static constexpr int largura = 224;
    static constexpr int altura = 69;

    explicit PainelTemperatura(QWidget* pai = nullptr);

    void mostra_candidata(double t, const QLocale& local);

private:
    QLabel* temp_inicial_;
};

// The colours the two panels share: the highlight colour behind caption-coloured text.
void pinta_painel(QWidget* painel);

}  // namespace kelm
