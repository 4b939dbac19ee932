#pragma once

#include <QString>
#include <QStringList>

// The game's command line, read before Qt opens a display: --help, --version and a mistyped option
// need none, and end the program before any window. Qt's own options are known here and left in
// place for QGuiApplication to take.
class CommandLine
{
public:
    // What the program prints and its exit status; run is true when the game starts instead.
    struct Outcome
    {
        bool run = true;
        int status = 0;
        QString out;
        QString err;
    };

    static Outcome parse(const QStringList &arguments);

    // Parses argv, prints the outcome, and returns the exit status, or -1 when the game should start.
    static int handle(int argc, char **argv);
};
