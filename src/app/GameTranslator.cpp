#include "GameTranslator.h"

#include <QGuiApplication>

bool GameTranslator::install(const QLocale &locale)
{
    if (!load(locale, QStringLiteral("brinmor"), QStringLiteral("_"), QStringLiteral(":/i18n")))
        return false;
    QCoreApplication::installTranslator(this);
    QGuiApplication::setLayoutDirection(QLocale(language()).textDirection());
    return true;
}
