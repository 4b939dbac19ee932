#include "Appearance.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString appearanceGroup = QStringLiteral("org.freedesktop.appearance");
const QString colorSchemeKey = QStringLiteral("color-scheme");

bool paletteIsDark()
{
    return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

// Without a session bus Qt would try to start one through X11; just go without.
bool sessionBusExpected()
{
    return qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS")
        || QFileInfo::exists(qEnvironmentVariable("XDG_RUNTIME_DIR") + QStringLiteral("/bus"));
}
} // namespace

Appearance::Appearance(QObject *parent)
    : QObject(parent)
    , m_paletteDark(paletteIsDark())
{
    qGuiApp->installEventFilter(this);
    if (sessionBusExpected())
        readPortal();
}

bool Appearance::isDark() const
{
    if (m_portalScheme != Scheme::Unknown)
        return m_portalScheme == Scheme::Dark;
    return m_paletteDark;
}

bool Appearance::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qGuiApp && event->type() == QEvent::ApplicationPaletteChange)
        setState(m_portalScheme, paletteIsDark());
    return QObject::eventFilter(watched, event);
}

void Appearance::readPortal()
{
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    // QtDBus matches the slot's parameter types against the signal's "ssv": the value must be
    // a QDBusVariant, registered before the connection is made, or no change ever arrives.
    qRegisterMetaType<QDBusVariant>();
    bus.connect(portalService, portalPath, settingsInterface, QStringLiteral("SettingChanged"), this,
                SLOT(portalSettingChanged(QString,QString,QDBusVariant)));

    // Asynchronous, so a slow or missing portal never delays the window.
    QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface, QStringLiteral("Read"));
    read << appearanceGroup << colorSchemeKey;
    auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        const QDBusPendingReply<QVariant> reply = *call;
        if (!reply.isError())
            setState(schemeFromPortal(reply.value()), m_paletteDark);
        call->deleteLater();
    });
}

void Appearance::portalSettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (group == appearanceGroup && key == colorSchemeKey)
        setState(schemeFromPortal(value.variant()), m_paletteDark);
}

Appearance::Scheme Appearance::schemeFromPortal(const QVariant &value)
{
    // Read wraps the value in one variant more than SettingChanged does.
    QVariant inner = value;
    while (inner.userType() == qMetaTypeId<QDBusVariant>())
        inner = inner.value<QDBusVariant>().variant();
    switch (inner.toUInt()) {
    case 1:
        return Scheme::Dark;
    case 2:
        return Scheme::Light;
    default:
        return Scheme::Unknown; // no preference: the palette decides
    }
}

void Appearance::setState(Scheme portalScheme, bool paletteDark)
{
    const bool wasDark = isDark();
    m_portalScheme = portalScheme;
    m_paletteDark = paletteDark;
    if (isDark() != wasDark)
        emit darkChanged();
}
