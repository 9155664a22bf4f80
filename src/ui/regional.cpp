#include "ui/regional.hpp"

#include <cmath>

#include <QRegularExpression>
#include <QTime>

#include "search/formatos.hpp"

namespace kelm {

char separador_decimal(const QLocale& local)
{
    const QString ponto = local.decimalPoint();
    if (ponto.size() == 1 && ponto.at(0).unicode() > 0x20 && ponto.at(0).unicode() < 0x7f)
        return static_cast<char>(ponto.at(0).unicode());
    return '.';
}

QString hora_do_dia(double fracao_do_dia, const QLocale& local)
{
    const double parte = std::fabs(fracao_do_dia - std::trunc(fracao_do_dia));
    long long ms = std::llround(parte * 86400000.0);
    if (ms >= 86400000LL) ms -= 86400000LL;
    // Whole seconds, as the clock shows them.
    const QTime hora = QTime(0, 0).addSecs(static_cast<int>(ms / 1000));

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
