// The real window offscreen, over a game whose clock, timer and store the test drives, and a stand-in portal.
#include "BrinmorApp.h"
#include "Fakes.h"
#include "GameApplication.h"

#include <QAccessible>
#include <QDir>
#include <QEasingCurve>
#include <QPalette>
#include <QProcess>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScopeGuard>
#include <QTemporaryDir>
#include <QtDBus>
#include <QtQml/QQmlExtensionPlugin>
#include <QtTest>
#include <SDL.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

// SDL names no node for its virtual pads; the pads' part asks the test instead (it exports this), which gives a
// FIFO that stands in for one while this is set.
static const char *standInNode = nullptr;
extern "C" const char *SDL_GameControllerPath(SDL_GameController *) { return standInNode; }

namespace {
// The game as main() starts it, over a clock, timers and store the test drives, and folders of input devices.
struct Screen {
    explicit Screen(double stored = 0.0, const QLocale &locale = QLocale(QLocale::English), bool reverse = false)
        : store(std::make_shared<MemoryStore>(stored))
        , app({{clock, timer, store}, locale, {classes.path(), devices.path()}, reader, reverse}) {}
    QQuickItem *item(const char *name) const { return window->findChild<QQuickItem *>(QLatin1String(name)); }
    QString text(const char *name) const { return item(name)->property("text").toString(); }
    QFont font(const char *name) const { return item(name)->property("font").value<QFont>(); }
    QColor colour(const char *name) const { return item(name)->property("color").value<QColor>(); }
    QRectF rect(const char *name) const { return item(name)->mapRectToScene(item(name)->boundingRect()); }
    QPoint centre(const char *name) const { return rect(name).center().toPoint(); }
    void tickAt(double t) { clock->advance(std::chrono::duration<double>(t) - (clock->now() - made)), timer->fire(); }
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    Clock::TimePoint made = clock->now();
    std::shared_ptr<FakeTimer> timer = std::make_shared<FakeTimer>(), reader = std::make_shared<FakeTimer>();
    std::shared_ptr<MemoryStore> store;
    QTemporaryDir classes, devices; // stand in for /sys/class/input and /dev/input
    BrinmorApp app;
    QQuickWindow *window = app.start();
    ContentView &game = app.game();
    const bool padsBeforeFrame = app.gamepads(); // SDL would hold up the first frame
    const bool shown = QTest::qWaitForWindowExposed(window); // every check after this needs it
};

bool activate(QWindow *window) // as a click on it, or a window manager, does
{
    return window->show(), window->requestActivate(), QTest::qWaitForWindowActive(window);
}

// WCAG's contrast of a text in a part of a frame: its most contrasting pixel against the part's commonest colour.
double contrast(const QImage &frame, const QRectF &part)
{
    const auto luminance = [](QColor c) { // of sRGB made linear, plus WCAG's flare
        const auto linear = [](double v) { return v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4); };
        return 0.2126 * linear(c.redF()) + 0.7152 * linear(c.greenF()) + 0.0722 * linear(c.blueF()) + 0.05;
    };
    QHash<QRgb, int> count;
    const QRect r = part.toAlignedRect();
    for (int i = 0; i < r.width() * r.height(); ++i)
        ++count[frame.pixel(r.x() + i % r.width(), r.y() + i / r.width())];
    const double behind = luminance(std::max_element(count.keyValueBegin(), count.keyValueEnd(),
                                                     [](auto a, auto b) { return a.second < b.second; })->first);
    double most = 1;
    for (const QRgb colour : count.keys())
        most = qMax(most, qMax(luminance(colour), behind) / qMin(luminance(colour), behind));
    return most;
}

// Answers as a desktop's portal does: each setting by its namespace and key, NotFound for one it does not have.
class StandInPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    QVariantMap settings; // by "namespace key"
    void change(const QString &setting, const QVariant &value) // as the desktop's settings panel does
    {
        settings[setting] = value;
        QDBusMessage changed = QDBusMessage::createSignal("/org/freedesktop/portal/desktop",
                                                          "org.freedesktop.portal.Settings", "SettingChanged");
        changed << setting.section(' ', 0, 0) << setting.section(' ', 1) << QVariant::fromValue(QDBusVariant(value));
        QVERIFY(QDBusConnection(QStringLiteral("portal")).send(changed));
    }
public slots:
    QDBusVariant Read(const QString &group, const QString &key)
    {
        if (!settings.contains(group + ' ' + key))
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"), QStringLiteral("not found"));
        return QDBusVariant(QVariant::fromValue(QDBusVariant(settings.value(group + ' ' + key))));
    }
};
} // namespace

