#include "ui/programa.hpp"

#include <clocale>

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace kelm {

Programa::Programa(Estado& estado)
    : form_global(estado, mensageiro, seletor), form_inviab(estado.criterios, mensageiro, &form_global),
      form_pesos(estado.criterios, mensageiro, &form_global),
      form_parametros(form_global.opcoes_busca(), mensageiro, &form_global)
{
    form_global.usa_dialogos(form_inviab, form_pesos, form_parametros);
}

void prepara_aplicacao(QApplication& aplicacao)
{
    // The application object took the desktop's locale for the C library too. Files are
    // written the same in every language (a workbook's XML holds its numbers with a point):
    // the C library formats and reads numbers in the C locale, and only the texts shown to
    // the planner use the desktop's separator (regional.hpp).
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QString::fromUtf8(titulo_aplicacao));
    // The installed desktop entry, kelm.desktop: its icon and name go with the window.
    QGuiApplication::setDesktopFileName(QStringLiteral("kelm"));
    auto* traducao = new QTranslator(&aplicacao);
    if (traducao->load(QLocale(QLocale::Portuguese, QLocale::Brazil), QStringLiteral("qtbase"), QStringLiteral("_"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(traducao);
    else
        delete traducao;
}

}  // namespace kelm
