#include "GameTranslator.h"

bool GameTranslator::loadFor(const QLocale &locale)
{
    return load(locale, QStringLiteral("brinmor"), QStringLiteral("_"), QStringLiteral(":/i18n"));
}

Qt::LayoutDirection GameTranslator::direction() const
{
    return isEmpty() ? Qt::LeftToRight : QLocale(language()).textDirection();
}
