#include "GameTranslator.h"

#include <QGuiApplication>

bool GameTranslator::install(const QLocale &locale, bool reverse)
{
    const bool found = load(locale, QStringLiteral("brinmor"), QStringLiteral("_"), QStringLiteral(":/i18n"));
    if (found)
        QCoreApplication::installTranslator(this);
    // English, the texts' own language, reads left to right.
    const bool rightToLeft = found && QLocale(language()).textDirection() == Qt::RightToLeft;
    QGuiApplication::setLayoutDirection(reverse || rightToLeft ? Qt::RightToLeft : Qt::LeftToRight);
    return found;
}
