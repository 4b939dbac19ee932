#pragma once

#include "ContentView.h"
#include "GameTranslator.h"
#include "Gamepads.h"
#include "QuitSignals.h"

#include <QLocale>
#include <QQmlApplicationEngine>
#include <memory>

class QQuickWindow;

// The game from its services to its first frame: the player's language and its direction, the one
// window with the game screen, the desktop's signals, and game pads once that frame is shown. main()
// starts it with the real services, the tests with their own; the Qt application is the caller's.
class BrinmorApp
{
public:
    struct Services {
        ContentView::Services game;
        QLocale locale;
        // Where the input devices are, and what ticks the reads of a pad.
        Gamepads::Places inputDevices;
        std::shared_ptr<RepeatingTimer> padReader;
        // Mirrored whatever the language, as Qt's -reverse asks.
        bool reverse = false;
    };
    // Monotonic clock, 10 ms timer, the user's settings file, the desktop's language, the machine's devices,
    // and -reverse if given: call it before anything else sets the application's layout direction.
    static Services realServices();

    explicit BrinmorApp(Services services);
    ~BrinmorApp();

    // Names that decide where the settings live: before any settings are opened.
    static void setNames();

    // Shows the window; nullptr, said on stderr, when it could not be created.
    QQuickWindow *start();

    ContentView &game() { return *m_game; }
    // Null until the first frame is shown.
    Gamepads *gamepads() const { return m_gamepads.get(); }

private:
    Services m_services;
    GameTranslator m_translator;
    QuitSignals m_quitSignals;
    std::unique_ptr<ContentView> m_game;
    QQmlApplicationEngine m_engine;
    QQuickWindow *m_window = nullptr;
    std::unique_ptr<Gamepads> m_gamepads;
};
