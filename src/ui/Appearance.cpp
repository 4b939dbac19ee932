#include "Appearance.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPalette>
#include <algorithm>
#include <cmath>

namespace {
const QString portalService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString freedesktop = QStringLiteral("org.freedesktop.appearance");
const QString gnomeA11y = QStringLiteral("org.gnome.desktop.a11y.interface");
const QString gnome = QStringLiteral("org.gnome.desktop.interface");
const QString kde = QStringLiteral("org.kde.kdeglobals.KDE");

const std::pair<QString, QString> followed[] = {
    {freedesktop, QStringLiteral("color-scheme")},
    {freedesktop, QStringLiteral("contrast")},
    {freedesktop, QStringLiteral("reduced-motion")},
    {gnomeA11y, QStringLiteral("high-contrast")},
    {gnome, QStringLiteral("text-scaling-factor")},
    {gnome, QStringLiteral("enable-animations")},
    {kde, QStringLiteral("AnimationDurationFactor")},
};

QString path(const QString &group, const QString &key)
{
    return group + QLatin1Char('/') + key;
}

bool isFollowed(const QString &group, const QString &key)
{
    return std::find(std::begin(followed), std::end(followed), std::pair(group, key)) != std::end(followed);
}

// Read wraps the value in one variant more than SettingChanged does.
QVariant unwrapped(QVariant value)
{
    while (value.metaType() == QMetaType::fromType<QDBusVariant>())
        value = value.value<QDBusVariant>().variant();
    return value;
}

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

template <typename T>
std::optional<T> Appearance::setting(const QString &group, const QString &key) const
{
    const QVariant value = m_portal.value(path(group, key));
    if (value.metaType() != QMetaType::fromType<T>())
        return std::nullopt;
    return value.value<T>();
}

Appearance::Look Appearance::look() const
{
    const std::optional<uint> scheme = setting<uint>(freedesktop, QStringLiteral("color-scheme"));
    const double scaling = setting<double>(gnome, QStringLiteral("text-scaling-factor")).value_or(1.0);
    // KDE's portal gives its values as text; a factor of 0 turns animations off.
    bool kdeStill = false;
    if (const auto factor = setting<QString>(kde, QStringLiteral("AnimationDurationFactor"))) {
        bool number = false;
        kdeStill = factor->toDouble(&number) == 0.0 && number;
    }
    Look look;
    look.dark = scheme == 1u || (scheme != 2u && m_paletteDark); // 0: no preference, the palette decides
    look.highContrast = setting<bool>(gnomeA11y, QStringLiteral("high-contrast")).value_or(false)
        || setting<uint>(freedesktop, QStringLiteral("contrast")) == 1u;
    // GNOME's own bounds.
    look.textScale = std::isfinite(scaling) ? std::clamp(scaling, 0.5, 3.0) : 1.0;
    look.reducedMotion = !setting<bool>(gnome, QStringLiteral("enable-animations")).value_or(true)
        || setting<uint>(freedesktop, QStringLiteral("reduced-motion")) == 1u || kdeStill;
    return look;
}

void Appearance::change(const std::function<void()> &what)
{
    const Look before = look();
    what();
    if (look() != before)
        emit changed();
}

bool Appearance::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == qGuiApp && event->type() == QEvent::ApplicationPaletteChange)
        change([this] { m_paletteDark = paletteIsDark(); });
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
    for (const auto &[group, key] : followed) {
        QDBusMessage read = QDBusMessage::createMethodCall(portalService, portalPath, settingsInterface,
                                                           QStringLiteral("Read"));
        read << group << key;
        auto *watcher = new QDBusPendingCallWatcher(bus.asyncCall(read), this);
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, at = path(group, key)](auto *call) {
            const QDBusPendingReply<QVariant> reply = *call;
            // An error is most often the portal's NotFound: this desktop has no such setting.
            change([&] {
                if (reply.isError())
                    m_portal.remove(at);
                else
                    m_portal.insert(at, unwrapped(reply.value()));
            });
            call->deleteLater();
        });
    }
}

void Appearance::portalSettingChanged(const QString &group, const QString &key, const QDBusVariant &value)
{
    if (isFollowed(group, key))
        change([&] { m_portal.insert(path(group, key), unwrapped(value.variant())); });
}
