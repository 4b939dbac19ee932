#include "GameTranslator.h"

#include <QGuiApplication>

bool GameTranslator::install(const QLocale &locale)
{
    const bool found = load(locale, QStringLiteral("brinmor"), QStringLiteral("_"), QStringLiteral(":/i18n"));
    if (found)
        QCoreApplication::installTranslator(this);
    // English, the texts' own language, reads left to right.
    QGuiApplication::setLayoutDirection(found ? QLocale(language()).textDirection() : Qt::LeftToRight);
    return found;
}
