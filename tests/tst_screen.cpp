// The real window offscreen, over a game whose clock, timer and store the test drives, and a stand-in portal.
#include "ApplicationService.h"
#include "BrinmorApp.h"
#include "Fakes.h"
#include "GameApplication.h"

#include <QtDBus>
#include <QtQuick> // and all of Qt Gui and Qt Qml
#include <QtTest>
#include <SDL.h>
#include <fcntl.h>
#include <optional>
#include <sys/stat.h>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)

// SDL names no node for its virtual pads; the pads' part asks the test's, a FIFO standing in for one while set.
static const char *standInNode = nullptr;
extern "C" const char *SDL_GameControllerPath(SDL_GameController *) { return standInNode; }

namespace {
QPointingDevice *touchscreen() { static auto *const device = QTest::createTouchDevice(); return device; } // for good
const QString gnome = "org.gnome.desktop.interface ", fdo = "org.freedesktop.appearance ",
    a11y = "org.gnome.desktop.a11y.interface high-contrast", kde = "org.kde.kdeglobals.KDE AnimationDurationFactor";
bool sdlStarted() { return SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0; }
SDL_Joystick *opened(int pad) { return SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(pad)); }
void attachPad() { SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER, 0, SDL_CONTROLLER_BUTTON_MAX, 0); }
const QByteArray xboxPad = "7cdb000000000000 0 0 0 0"; // its capabilities' keys
struct Look { QVariantMap settings; bool contrast = false; double scale = 1; bool still = false; };

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
    QAccessibleInterface *seen(const char *name) const { return QAccessible::queryAccessibleInterface(item(name)); }
    QString told(const char *name, QAccessible::Text text = QAccessible::Name) const { return seen(name)->text(text); }
    void tickAt(double t) { clock->advance(std::chrono::duration<double>(t) - (clock->now() - made)), timer->fire(); }
    double stored() { return game.waitForStore() ? store->best() : std::nan(""); }
    void mouse(bool down, QPoint at) // the left button
    { QTest::mouseEvent(down ? QTest::MousePress : QTest::MouseRelease, window, Qt::LeftButton, {}, at); }
    void drag(QPointF from, const QList<QPoint> &path) // one motion to each point of `path`, let go at the last
    {
        const QPoint start = from.toPoint(), global = window->mapToGlobal(start); // the window may move meanwhile
        mouse(true, start);
        for (const QPoint by : path)
            QTest::mouseMove(window, global + by - window->position());
        mouse(false, global + path.last() - window->position());
    }
    void space(QEvent::Type type, bool autoRepeat = false) // as the platform sends it, a repeat marked or not
    { QKeyEvent key(type, Qt::Key_Space, Qt::NoModifier, " ", autoRepeat); qApp->sendEvent(window, &key); }
    QTest::QTouchEventSequence finger() const { return QTest::touchEvent(window, touchscreen()); }
    bool capabilities(const QString &event, const QByteArray &keys) const // an input device's, in its folder
    { return write(classes.filePath(event + "/device/capabilities/key"), keys); }
    bool device(const QString &event, const QByteArray &keys) const // plugged in
    { return capabilities(event, keys) && write(devices.filePath(event), {}); }
    void push(SDL_Joystick *pad, bool down, int which = SDL_CONTROLLER_BUTTON_A) // read at the next tick
    { SDL_JoystickSetVirtualButton(pad, which, down), reader->fire(); }
    SDL_Joystick *plugPad(const QString &event) // an Xbox pad plugged in, SDL's virtual one standing in for it
    {
        const int index = sdlStarted() ? SDL_NumJoysticks() : 0;
        attachPad();
        const bool found = QTest::qWaitFor([&] { return app.gamepads(); }) // made after the first frame
            && device(event, xboxPad) && QTest::qWaitFor([&] { return opened(index); });
        return found ? opened(index) : nullptr;
    }
    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    Clock::TimePoint made = clock->now();
    std::shared_ptr<FakeTimer> timer = std::make_shared<FakeTimer>(), reader = std::make_shared<FakeTimer>();
    std::shared_ptr<MemoryStore> store;
    QTemporaryDir classes, devices; // stand in for /sys/class/input and /dev/input
    BrinmorApp app;
    QQuickWindow *window = app.start();
    ContentView &game = app.game();
    const bool padsBeforeFrame = app.gamepads(); // SDL would hold up the first frame
    const bool shown = QTest::qWaitForWindowExposed(window) && QTest::qWaitForWindowActive(window); // as when started
};

