#include <QApplication>

#include "model/estado.hpp"
#include "ui/form_global.hpp"

int main(int argc, char** argv)
{
    kelm::Estado estado;
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("KELM v1.0"));
    kelm::Tform_global form_global(estado);
    form_global.showMaximized();
    return QApplication::exec();
}
