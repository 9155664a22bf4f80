#include "ui/regional.hpp"

#include <QRegularExpression>
#include <QTime>

#include "files/formatos.hpp"

namespace kelm {

char separador_decimal(const QLocale& local)
{
    const QString ponto = local.decimalPoint();
    if (ponto.size() == 1 && ponto.at(0).unicode() > 0x20 && ponto.at(0).unicode() < 0x7f)
        return static_cast<char>(ponto.at(0).unicode());
    return '.';
}

QString texto_hora(double fracao_do_dia, const QLocale& local)
{
    const QTime hora = QTime(0, 0).addSecs(segundos_do_dia(fracao_do_dia));

    // The long format names the time zone ("t"), which a clock on a panel does not need.
    QString formato = local.timeFormat(QLocale::LongFormat);
    formato.remove(QRegularExpression(QStringLiteral("\\s*\\(?t+\\)?")));
    formato = formato.trimmed();
    if (!formato.contains(QLatin1Char('s'))) formato = QStringLiteral("HH:mm:ss");
    return local.toString(hora, formato);
}

QString duracao(double fracao_do_dia) { return QString::fromStdString(formata_hora(fracao_do_dia)); }

QString numero(double valor, const QLocale& local)
{
    return QString::fromStdString(formata_numero(valor, separador_decimal(local)));
}

}  // namespace kelm