class TestScreen : public QObject
{
    Q_OBJECT

    QProcess m_bus;
    StandInPortal m_portal;

private slots:
    void initTestCase()
    {
        m_bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        QVERIFY(m_bus.waitForReadyRead(5000));
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QDBusConnection portal = QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("portal"));
        QVERIFY(portal.registerObject("/org/freedesktop/portal/desktop", &m_portal, QDBusConnection::ExportAllSlots)
                && portal.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }
    void cleanupTestCase() { m_bus.kill(); m_bus.waitForFinished(); }

    void keyboardPlaysAndAssistiveTechnologySees()
    {
        m_portal.settings = {{"org.freedesktop.appearance color-scheme", 1u}}; // dark, though the palette is light
        const auto restore = qScopeGuard([&] { m_portal.settings.clear(), QGuiApplication::setPalette(QPalette()); });
        Screen s(0.5);
        QVERIFY(QTest::qWaitForWindowActive(s.window) && s.window->flags() & Qt::FramelessWindowHint);
        QTRY_VERIFY(s.colour("title") == QColor("#f2f2f7") && s.font("title").bold()); // the fixed dark pair
        qApp->setPalette(QPalette(Qt::black)), m_portal.change("org.freedesktop.appearance color-scheme", 2u);
        QTRY_VERIFY(s.colour("title") == QColor("#1c1c1e")); // light asked for: the fixed light pair, palette dark
        m_portal.change("org.freedesktop.appearance color-scheme", 0u); // no say: the palette decides, followed live
        QTRY_VERIFY(s.colour("title") == QGuiApplication::palette().windowText().color());
        QQuickItem *view = s.item("holdButtonView"), *ring = s.item("holdFocusRing");
        QVERIFY(s.window->activeFocusItem() == view && !ring->isVisible()); // no ring until the keyboard is used
        for (const char *next : {"closeButton", "minimiseButton", "resetButton", "holdButtonView"}) {
            QTest::keyClick(s.window, Qt::Key_Tab, Qt::ShiftModifier); // round the window backwards: the ring comes
            QCOMPARE(s.window->activeFocusItem(), s.item(next));
        }
        QVERIFY(ring->isVisible() && ring->property("border").value<QObject *>()->property("color").value<QColor>()
                == QGuiApplication::palette().highlight().color());

        auto space = [&](QEvent::Type type, bool autoRepeat = false) {
            QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
            QCoreApplication::sendEvent(s.window, &event);
        };
        QAccessible::setActive(true);
        const auto told = [&](const char *name) { // as assistive technology reads it
            return QAccessible::queryAccessibleInterface(s.item(name))->text(QAccessible::Name);
        };
        QStringList said; // a screen reader says a notification as it appears, and nothing else of the announcer
        QObject::connect(s.item("announcer"), &QQuickItem::visibleChanged, [&] {
            const QAccessibleInterface *announcer = QAccessible::queryAccessibleInterface(s.item("announcer"));
            if (s.item("announcer")->isVisible() && announcer->role() == QAccessible::Notification)
                said << told("announcer");
        });
        for (int i = 0; i <= 180; ++i) { // held: the key repeats, yet one hold, timed from the first press
            s.tickAt(i * 0.01), space(QEvent::KeyRelease, true), space(QEvent::KeyPress, i > 0);
        }
        // Not a change at every tick: the readout's whole seconds only, while the announcer keeps quiet.
        QCOMPARE(QAccessible::queryAccessibleInterface(s.item("holdButtonView"))->text(QAccessible::Description),
                 "Hold Space, the mouse button or A on a pad. Best: 00.50"); // the best to beat
        QVERIFY(told("timeReadout") == "01.00" && s.text("timeReadout") == "01.80" && said.isEmpty());
        space(QEvent::KeyRelease);
        QVERIFY(s.game.waitForStore() && s.timer->starts == 1 && s.store->saved.size() == 1);
        QVERIFY(s.game.highScore() == 1.8 && told("timeReadout") == "01.80");

        space(QEvent::KeyPress); // two holds that are no record, the mouse's last: its player is shown no ring
        QVERIFY(!s.window->findChild<QObject *>("badgeSpring")->property("running").toBool()); // no badge back
        space(QEvent::KeyRelease);
        QTest::mouseClick(s.window, Qt::LeftButton, {}, s.centre("holdButton"));
        QTest::keyClick(s.window, Qt::Key_Tab); // Space on the reset button presses it
        QVERIFY(s.window->activeFocusItem() == s.item("resetButton") && !ring->isVisible());
        QWindow other; // away and back: the focus stays where the player left it
        QVERIFY(activate(&other) && activate(s.window));
        QCOMPARE(s.window->activeFocusItem(), s.item("resetButton"));
        QTest::keyClick(s.window, Qt::Key_Space);
        // It goes, and the focus comes back to the hold button with its ring: Space holds at once.
        QVERIFY(s.game.highScore() == 0.0 && s.window->activeFocusItem() == view && ring->isVisible());

        QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(view);
        for (const char *label : {"title", "timeReadout", "bestText", "badge"}) // read, not stopped at
            QVERIFY(!QAccessible::queryAccessibleInterface(s.item(label))->state().focusable);
        QVERIFY(accessible->role() == QAccessible::Button && accessible->text(QAccessible::Name) == "HOLD ME"
                && told("minimiseButton") == "Minimise" && told("closeButton") == "Close"); // each control's own name
        QCOMPARE(accessible->text(QAccessible::Description),
                 "Hold Space, the mouse button or A on a pad. No best time yet"); // a pad's player is told too
        QCOMPARE(said, QStringList({"01.80, New Record!", "00.00", "00.00", "Best time reset"})); // no record: the time
        // A held Space's repeats, with or without X11's detectable repeat, reach no one, not even a screen reader's
        // event filters; a key its bridge posts again does, and so does the next press after the focus went away.
        struct : QObject {
            int keys = 0;
            bool eventFilter(QObject *to, QEvent *e) override
            {
                keys += to->isWindowType() && (e->type() == QEvent::KeyPress || e->type() == QEvent::KeyRelease);
                return false;
            }
        } heard;
        qApp->installEventFilter(&heard);
        for (int i = 0; i < 3; ++i)
            QTest::keyPress(s.window, Qt::Key_Space);
        qt_handleKeyEvent(s.window, QEvent::KeyRelease, Qt::Key_Space, {}, {}, true); // Qt Test's, marks a repeat
        qt_handleKeyEvent(s.window, QEvent::KeyPress, Qt::Key_Space, {}, {}, true);
        space(QEvent::KeyPress);
        QVERIFY(s.game.isHolding() && heard.keys == 2);
        other.requestActivate(); // raised mid-hold: the key's release will never come
        QTRY_VERIFY(!s.game.isHolding() && !ring->isVisible());
        QVERIFY(activate(s.window));
        qt_handleKeyEvent(s.window, QEvent::KeyPress, Qt::Key_Space, {}, {}, true); // a repeat still on its way
        QTest::keyClick(s.window, Qt::Key_Space);
        QCOMPARE(heard.keys, 4);
        QTest::keyPress(s.window, Qt::Key_Space), s.tickAt(9.0);
        s.window->close(); // closed mid-hold: the hold ends like a release
        QVERIFY(!s.game.isHolding() && !s.timer->isActive() && s.game.highScore() == 9.0 - 1.8);
        QTest::keyRelease(s.window, Qt::Key_Space); // let go at last, for the tests after this one
    }