bool activate(QWindow *window) // as a click on it, or a window manager, does
{ return window->show(), window->requestActivate(), QTest::qWaitForWindowActive(window); }

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
Q_DECLARE_METATYPE(Look)

class TestScreen : public QObject
{
    Q_OBJECT

    QProcess m_bus;
    StandInPortal m_portal;
    QImage m_today; // the look with every setting off, from the first that turns them off

private slots:
    void initTestCase()
    {
        m_bus.start(QStringLiteral("dbus-daemon"), {"--session", "--nofork", "--print-address"});
        QVERIFY(m_bus.waitForReadyRead(5000));
        const QByteArray address = m_bus.readLine().trimmed();
        qputenv("DBUS_SESSION_BUS_ADDRESS", address);
        QDBusConnection portal = QDBusConnection::connectToBus(QString::fromLatin1(address), QStringLiteral("portal"));
        QVERIFY(portal.registerObject("/org/freedesktop/portal/desktop", &m_portal, QDBusConnection::ExportAllSlots));
        QVERIFY(portal.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }
    void cleanupTestCase() { m_bus.kill(); m_bus.waitForFinished(); }

    void cleanup() { m_portal.settings.clear(), QGuiApplication::setPalette(QPalette()); }

    void followsTheDesktopsColourScheme()
    {
        m_portal.settings = {{fdo + "color-scheme", 1u}}; // dark, though the palette is light
        Screen s;
        QVERIFY2(s.window->flags() & Qt::FramelessWindowHint, "a frame of the system's");
        QTRY_COMPARE(s.colour("title"), QColor("#f2f2f7")); // the fixed dark pair
        QVERIFY2(s.font("title").bold(), "the title is not bold");
        qApp->setPalette(QPalette(Qt::black)), m_portal.change(fdo + "color-scheme", 2u);
        QTRY_COMPARE(s.colour("title"), QColor("#1c1c1e")); // light asked for: the fixed light pair, palette dark
        m_portal.change(fdo + "color-scheme", 0u); // no say: the palette decides, followed live
        QTRY_COMPARE(s.colour("title"), QGuiApplication::palette().windowText().color());
    }

    void keyboardPlaysAndAScreenReaderFollows()
    {
        Screen s(0.5);
        QQuickItem *view = s.item("holdButtonView"), *ring = s.item("holdFocusRing");
        QCOMPARE(s.window->activeFocusItem(), view);
        QVERIFY2(!ring->isVisible(), "a focus ring before the keyboard is used");
        for (const char *next : {"closeButton", "minimiseButton", "resetButton", "holdButtonView"}) {
            QTest::keyClick(s.window, Qt::Key_Tab, Qt::ShiftModifier); // round the window backwards: the ring comes
            QCOMPARE(s.window->activeFocusItem(), s.item(next));
        }
        QVERIFY2(ring->isVisible(), "no focus ring once Tab is used");
        QCOMPARE(ring->property("border").value<QObject *>()->property("color").value<QColor>(),
                 QGuiApplication::palette().highlight().color());
        QAccessible::setActive(true);
        QStringList said; // a screen reader says a notification as it appears, and nothing else of the announcer
        QObject::connect(s.item("announcer"), &QQuickItem::visibleChanged, [&] {
            if (s.item("announcer")->isVisible() && s.seen("announcer")->role() == QAccessible::Notification)
                said << s.told("announcer");
        });
        for (int i = 0; i <= 180; ++i) // held: the key repeats, yet one hold, timed from the first press
            s.tickAt(i * 0.01), s.space(QEvent::KeyRelease, true), s.space(QEvent::KeyPress, i > 0);
        QCOMPARE(s.told("holdButtonView", QAccessible::Description),
                 "Hold Space, the mouse button or A on a pad. Best: 00.50"); // the best to beat
        QCOMPARE(s.text("timeReadout"), "01.80");
        QCOMPARE(s.told("timeReadout"), "01.00"); // not a change at every tick: whole seconds only
        QCOMPARE(said, QStringList()); // the announcer keeps quiet while the hold lasts
        s.space(QEvent::KeyRelease);
        QCOMPARE(s.stored(), 1.8);
        QCOMPARE(s.told("timeReadout"), "01.80");

        s.space(QEvent::KeyPress); // two holds that are no record, the mouse's last
        QVERIFY2(!s.window->findChild<QObject *>("badgeSpring")->property("running").toBool(), "the badge is back");
        s.space(QEvent::KeyRelease), QTest::mouseClick(s.window, Qt::LeftButton, {}, s.centre("holdButton"));
        QTest::keyClick(s.window, Qt::Key_Tab); // Space on the reset button presses it
        QCOMPARE(s.window->activeFocusItem(), s.item("resetButton"));
        QWindow other; // away and back: the focus stays where the player left it
        QVERIFY(activate(&other));
        QVERIFY(activate(s.window));
        QCOMPARE(s.window->activeFocusItem(), s.item("resetButton"));
        QTest::keyClick(s.window, Qt::Key_Space);
        QCOMPARE(s.game.highScore(), 0.0); // and the focus comes back to the hold button with its ring
        QCOMPARE(s.window->activeFocusItem(), view);
        QVERIFY2(ring->isVisible(), "no ring where Space now holds");

        for (const char *label : {"title", "timeReadout", "bestText", "badge"}) // read, not stopped at
            QVERIFY2(!s.seen(label)->state().focusable, label);
        QCOMPARE(s.seen("holdButtonView")->role(), QAccessible::Button);
        QCOMPARE(s.told("holdButtonView"), "HOLD ME");
        QCOMPARE(s.told("holdButtonView", QAccessible::Description),
                 "Hold Space, the mouse button or A on a pad. No best time yet"); // a pad's player is told too
        QCOMPARE(said, QStringList({"01.80, New Record!", "00.00", "00.00", "Best time reset"})); // no record: the time
    }

    void repeatsReachNoOneAndASpaceHoldEndsWithTheFocus()
    {
        Screen s;
        // A held Space's repeats (X11's detectable or not) reach no one, not even a screen reader's event filters; a
        // key its bridge posts again does, and so does the next press after the focus went away.
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
        s.space(QEvent::KeyPress);
        QCOMPARE(heard.keys, 2);
        QWindow other; // raised mid-hold: the key's release will never come
        QVERIFY2(s.game.isHolding(), "no hold before the other window");
        QVERIFY(activate(&other));
        QTRY_VERIFY2(!s.game.isHolding(), "a Space hold outlasts the focus");
        QVERIFY(activate(s.window));
        qt_handleKeyEvent(s.window, QEvent::KeyPress, Qt::Key_Space, {}, {}, true); // a repeat still on its way
        QTest::keyClick(s.window, Qt::Key_Space);
        QCOMPARE(heard.keys, 4);
        QTest::keyPress(s.window, Qt::Key_Space), s.tickAt(9.0);
        s.window->close(); // closed mid-hold: the hold ends like a release
        QVERIFY2(!s.game.isHolding(), "holding in a closed window");
        QVERIFY2(!s.timer->isActive(), "the timer runs on in a closed window");
        QCOMPARE(s.game.highScore(), 9.0);
        QTest::keyRelease(s.window, Qt::Key_Space); // let go at last, for the tests after this one
    }

    void aHoldIsTheFirstFingersOrTheMousesToItsOwnRelease()
    {
        Screen s(5.0);
        const QPoint button = s.centre("holdButton");
        const auto cancel = [&] { QTouchEvent e(QEvent::TouchCancel, touchscreen()); qApp->sendEvent(s.window, &e); };
        // A second finger on the button is no one's hold; a compositor's gesture takes the fingers, not the mouse.
        s.finger().press(0, button);
        s.finger().press(1, button);
        s.finger().release(1, button).stationary(0);
        QVERIFY2(s.game.isHolding(), "the second finger's lift ended the hold");
        QCOMPARE(s.timer->starts, 1);
        s.finger().press(1, button).stationary(0); // the holding finger lifts first: its hold ends then
        s.finger().release(0, button).stationary(1);
        QVERIFY2(!s.game.isHolding(), "the holding finger's lift did not end the hold");
        s.finger().release(1, button);
        s.mouse(true, button);
        s.finger().press(0, button);
        cancel();
        QVERIFY2(s.game.isHolding(), "a gesture ended the mouse's hold");
        s.mouse(false, button);
        s.finger().press(0, button);
        cancel();
        s.mouse(true, button), s.item("holdButtonView")->ungrabMouse(); // a lost grab ends the hold, once
        s.mouse(false, button), s.mouse(true, button);
        QTest::mouseMove(s.window, QPoint(5, 5)); // let go off the button: still a release
        s.mouse(false, QPoint(5, 5));
        QVERIFY2(!s.game.isHolding(), "a mouse let go off the button holds on");
        QCOMPARE(s.timer->starts, 5);
    }

    void aMouseOrFingerHoldOutlastsAnotherWindowsFocus_data()
    { QTest::addColumn<bool>("mouse"), QTest::newRow("mouse") << true, QTest::newRow("finger") << false; }
    void aMouseOrFingerHoldOutlastsAnotherWindowsFocus()
    {
        // It goes on to its own release, off the button or not; minimised, the window would never see that release.
        QFETCH(const bool, mouse);
        Screen s;
        const QPoint button = s.centre("holdButton"), off(5, 5);
        const auto hold = [&](bool down) {
            mouse ? s.mouse(down, down ? button : off)
                  : void(down ? s.finger().press(0, button) : s.finger().release(0, off));
        };
        QWindow other;
        hold(true);
        QVERIFY(activate(&other));
        s.tickAt(1);
        QVERIFY2(s.game.isHolding(), "another window's focus ended the hold");
        hold(false);
        QVERIFY2(!s.game.isHolding(), "its own release did not end the hold");
        QCOMPARE(s.game.elapsed(), 1.0);
        hold(true), s.window->showMinimized();
        QVERIFY2(!s.game.isHolding(), "a minimised window's hold goes on");
        hold(false);
    }

    void aTapOnAControlMaySlideALittle() // and is no move; further, neither. A mouse let go off it is "never mind".
    {
        Screen s(5.0);
        const QPoint at = s.window->position(), reset = s.centre("resetButton");
        const QPoint below = reset + QPoint(0, s.rect("resetButton").height() / 2 + 8); // however close
        s.mouse(true, reset), QTest::mouseMove(s.window, below), s.mouse(false, below);
        for (const QPoint slide : {QPoint(0, 40), QPoint(12, 12)}) {
            s.finger().press(0, reset);
            s.finger().move(0, reset + slide / 2);
            s.finger().move(0, reset + slide);
            s.finger().release(0, reset + slide);
            QCOMPARE(s.window->position(), at);
            QCOMPARE(s.item("resetButton")->isVisible(), !slide.x());
        }
        QTest::mouseClick(s.window, Qt::LeftButton, {}, s.centre("minimiseButton"));
        QVERIFY2(s.window->windowStates() & Qt::WindowMinimized, "not minimised");
        QVERIFY2(s.window->isVisible(), "gone, not to the taskbar");
    }

    void movesAndResizesWithoutAWindowManager() // nobody takes the drag offscreen: the game moves the window itself
    {
        Screen s;
        QList<QQuickItem *> edges = s.window->findChildren<QQuickItem *>();
        edges.removeIf([](QQuickItem *item) { return !item->property("edges").isValid(); });
        QCOMPARE(edges.size(), 8);
        const QSize least = s.window->minimumSize();
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
                s.drag(edge->mapToScene(QPointF(edge->width() / 2, edge->height() / 2)), {by});
                const int left = sides & Qt::LeftEdge ? std::min(300 + by.x(), 800 - least.width()) : 300;
                const int right = sides & Qt::RightEdge ? std::max(800 + by.x(), 300 + least.width()) : 800;
                const int top = sides & Qt::TopEdge ? std::min(200 + by.y(), 900 - least.height()) : 200;
                const int bottom = sides & Qt::BottomEdge ? std::max(900 + by.y(), 200 + least.height()) : 900;
                QCOMPARE(s.window->geometry(), QRect(left, top, right - left, bottom - top));
            }
        }
        // The backdrop moves the window at its minimum size, which it keeps; a click on it moves nothing.
        s.window->setGeometry(QRect(QPoint(300, 200), s.window->minimumSize()));
        s.drag(QPointF(20, 300), {QPoint(1, 1)});
        QCOMPARE(s.window->geometry(), QRect(QPoint(300, 200), s.window->minimumSize()));
        s.drag(QPointF(20, 300), {QPoint(10, 0), QPoint(40, 30)}); // past the threshold sideways, then on
        QCOMPARE(s.window->geometry(), QRect(QPoint(340, 230), s.window->minimumSize()));
        QTest::keyPress(s.window, Qt::Key_Space); // mid-hold the other hand's drag moves nothing
        s.drag(QPointF(20, 300), {QPoint(40, 30)});
        QVERIFY2(s.game.isHolding(), "the drag ended the hold");
        QCOMPARE(s.window->position(), QPoint(340, 230));
        QTest::keyRelease(s.window, Qt::Key_Space);
    }

    void followsTheDesktopsAccessibilitySettings_data()
    {
        QTest::addColumn<Look>("look");
        QTest::newRow("a portal without any") << Look{};
        QTest::newRow("GNOME's") << Look{{{a11y, true}, {gnome + "text-scaling-factor", 1.5},
                                          {gnome + "enable-animations", false}}, true, 1.5, true};
        QTest::newRow("freedesktop's") << Look{{{fdo + "contrast", 1u}, {fdo + "color-scheme", 1u},
                                               {gnome + "text-scaling-factor", 1.25}, {fdo + "reduced-motion", 1u}},
                                              true, 1.25, true};
        QTest::newRow("wrongly typed") << Look{{{a11y, "true"}, {fdo + "contrast", 2u}, {kde, "fast"},
            {gnome + "text-scaling-factor", "2"}, {gnome + "enable-animations", true}}};
        QTest::newRow("KDE's animations off") << Look{{{kde, "0"}}, false, 1, true};
        QTest::newRow("colours alone") << Look{{{a11y, true}}, true}; // every painted item follows them live
        QTest::newRow("text below GNOME's bounds") << Look{{{gnome + "text-scaling-factor", 0.3}}, false, 0.5};
        QTest::newRow("text above GNOME's bounds") << Look{{{gnome + "text-scaling-factor", 3.5}}, false, 3};
    }
    void followsTheDesktopsAccessibilitySettings()
    {
        QFETCH(const Look, look);
        m_portal.settings = look.settings;
        Screen s;
        // The game asked the portal before this, and the answers come in order.
        QDBusConnection::sessionBus().call(QDBusMessage::createMethodCall("org.freedesktop.portal.Desktop", "/org/"
            "freedesktop/portal/desktop", "org.freedesktop.portal.Settings", "Read") << "" << "", QDBus::BlockWithGui);
        s.mouse(true, s.centre("holdButton")), s.tickAt(1.0);
        const QImage held = s.window->grabWindow();
        const bool green = contrast(held, s.rect("timeReadout")) >= 7,
            captionHeld = contrast(held, QRectF(-50, -8, 100, 16).translated(s.rect("holdButton").center())) >= 7;
        s.window->setHeight(s.window->minimumHeight());
        QSignalSpy minimum(s.window, &QWindow::minimumHeightChanged);
        s.mouse(false, s.centre("holdButton"));
        // The badge and the reset button come: the window grows, once, to where the badge's spring ends.
        QTRY_COMPARE(minimum.count(), 1);
        QTRY_COMPARE(s.window->height(), s.window->minimumHeight());
        QCOMPARE(s.item("badge")->scale() == 1.0, look.still); // in the first frame after a record, or on the spring:
        auto *spring = s.window->findChild<QObject *>(QStringLiteral("badgeSpring")); // critically damped, 0.5 s
        const QEasingCurve curve = spring->property("easing").value<QEasingCurve>();
        for (const double t : {0.2, 0.5}) // 1 - (1 + wt) e^-wt, and exactly 1 at the end
            QVERIFY(qAbs(curve.valueForProgress(t) - 1 + (1 + 3 * t * M_PI) * std::exp(-3 * t * M_PI)) < 1e-9);
        QCOMPARE(curve.valueForProgress(1), 1.0);
        spring->setProperty("running", false), s.item("badgeSlot")->setProperty("progress", 1.0);
        for (const auto &[text, size] : {std::pair{"title", 28}, {"timeReadout", 56}, {"bestText", 16},
                 {"badge", 14}, {"resetButton", 12}, {"minimiseButton", 16}, {"closeButton", 18}})
            QVERIFY2(s.font(text).pixelSize() == qRound(size * look.scale), text);
        // What is drawn beside the text scales with it: the trophy, the caption in the hold button.
        QCOMPARE(s.item("trophy")->height(), qRound(16 * look.scale));
        QCOMPARE(s.item("holdButtonView")->property("textScale").toDouble(), look.scale);
        QCOMPARE(s.rect("holdButton").width() > 180, look.scale > 1.25); // only when the caption would not fit
        const QImage frame = s.window->grabWindow();
        QCOMPARE(minimum.count(), 1);
        QVERIFY2(qAbs(qMax(460.0, s.rect("screenColumn").height() + 96) - s.window->minimumHeight()) < 1,
                 "the minimum height is not the column's with its margins, nor 460");
        if (look.scale <= 1) { // the controls' targets, clear of the column
            QCOMPARE(s.window->minimumWidth(), 360);
            QCOMPARE(s.item("minimiseButton")->size(), QSizeF(24, 24));
            QCOMPARE(s.item("closeButton")->size(), QSizeF(24, 24));
            QVERIFY2(s.item("closeButton")->mapToScene({0, 24}).y() < 48, "the controls reach the column");
        }
        if (look.contrast) {
            QVERIFY2(captionHeld, "the held caption");
            for (const char *text : {"title", "timeReadout", "resetButton", "minimiseButton", "closeButton", "trophy"})
                QVERIFY2(contrast(frame, s.rect(text)) >= 7, text);
        }
        // Today's secondary text, orange (the badge's text, not its emoji) and green do not reach it.
        const QRectF badge = s.rect("badge").adjusted(s.rect("badge").width() / 3, 0, 0, 0);
        QCOMPARE(contrast(frame, s.rect("bestText")) >= 7, look.contrast);
        QCOMPARE(contrast(frame, badge) >= 7, look.contrast);
        QCOMPARE(green, look.contrast);
        s.mouse(true, s.centre("holdButton")); // the badge goes at once
        QVERIFY2(!s.item("badge")->isVisible(), "the badge stays at the press");
        s.mouse(false, s.centre("holdButton"));
        // Turned off while the game runs: today's look, to the pixel.
        const QVariantMap off = {{a11y, false}, {fdo + "contrast", 0u}, {fdo + "color-scheme", 0u}, {kde, "1"},
            {gnome + "text-scaling-factor", 1.0}, {gnome + "enable-animations", true}, {fdo + "reduced-motion", 0u}};
        for (auto setting = off.begin(); setting != off.end(); ++setting)
            m_portal.change(setting.key(), setting.value());
        s.window->resize(420, 620);
        QTRY_COMPARE(s.window->contentItem()->height(), 620);
        QTRY_VERIFY(s.window->grabWindow() == (m_today.isNull() ? m_today = s.window->grabWindow() : m_today));
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
        // en_GB:de (the test's LANGUAGE): English, asked for first; sv: none. -reverse mirrors whatever the language.
        const bool reverse = language.endsWith(" -reverse"), system = language == "en_GB:de";
        const bool known = language != "sv" && !system, rtl = language == "ar" || reverse;
        language = language.section(' ', 0, 0);
        m_portal.settings = {{gnome + "text-scaling-factor", 2.0}}; // the most it must fit
        Screen s(61.5, system ? QLocale::system() : QLocale(language), reverse);
        QTRY_COMPARE(s.window->width(), s.window->minimumWidth()); // grown to the larger text
        s.window->setHeight(s.window->minimumHeight()), s.window->grabWindow();
        QCOMPARE(s.text("title"), "Brinmor");
        QVERIFY2(s.text("bestText").contains(rtl ? "\u20681:01.50\u2069" : "1:01.50"), "the time, isolated if RTL");
        const std::pair<QString, const char *> english[] = {{s.text("bestText"), "Best: 1:01.50"},
            {s.text("resetButton"), "Reset High Score"}, {s.text("badge"), "🎉 New Record!"},
            {s.told("closeButton"), "Close"}, {s.told("minimiseButton"), "Minimise"},
            {s.told("holdButtonView", QAccessible::Description).section(". ", 0, 0),
             "Hold Space, the mouse button or A on a pad"}};
        for (const auto &[shown, key] : english)
            QVERIFY2((shown != QString::fromUtf8(key)) == known, key);
        for (const char *label : {"title", "bestRow", "badge", "resetButton"}) { // nothing clipped at the minimum size
            QVERIFY2(s.item(label)->implicitWidth() <= s.window->width() - 96, label);
            QVERIFY2(!s.item(label)->property("truncated").toBool(), label);
        }
        // Right to left reads from the right: the trophy before the best, the controls in the other corner.
        QCOMPARE(s.rect("trophy").left() > s.rect("bestText").left(), rtl);
        QCOMPARE(s.rect("closeButton").right() < 48, rtl);
        QCOMPARE(s.rect("closeButton").left() < s.rect("minimiseButton").left(), rtl);
    }

    void aPadThereAtStartPlaysIfThePadsPartLoads() // SDL waits for a pad; stderr says once that the part is missing
    {
        Screen s;
        QVERIFY2(!s.padsBeforeFrame, "SDL held up the first frame");
        QTRY_VERIFY(s.app.gamepads());
        QVERIFY(s.device("event0", "1000000000007 ff9f207ac14057ff febeffdfffefffff fffffffffffffffe"));
        QVERIFY(s.device("event1", "1f0000 0 0 0 0"));
        QTest::qWait(50); // time for the folder's change to be seen
        QVERIFY2(!sdlStarted(), "SDL started without a pad");
        QVERIFY(s.capabilities("event2", xboxPad));
        QTemporaryDir elsewhere;
        std::optional<Gamepads> pads;
        const QByteArray told = stderrOf([&] {
            pads.emplace(s.window, Gamepads::Places{s.classes.path(), elsewhere.path(), ""}, s.reader);
            QFile(elsewhere.filePath("event2")).open(QFile::WriteOnly), QTest::qWait(50);
        });
        QCOMPARE(told.count("brinmor: game pads cannot be used"), 1);
        QVERIFY2(!sdlStarted(), "SDL started without the part"); // nor by the game's own look at the devices
        const QByteArray node = s.classes.filePath("node").toLocal8Bit();
        const int said = mkfifo(node, 0600) == 0 ? open(node, O_RDWR | O_NONBLOCK) : -1;
        QVERIFY(said >= 0);
        standInNode = node.constData();
        const auto restore = qScopeGuard([] { standInNode = nullptr; });
        attachPad(), pads.emplace(s.window, Gamepads::Places{s.classes.path(), ""}, s.reader);
        SDL_Joystick *const pad = opened(0);
        QVERIFY2(pad, "SDL opened no pad");
        QVERIFY2(!s.reader->isActive(), "a tick reads a pad whose node is watched");
        // Read when its node has input, not before: B, which plays nothing, shows when the look that follows the
        // part's loading has read the pads. Once the node has ended, read on the tick.
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_B, true);
        QTRY_VERIFY(SDL_JoystickGetButton(pad, SDL_CONTROLLER_BUTTON_B));
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, true);
        QTest::qWait(20);
        QVERIFY2(!s.game.isHolding(), "read with no input on its node");
        QCOMPARE(write(said, "x", 1), 1);
        QTRY_VERIFY(s.game.isHolding());
        SDL_JoystickSetVirtualButton(pad, SDL_CONTROLLER_BUTTON_A, false);
        QCOMPARE(write(said, "x", 1), 1);
        QTRY_VERIFY(!s.game.isHolding());
        QCOMPARE(close(said), 0);
        QTRY_VERIFY(s.reader->isActive());
    }

    void aPadPluggedInPlaysAndAHoldHasOneSource()
    {
        Screen s(0.5);
        SDL_Joystick *one = s.plugPad("event2"), *two = s.plugPad("event3"); // another found as the folder changes
        QVERIFY(one);
        QVERIFY(two);
        QTRY_COMPARE(s.reader->period, ContentView::tickPeriod);
        s.push(one, true), s.tickAt(2.0), s.push(one, false);
        QCOMPARE(s.stored(), 2.0);
        QVERIFY2(s.item("holdFocusRing")->isVisible(), "a pad's player sees no ring");
        // What the mouse, Space, a finger or a pad does neither ends another's hold nor starts one; its release does.
        const QPoint button = s.centre("holdButton");
        const std::function<void(bool)> sources[] = {[&](bool down) { s.mouse(down, button); },
            [&](bool down) { s.space(down ? QEvent::KeyPress : QEvent::KeyRelease); },
            [&](bool down) { down ? s.finger().press(0, button) : s.finger().release(0, button); },
            [&](bool down) { s.push(one, down); }, [&](bool down) { s.push(two, down); }};
        for (const auto &holder : sources) {
            for (const auto &other : sources) {
                const int holds = s.timer->starts;
                holder(true);
                if (&other != &holder) // and another button of a pad
                    other(true), other(false), s.push(one, true, SDL_CONTROLLER_BUTTON_B), s.push(one, false, 1);
                QVERIFY2(s.game.isHolding(), "another source ended the hold");
                QCOMPARE(s.timer->starts, holds + 1);
                holder(false);
                QVERIFY2(!s.game.isHolding(), "its own release did not end the hold");
            }
        }
        // The D-pad moves the focus as Shift+Tab and Tab do, A presses the control in focus, no other button.
        for (const int which : {SDL_CONTROLLER_BUTTON_DPAD_UP, SDL_CONTROLLER_BUTTON_DPAD_DOWN,
                                SDL_CONTROLLER_BUTTON_DPAD_DOWN, SDL_CONTROLLER_BUTTON_B})
            s.push(one, true, which), s.push(one, false, which);
        QCOMPARE(s.window->activeFocusItem(), s.item("resetButton"));
        QCOMPARE(s.game.highScore(), 2.0);
        s.push(one, true), s.push(one, false);
        QCOMPARE(s.stored(), 0.0);
    }

    void aPadsHoldOutlastsTheFocusAndEndsUnplugged()
    {
        Screen s;
        SDL_Joystick *one = s.plugPad("event2"), *two = s.plugPad("event3");
        QVERIFY(two);
        // Another window takes the focus: a pad's hold goes on, and a press made meanwhile is not this game's.
        s.push(two, true);
        QWindow().show();
        QTRY_VERIFY(!s.window->isActive());
        QVERIFY2(s.game.isHolding(), "another window's focus ended a pad's hold");
        s.push(two, false);
        QVERIFY2(!s.game.isHolding(), "the pad's release did not end its hold");
        QVERIFY2(!s.reader->isActive(), "pads read for an inactive window");
        s.push(one, true);
        QVERIFY(activate(s.window));
        s.reader->fire();
        QVERIFY2(!s.game.isHolding(), "a press made for another window held");
        QCOMPARE(s.timer->starts, 1);
        // Unplugged mid-hold: the hold ends then, with the time held so far; with no pad left, nothing is read.
        s.tickAt(2.0), s.push(two, true), s.tickAt(5.5);
        SDL_JoystickDetachVirtual(1);
        SDL_JoystickDetachVirtual(0);
        s.reader->fire();
        QVERIFY2(!s.game.isHolding(), "an unplugged pad holds");
        QCOMPARE(s.game.highScore(), 3.5);
        QVERIFY2(!s.reader->isActive(), "read with no pad left");
    }

    void aLaunchTokenUpTo1KiBIsPassedOn() // real ones are under 100 bytes; a megabyte would flood the desktop
    {
        for (const int size : {1024, 1025}) {
            qputenv("XDG_ACTIVATION_TOKEN", QByteArray(size, 'x'));
            const QString token = ApplicationService::launchData().value("activation-token").toString();
            QCOMPARE(token.size(), size <= 1024 ? size : 0);
        }
        qunsetenv("XDG_ACTIVATION_TOKEN");
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
