#pragma once

#include "GameApplication.h"
#include "GameTranslator.h"
#include "QuitSignals.h"

#include <QQmlApplicationEngine>
#include <memory>

class ContentView;
class Gamepads;
class QQuickWindow;

// The application: names, the one window with the game screen, the event loop.
class BrinmorApp
{
public:
    static constexpr const char *desktopId = "io.github.brinmor.Brinmor";

    BrinmorApp(int &argc, char **argv);
    ~BrinmorApp();

    int exec();

    // Loads the window showing `game` into `engine`; nullptr when it could not be created.
    static QQuickWindow *loadWindow(QQmlApplicationEngine &engine, ContentView *game, bool translucent);

private:
    // Names that decide where the settings live; set before any settings are opened.
    static void setNames();

    GameApplication m_app;
    GameTranslator m_translator;
    QuitSignals m_quitSignals;
    std::unique_ptr<ContentView> m_game;
    QQmlApplicationEngine m_engine;
    std::unique_ptr<Gamepads> m_gamepads;
};