    void fingersPlayToo()
    {
        const std::unique_ptr<QPointingDevice> touch(QTest::createTouchDevice()); // outlives the window
        Screen s(5.0);
        const QPoint button = s.centre("holdButton"), reset = s.centre("resetButton");
        const auto finger = [&] { return QTest::touchEvent(s.window, touch.get()); };
        const auto cancel = [&] { QTouchEvent e(QEvent::TouchCancel, touch.get()); qApp->sendEvent(s.window, &e); };
        // A second finger on the button is no one's hold; a compositor's gesture takes the fingers, not the mouse.
        finger().press(0, button);
        finger().press(1, button);
        finger().release(1, button).stationary(0);
        QVERIFY(s.game.isHolding() && s.timer->starts == 1);
        finger().press(1, button).stationary(0); // the holding finger lifts first: its hold ends then
        finger().release(0, button).stationary(1);
        QVERIFY(!s.game.isHolding());
        finger().release(1, button);
        QTest::mousePress(s.window, Qt::LeftButton, {}, button);
        finger().press(0, button);
        cancel();
        QVERIFY(s.game.isHolding());
        QTest::mouseRelease(s.window, Qt::LeftButton, {}, button);
        finger().press(0, button);
        cancel();
        QTest::mousePress(s.window, Qt::LeftButton, {}, button);
        s.item("holdButtonView")->ungrabMouse(); // a lost grab ends the hold, once
        QTest::mouseRelease(s.window, Qt::LeftButton, {}, button);
        QTest::mousePress(s.window, Qt::LeftButton, {}, button);
        QTest::mouseMove(s.window, QPoint(5, 5)); // let go off the button: still a release
        QTest::mouseRelease(s.window, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!s.game.isHolding() && s.timer->starts == 5);

        // Another window takes the focus, and Qt Quick the grab: a mouse's or a finger's hold goes on to its own
        // release, off the button or not; minimised, the window would never see it, and the hold ends then.
        for (const bool mouse : {true, false}) {
            const auto hold = [&](bool down) { mouse ? QTest::mouseEvent(down ? QTest::MousePress : QTest::MouseRelease,
                s.window, Qt::LeftButton, {}, down ? button : QPoint(5, 5)) : void(down ? finger().press(0, button)
                : finger().release(0, QPoint(5, 5))); };
            QWindow other;
            QVERIFY(activate(s.window));
            s.tickAt(mouse ? 10 : 20), hold(true);
            QVERIFY(activate(&other));
            s.tickAt(mouse ? 11 : 21);
            QVERIFY2(s.game.isHolding(), "another window's focus ended the hold");
            hold(false);
            QCOMPARE(s.game.elapsed(), s.game.isHolding() ? -1.0 : 1.0);
            hold(true), s.window->showMinimized();
            QVERIFY2(!s.game.isHolding(), "a minimised window's hold goes on");
            hold(false), s.window->showNormal();
        }

        // A tap on a control is a tap though it slides a little, and no move; further, it is neither. A mouse let go
        // off the control is "never mind", however close.
        const QPoint at = s.window->position(), below = reset + QPoint(0, s.rect("resetButton").height() / 2 + 8);
        QTest::mousePress(s.window, Qt::LeftButton, {}, reset);
        QTest::mouseMove(s.window, below);
        QTest::mouseRelease(s.window, Qt::LeftButton, {}, below);
        for (const QPoint slide : {QPoint(0, 40), QPoint(12, 12)}) {
            finger().press(0, reset);
            finger().move(0, reset + slide / 2);
            finger().move(0, reset + slide);
            finger().release(0, reset + slide);
            QVERIFY(s.game.waitForStore() && s.window->position() == at);
            QCOMPARE(s.item("resetButton")->isVisible(), !slide.x());
        }
        QVERIFY(s.store->best() == 0.0 && s.store->saved.size() == 1);
        QTest::mouseClick(s.window, Qt::LeftButton, {}, s.centre("minimiseButton")); // to the taskbar, not gone
        QVERIFY(s.window->windowStates() & Qt::WindowMinimized && s.window->isVisible());
    }

