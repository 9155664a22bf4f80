#include "ui/icones.hpp"

#include <QString>

// Resources of a static library are registered by hand, once, before the first use.
static void registra_recursos()
{
    static const bool registrado = [] {
        Q_INIT_RESOURCE(icones);
        return true;
    }();
    (void)registrado;
}

namespace kelm {

QIcon icone_proprio(const char* proprio)
{
    registra_recursos();
    return QIcon(QStringLiteral(":/icones/%1.png").arg(QLatin1String(proprio)));
}

QIcon icone(const char* nome_no_tema, const char* proprio)
{
    const QString nome = QLatin1String(nome_no_tema);
    if (QIcon::hasThemeIcon(nome)) return QIcon::fromTheme(nome);
    return icone_proprio(proprio);
}

}  // namespace kelm
