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

    // Makes the first of the locale's languages (LANGUAGE, then LC_ALL, LC_MESSAGES, LANG) that the game
    // speaks the application's, and its reading direction the screen's: Arabic and its like mirror it.
    // False, and English left to right, when the game speaks none of them. `reverse` mirrors it whatever
    // the language.
    bool install(const QLocale &locale, bool reverse);
};