    void movesAndResizesWithoutAWindowManager() // nobody takes the drag offscreen: the game moves the window itself
    {
        Screen s;
        QList<QQuickItem *> edges = s.window->findChildren<QQuickItem *>();
        edges.removeIf([](QQuickItem *item) { return !item->property("edges").isValid(); });
        QCOMPARE(edges.size(), 8);
        const int minimumWidth = s.window->minimumWidth(), minimumHeight = s.window->minimumHeight();
        const auto drag = [&](QPointF from, QPoint by) { // as far as `by` in one motion, let go there
            const QPoint start = from.toPoint(), to = s.window->mapToGlobal(start) + by;
            QTest::mousePress(s.window, Qt::LeftButton, {}, start);
            QTest::mouseMove(s.window, to - s.window->position());
            QTest::mouseRelease(s.window, Qt::LeftButton, {}, to - s.window->position());
        };
        // Each edge and corner moves its own edges, by the pointer's motion or up to the minimum size.
        for (QQuickItem *edge : edges) {
            s.window->setGeometry(300, 200, 500, 700);
            QTRY_COMPARE(s.window->contentItem()->size(), QSizeF(500, 700));
            const QRectF at = edge->mapRectToScene(edge->boundingRect()); // where it lies says what it moves
            const int sides = (at.right() <= 12 ? Qt::LeftEdge : 0) | (at.left() >= 488 ? Qt::RightEdge : 0)
                | (at.bottom() <= 12 ? Qt::TopEdge : 0) | (at.top() >= 688 ? Qt::BottomEdge : 0);
            const QPoint inwards(sides & Qt::LeftEdge ? 1000 : -1000, sides & Qt::TopEdge ? 1000 : -1000);
            for (const QPoint by : {QPoint(30, 40), QPoint(-30, -40), inwards}) {
                s.window->setGeometry(300, 200, 500, 700);
                drag(edge->mapToScene(QPointF(edge->width() / 2, edge->height() / 2)), by);
                const int left = sides & Qt::LeftEdge ? std::min(300 + by.x(), 800 - minimumWidth) : 300;
                const int right = sides & Qt::RightEdge ? std::max(800 + by.x(), 300 + minimumWidth) : 800;
                const int top = sides & Qt::TopEdge ? std::min(200 + by.y(), 900 - minimumHeight) : 200;
                const int bottom = sides & Qt::BottomEdge ? std::max(900 + by.y(), 200 + minimumHeight) : 900;
                QCOMPARE(s.window->geometry(), QRect(left, top, right - left, bottom - top));
            }
        }
        // The backdrop moves the window at its minimum size, and keeps that size; a click on it moves nothing.
        s.window->setGeometry(300, 200, minimumWidth, minimumHeight);
        drag(QPointF(20, 300), QPoint(1, 1));
        QCOMPARE(s.window->geometry(), QRect(300, 200, minimumWidth, minimumHeight));
        const QPoint start = s.window->mapToGlobal(QPoint(20, 300));
        QTest::mousePress(s.window, Qt::LeftButton, {}, QPoint(20, 300));
        for (const QPoint by : {QPoint(10, 0), QPoint(40, 30)}) // past the threshold sideways, then on
            QTest::mouseMove(s.window, start + by - s.window->position());
        QTest::mouseRelease(s.window, Qt::LeftButton, {}, start + QPoint(40, 30) - s.window->position());
        QCOMPARE(s.window->geometry(), QRect(340, 230, minimumWidth, minimumHeight));
        QTest::keyPress(s.window, Qt::Key_Space); // mid-hold the other hand's drag moves nothing
        drag(QPointF(20, 300), QPoint(40, 30));
        QVERIFY(s.game.isHolding() && s.window->position() == QPoint(340, 230));
        QTest::keyRelease(s.window, Qt::Key_Space);
    }

