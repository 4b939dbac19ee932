#pragma once

#include <QDBusContext>
#include <QObject>
#include <QVariantMap>

// One game a desktop session. The first game owns the application id on the session bus and serves
// org.freedesktop.Application there, which a second start and a D-Bus-activatable menu entry call; a second
// start asks the first to come forward instead of opening a window of its own. Without a bus, each game runs
// alone.
class ApplicationService : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")

public:
    // The application id: the desktop entry's name and the session bus name.
    static constexpr const char *id = "io.github.brinmor.Brinmor";
    static constexpr const char *path = "/io/github/brinmor/Brinmor";

    // The startup id and activation token the desktop gave this start, read before Qt takes the startup id
    // out of the environment.
    static QVariantMap launchData();

    // True when this game is the session's, or runs alone; false when the session's game took `launch`.
    bool claim(const QVariantMap &launch);
    // Gives the session's name up, as the window goes: a start from then on plays at once, though this game
    // may still be saving its best.
    void release();

public Q_SLOTS:
    void Activate(const QVariantMap &platformData);
    // The game opens no files: it comes forward.
    void Open(const QStringList &uris, const QVariantMap &platformData);
    void ActivateAction(const QString &name, const QVariantList &parameter, const QVariantMap &platformData);
};
