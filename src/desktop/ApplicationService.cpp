#include "ApplicationService.h"

#include "X11Desktop.h"

#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QGuiApplication>
#include <QWindow>
#include <cstdio>

namespace {
const QString startupIdKey = QStringLiteral("desktop-startup-id");
const QString tokenKey = QStringLiteral("activation-token");
// A game that does not answer soon is as good as none: this start then runs on its own.
constexpr int answerWithinMs = 2000;
// Real ids and tokens are under 100 bytes; anyone on the bus could send a megabyte, which X11 would carry
// to the window manager 20 bytes a message.
constexpr qsizetype longestId = 1024;

QString launchValue(const QString &value)
{
    return value.size() <= longestId ? value : QString();
}
} // namespace

QVariantMap ApplicationService::launchData()
{
    QVariantMap data;
    if (const QString id = launchValue(qEnvironmentVariable("DESKTOP_STARTUP_ID")); !id.isEmpty())
        data.insert(startupIdKey, id);
    if (const QString token = launchValue(qEnvironmentVariable("XDG_ACTIVATION_TOKEN")); !token.isEmpty())
        data.insert(tokenKey, token);
    return data;
}

bool ApplicationService::claim(const QVariantMap &launch)
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return true;
    const QString name = QString::fromLatin1(id);
    // Served before the name is owned, so that a start racing this one finds the game answering.
    bus.registerObject(QString::fromLatin1(path), this, QDBusConnection::ExportAllSlots);
    const auto owned = bus.interface()->registerService(name, QDBusConnectionInterface::DontQueueService,
                                                        QDBusConnectionInterface::DontAllowReplacement);
    if (!owned.isValid() || owned.value() == QDBusConnectionInterface::ServiceRegistered)
        return true;
    bus.unregisterObject(QString::fromLatin1(path));
    auto call = QDBusMessage::createMethodCall(name, QString::fromLatin1(path),
                                               QStringLiteral("org.freedesktop.Application"),
                                               QStringLiteral("Activate"));
    call << launch;
    const QDBusMessage answer = bus.call(call, QDBus::Block, answerWithinMs);
    if (answer.type() != QDBusMessage::ReplyMessage) {
        std::fprintf(stderr, "brinmor: the game already running did not answer (%s); starting another\n",
                     qPrintable(answer.errorMessage()));
        return true;
    }
    return false;
}

void ApplicationService::release()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    bus.unregisterObject(QString::fromLatin1(path));
    bus.interface()->unregisterService(QString::fromLatin1(id));
}

void ApplicationService::Activate(const QVariantMap &platformData)
{
    // Qt's Wayland plugin hands the compositor the token it finds in the environment at requestActivate.
    if (const QString token = launchValue(platformData.value(tokenKey).toString()); !token.isEmpty())
        qputenv("XDG_ACTIVATION_TOKEN", token.toUtf8());
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        if (!window->isVisible())
            continue;
        window->setWindowStates(window->windowStates() & ~Qt::WindowMinimized);
        window->raise();
        window->requestActivate();
        X11Desktop::endStartup(window, launchValue(platformData.value(startupIdKey).toString()));
    }
}

void ApplicationService::Open(const QStringList &, const QVariantMap &platformData)
{
    Activate(platformData);
}

void ApplicationService::ActivateAction(const QString &name, const QVariantList &, const QVariantMap &)
{
    sendErrorReply(QDBusError::InvalidArgs, QStringLiteral("Brinmor has no action \"%1\"").arg(name));
}