    void followsTheDesktopsAccessibilitySettings()
    {
        const QString gnome = "org.gnome.desktop.interface ", fdo = "org.freedesktop.appearance ",
                      a11y = "org.gnome.desktop.a11y.interface high-contrast",
                      kde = "org.kde.kdeglobals.KDE AnimationDurationFactor";
        const QVariantMap off = {{a11y, false}, {fdo + "contrast", 0u}, {fdo + "color-scheme", 0u}, {kde, "1"},
            {gnome + "text-scaling-factor", 1.0}, {gnome + "enable-animations", true}, {fdo + "reduced-motion", 0u}};
        struct Case { QVariantMap settings; bool contrast; double scale; bool still; };
        const Case cases[] = {{{}, false, 1, false}, // a portal without any of them
            {{{a11y, true}, {gnome + "text-scaling-factor", 1.5}, {gnome + "enable-animations", false}}, true, 1.5,
             true},
            {{{fdo + "contrast", 1u}, {fdo + "color-scheme", 1u}, {gnome + "text-scaling-factor", 1.25},
              {fdo + "reduced-motion", 1u}}, true, 1.25, true},
            {{{a11y, "true"}, {fdo + "contrast", 2u}, {gnome + "text-scaling-factor", "2"}, {kde, "fast"},
              {gnome + "enable-animations", true}}, false, 1, false},
            {{{kde, "0"}}, false, 1, true},
            {{{a11y, true}}, true, 1, false}, // colours alone: every painted item follows them live
            {{{gnome + "text-scaling-factor", 0.3}}, false, 0.5, false}, // GNOME's bounds
            {{{gnome + "text-scaling-factor", 3.5}}, false, 3, false}};
        QImage today;
        for (const Case &c : cases) {
            m_portal.settings = c.settings;
            Screen s;
            // The game asked the portal before this, and the answers come in order.
            QDBusPendingCallWatcher last(QDBusConnection::sessionBus().asyncCall(QDBusMessage::createMethodCall(
                "org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop", "org.freedesktop.portal.Settings",
                "Read") << "" << ""));
            QVERIFY(QSignalSpy(&last, &QDBusPendingCallWatcher::finished).wait());
            const auto caption = [&] { return QRectF(-50, -8, 100, 16).translated(s.rect("holdButton").center()); };
            QTest::mousePress(s.window, Qt::LeftButton, {}, s.centre("holdButton"));
            s.tickAt(1.0);
            const QImage held = s.window->grabWindow();
            const bool captionHeld = contrast(held, caption()) >= 7, green = contrast(held, s.rect("timeReadout")) >= 7;
            s.window->setHeight(s.window->minimumHeight());
            QSignalSpy minimum(s.window, &QWindow::minimumHeightChanged);
            QTest::mouseRelease(s.window, Qt::LeftButton, {}, s.centre("holdButton"));
            // The badge and the reset button come: the window grows, once, to where the badge's spring ends.
            QTRY_VERIFY(s.window->height() == s.window->minimumHeight() && minimum.count() == 1);
            QCOMPARE(s.item("badge")->scale() == 1.0, c.still); // in the first frame after a record, or on the spring:
            auto *spring = s.window->findChild<QObject *>(QStringLiteral("badgeSpring")); // critically damped, 0.5 s
            const QEasingCurve curve = spring->property("easing").value<QEasingCurve>();
            for (const double t : {0.2, 0.5}) // 1 - (1 + wt) e^-wt, and exactly 1 at the end
                QVERIFY(qAbs(curve.valueForProgress(t) - 1 + (1 + 3 * t * M_PI) * std::exp(-3 * t * M_PI)) < 1e-9);
            QVERIFY(curve.valueForProgress(1) == 1);
            spring->setProperty("running", false);
            s.item("badgeSlot")->setProperty("progress", 1.0);
            for (const auto &[text, size] : {std::pair{"title", 28}, {"timeReadout", 56}, {"bestText", 16},
                     {"badge", 14}, {"resetButton", 12}, {"minimiseButton", 16}, {"closeButton", 18}})
                QVERIFY2(s.font(text).pixelSize() == qRound(size * c.scale), text);
            // What is drawn beside the text scales with it: the trophy, the caption in the hold button.
            QVERIFY(s.item("trophy")->height() == qRound(16 * c.scale)
                    && s.item("holdButtonView")->property("textScale").toDouble() == c.scale);
            QCOMPARE(s.rect("holdButton").width() > 180, c.scale > 1.25); // only when the caption would not fit
            const QImage frame = s.window->grabWindow();
            QVERIFY(qAbs(qMax(460.0, s.rect("screenColumn").height() + 96) - s.window->minimumHeight()) < 1
                    && minimum.count() == 1 && (c.scale > 1 || s.window->minimumWidth() == 360));
            QVERIFY(c.scale > 1 || (s.item("minimiseButton")->size() == QSizeF(24, 24) && s.item("closeButton")->size()
                    == QSizeF(24, 24) && s.item("closeButton")->mapToScene({0, 24}).y() < 48)); // targets clear of it
            for (const QRectF &text : {s.rect("title"), s.rect("timeReadout"), s.rect("resetButton"), caption(),
                                       s.rect("minimiseButton"), s.rect("closeButton"), s.rect("trophy")})
                QVERIFY((contrast(frame, text) >= 7 && captionHeld) || !c.contrast);
            // Today's secondary text, orange (the badge's text, not its emoji) and green do not reach it.
            const QRectF badge = s.rect("badge").adjusted(s.rect("badge").width() / 3, 0, 0, 0);
            QVERIFY((contrast(frame, s.rect("bestText")) >= 7) == c.contrast && green == c.contrast
                    && (contrast(frame, badge) >= 7) == c.contrast);
            QTest::mousePress(s.window, Qt::LeftButton, {}, s.centre("holdButton")); // the badge goes at once
            QVERIFY(!s.item("badge")->isVisible());
            QTest::mouseRelease(s.window, Qt::LeftButton, {}, s.centre("holdButton"));
            // Turned off while the game runs: today's look, to the pixel.
            for (auto setting = off.begin(); setting != off.end(); ++setting)
                m_portal.change(setting.key(), setting.value());
            s.window->resize(420, 620);
            QTRY_COMPARE(s.window->contentItem()->height(), 620);
            QTRY_VERIFY(s.window->grabWindow() == (today.isNull() ? today = s.window->grabWindow() : today));
        }
    }

