// Light and dark follow the freedesktop settings portal while the game runs: a stand-in
// portal on a private session bus answers the first read and then announces changes.
#include "ScreenFixture.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QProcess>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

namespace {
const QString portalPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString settingsInterface = QStringLiteral("org.freedesktop.portal.Settings");

class StandInPortal : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")

public:
    uint colorScheme = 1; // 1 dark, 2 light

public slots:
    // The real portal wraps the value in a second variant.
    QDBusVariant Read(const QString &, const QString &)
    {
        return QDBusVariant(QVariant::fromValue(QDBusVariant(colorScheme)));
    }
};
} // namespace

class TestAppearance : public QObject
{
    Q_OBJECT

private:
    QProcess m_bus;
    StandInPortal m_portal;

    void announce(uint scheme)
    {
        m_portal.colorScheme = scheme;
        QDBusMessage signal = QDBusMessage::createSignal(portalPath, settingsInterface, QStringLiteral("SettingChanged"));
        signal << QStringLiteral("org.freedesktop.appearance") << QStringLiteral("color-scheme")
               << QVariant::fromValue(QDBusVariant(scheme));
        QVERIFY(QDBusConnection(QStringLiteral("portal")).send(signal));
    }

private slots:
    void initTestCase()
    {
        m_bus.start(QStringLiteral("dbus-daemon"), {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                                    QStringLiteral("--print-address")});
        QVERIFY(m_bus.waitForReadyRead(5000));
        const QString address = QString::fromLatin1(m_bus.readLine()).trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address.toLatin1());
        QDBusConnection portal = QDBusConnection::connectToBus(address, QStringLiteral("portal"));
        QVERIFY(portal.isConnected());
        QVERIFY(portal.registerObject(portalPath, &m_portal, QDBusConnection::ExportAllSlots));
        QVERIFY(portal.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }

    void cleanupTestCase()
    {
        QDBusConnection::disconnectFromBus(QStringLiteral("portal"));
        m_bus.kill();
        m_bus.waitForFinished();
    }

    void followsThePortalWhileRunning()
    {
        Screen screen;
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        auto isDark = [&] {
            const auto [backdrop, title] = backdropAndTitleLightness(screen);
            return backdrop < 80 && title > 200;
        };
        auto isLight = [&] {
            const auto [backdrop, title] = backdropAndTitleLightness(screen);
            return backdrop > 200 && title < 60;
        };
        QTRY_VERIFY(isDark());
        announce(2);
        QTRY_VERIFY(isLight());
        announce(1);
        QTRY_VERIFY(isDark());
    }
};

QTEST_MAIN(TestAppearance)
#include "tst_appearance.moc"
