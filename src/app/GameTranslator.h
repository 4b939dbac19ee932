#pragma once

#include <QLocale>
#include <QTranslator>

// The game's texts in the player's language, from the translations built into the game; English,
// the language the texts are written in, where none of the player's languages has one.
class GameTranslator : public QTranslator
{
    Q_OBJECT

public:
    using QTranslator::QTranslator;

    // The first of the locale's languages (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG) that the game
    // speaks; false, and nothing loaded, when it speaks none of them.
    bool loadFor(const QLocale &locale);
    // Right to left for Arabic and its like; left to right when nothing is loaded.
    Qt::LayoutDirection direction() const;
};