    void speaksThePlayersLanguage_data()
    {
        QTest::addColumn<QString>("language");
        for (const char *language : {"de", "es", "fr", "it", "pl", "pt_BR", "uk", "ar", "sv", "en_GB:de",
                                     "de -reverse"})
            QTest::newRow(language) << QString::fromLatin1(language);
    }
    void speaksThePlayersLanguage()
    {
        QFETCH(QString, language);
        // English asked for first: English, though German is asked for next (the test's LANGUAGE); sv: none. Qt's
        // -reverse mirrors whatever the language.
        const bool reverse = language.endsWith(" -reverse"), system = language == "en_GB:de";
        const bool known = language != "sv" && !system, rtl = language == "ar" || reverse;
        language = language.section(' ', 0, 0);
        m_portal.settings = {{"org.gnome.desktop.interface text-scaling-factor", 2.0}}; // the most it must fit
        const auto restore = qScopeGuard([&] { m_portal.settings.clear(); });
        Screen s(61.5, system ? QLocale::system() : QLocale(language), reverse);
        QTRY_COMPARE(s.window->width(), s.window->minimumWidth()); // grown to the larger text
        s.window->setHeight(s.window->minimumHeight());
        s.window->grabWindow();
        QVERIFY(s.text("title") == "Brinmor" && s.text("bestText").contains(rtl ? "\u20681:01.50\u2069" : "1:01.50"));
        const std::pair<QString, const char *> english[] = {{s.text("bestText"), "Best: 1:01.50"},
            {s.text("resetButton"), "Reset High Score"}, {s.text("badge"), "🎉 New Record!"},
            {QAccessible::queryAccessibleInterface(s.item("closeButton"))->text(QAccessible::Name), "Close"},
            {QAccessible::queryAccessibleInterface(s.item("minimiseButton"))->text(QAccessible::Name), "Minimise"},
            {QAccessible::queryAccessibleInterface(s.item("holdButtonView"))->text(QAccessible::Description)
             .section(". ", 0, 0), "Hold Space, the mouse button or A on a pad"}};
        for (const auto &[shown, key] : english)
            QVERIFY2((shown != QString::fromUtf8(key)) == known, key);
        for (const char *label : {"title", "bestRow", "badge", "resetButton"}) // nothing clipped at the minimum size
            QVERIFY2(s.item(label)->implicitWidth() <= s.window->width() - 96 && !s.item(label)->property("truncated")
                     .toBool(), label);
        // Right to left reads from the right: the trophy before the best, the controls in the other corner.
        QVERIFY((s.rect("trophy").left() > s.rect("bestText").left()) == rtl && (s.rect("closeButton").right() < 48)
                == rtl && (s.rect("closeButton").left() < s.rect("minimiseButton").left()) == rtl);
    }

