// The desktop program: the application titled "KELM v1.0", the main window created first and
// shown maximized, then the two dialogs, hidden until a command shows them.

#include <exception>

#include <QApplication>
#include <QMessageBox>

#include "model/estado.hpp"
#include "ui/programa.hpp"

int main(int argc, char** argv)
{
    // The championship state exists before the application: empty, with both times zero.
    kelm::Estado estado;
    QApplication aplicacao(argc, argv);
    kelm::prepara_aplicacao(aplicacao);
    try {
        kelm::Programa programa(estado);
        programa.form_global.showMaximized();
        QApplication::exec();
    } catch (const std::exception& e) {
        QMessageBox::critical(nullptr, QString::fromUtf8(kelm::titulo_aplicacao), QString::fromLocal8Bit(e.what()));
    }
    return 0;
}
