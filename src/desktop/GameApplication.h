#pragma once

#include <QGuiApplication>

// The Qt application, which keeps the repeats of a held Space to itself. They mean nothing to the
// game, and everything that watches the keys before it would otherwise see each one: a screen
// reader echoes "space" for every repeat, about 25 times a second for as long as a hold lasts.
class GameApplication : public QGuiApplication
{
    Q_OBJECT

public:
    GameApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

private:
    // On X11 with detectable auto-repeat a held key repeats as presses alone, not marked as repeats.
    bool m_spaceDown = false;
};