    void aPadPlaysToo()
    {
        const std::unique_ptr<QPointingDevice> touch(QTest::createTouchDevice()); // outlives the window
        Screen s(0.5);
        const auto opened = [](int i) { return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(i)); };
        const auto push = [&](SDL_Joystick *pad, bool down, int which = SDL_CONTROLLER_BUTTON_A) {
            SDL_JoystickSetVirtualButton(pad, which, down), s.reader->fire();
        };
        const auto tap = [&](SDL_Joystick *pad, int which) { push(pad, true, which), push(pad, false, which); };
        const auto capabilities = [&](const QString &event, const QByteArray &keys) {
            QVERIFY(QDir(s.classes.path()).mkpath(event + "/device/capabilities")
                    && write(s.classes.filePath(event + "/device/capabilities/key"), keys));
        };
        const auto plug = [&](const QString &node) { QVERIFY(write(s.devices.filePath(node), {})); };
        const auto started = [] { return SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0; };

        // A keyboard and a mouse, and no pad: SDL is not started, neither after the first frame nor as devices come.
        SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, SDL_CONTROLLER_BUTTON_MAX, 0);
        QVERIFY(!s.padsBeforeFrame && QTest::qWaitForWindowActive(s.window));
        QTRY_VERIFY(s.app.gamepads());
        capabilities("event0", "1000000000007 ff9f207ac14057ff febeffdfffefffff fffffffffffffffe");
        capabilities("event1", "1f0000 0 0 0 0");
        plug("event0"), plug("event1");
        QTest::qWait(50); // time for the folder's change to be seen
        QVERIFY(!started() && !s.reader->isActive());

        // An Xbox pad there from the start plays at once. Without the pads' part, stderr says once that pads cannot
        // be used, however often the devices change.
        capabilities("event2", "7cdb000000000000 0 0 0 0");
        QTemporaryDir elsewhere;
        std::optional<Gamepads> pads;
        const QByteArray told = stderrOf([&] {
            pads.emplace(s.window, Gamepads::Places{s.classes.path(), elsewhere.path(), ""}, s.reader);
            QFile(elsewhere.filePath("event2")).open(QFile::WriteOnly), QTest::qWait(50);
        });
        QVERIFY(!started() && !s.reader->isActive());
        QCOMPARE(told.count("brinmor: game pads cannot be used"), 1);
        const QByteArray node = s.classes.filePath("node").toLocal8Bit();
        const int said = mkfifo(node, 0600) == 0 ? open(node, O_RDWR | O_NONBLOCK) : -1;
        standInNode = node.constData();
        pads.emplace(s.window, Gamepads::Places{s.classes.path(), ""}, s.reader);
        QVERIFY(said >= 0 && started() && opened(0) && !s.reader->isActive()); // its node is watched, no tick runs
        // Read when its node has input, not before; once the node has ended, on the tick.
        QTest::qWait(600); // past the one more look that follows the part's loading
        SDL_JoystickSetVirtualButton(opened(0), SDL_CONTROLLER_BUTTON_A, true);
        QTest::qWait(20);
        QVERIFY(!s.game.isHolding() && write(said, "x", 1) == 1);
        QTRY_VERIFY(s.game.isHolding());
        SDL_JoystickSetVirtualButton(opened(0), SDL_CONTROLLER_BUTTON_A, false);
        QVERIFY(write(said, "x", 1) == 1);
        QTRY_VERIFY(!s.game.isHolding());
        QVERIFY(!s.reader->isActive() && close(said) == 0);
        QTRY_VERIFY(s.reader->isActive());
        standInNode = nullptr;
        pads.reset(); // SDL's game-controller part stops, and its virtual pads go with it

        // The pad plugged in while the game runs: SDL starts and its pad plays; and another pad, found when the
        // devices' folder changes.
        SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, SDL_CONTROLLER_BUTTON_MAX, 0);
        plug("event2");
        SDL_Joystick *one = nullptr, *two = nullptr;
        QTRY_VERIFY(started() && (one = opened(0)) && s.reader->period == ContentView::tickPeriod);
        SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, SDL_CONTROLLER_BUTTON_MAX, 0);
        plug("event3");
        QTRY_VERIFY((two = opened(1)));
        push(one, true);
        s.tickAt(2.0);
        push(one, false);
        QVERIFY(s.game.waitForStore() && s.store->best() == 2.0 && s.item("holdFocusRing")->isVisible());

        // One hold, one source: while the mouse, Space, a finger or a pad holds, what the others press and let go
        // neither ends the hold nor starts another; its own release ends it.
        const QPoint button = s.centre("holdButton");
        const std::function<void(bool)> sources[] = {
            [&](bool down) { down ? QTest::mousePress(s.window, Qt::LeftButton, {}, button)
                                  : QTest::mouseRelease(s.window, Qt::LeftButton, {}, button); },
            [&](bool d) { QTest::sendKeyEvent(d ? QTest::Press : QTest::Release, s.window, Qt::Key_Space, ' ', {}); },
            [&](bool down) { down ? QTest::touchEvent(s.window, touch.get()).press(0, button)
                                  : QTest::touchEvent(s.window, touch.get()).release(0, button); },
            [&](bool down) { push(one, down); }, [&](bool down) { push(two, down); }};
        for (const auto &holder : sources) {
            for (const auto &other : sources) {
                const int holds = s.timer->starts;
                holder(true);
                if (&other != &holder)
                    other(true), other(false), tap(one, SDL_CONTROLLER_BUTTON_B);
                QVERIFY(s.game.isHolding() && s.timer->starts == holds + 1);
                holder(false);
                QVERIFY(!s.game.isHolding());
            }
        }

        // The D-pad moves the focus as Shift+Tab and Tab do, A presses the control in focus, no other button does.
        for (const int which : {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_B})
            tap(one, which);
        QVERIFY(s.window->activeFocusItem() == s.item("resetButton") && s.game.highScore() == 2.0);
        tap(one, SDL_CONTROLLER_BUTTON_A);
        QVERIFY(s.game.waitForStore() && s.store->best() == 0.0);

        // Another window takes the focus: a pad's hold goes on, and a press made meanwhile is not this game's.
        const int holds = s.timer->starts;
        push(two, true);
        QWindow().show();
        QTRY_VERIFY(!s.window->isActive() && s.game.isHolding());
        push(two, false);
        QVERIFY(!s.game.isHolding() && !s.reader->isActive());
        push(one, true);
        QVERIFY(activate(s.window));
        s.reader->fire();
        QVERIFY(!s.game.isHolding() && s.timer->starts == holds + 1);

        // Unplugged mid-hold: the hold ends then, with the time held so far; with no pad left, nothing is read.
        push(two, true);
        s.tickAt(5.5);
        SDL_JoystickDetachVirtual(1);
        SDL_JoystickDetachVirtual(0);
        s.reader->fire();
        QVERIFY(!s.game.isHolding() && s.game.highScore() == 3.5 && !s.reader->isActive());
    }
};

int main(int argc, char **argv)
{
    GameApplication app(argc, argv); // the game's own application, with its handling of keys, and names
    BrinmorApp::setNames();
    TestScreen test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}
#include "tst_screen.moc"
