#include "HoldButtonNSView.h"
#include "ScreenFixture.h"
#include "SpringCurve.h"
#include "TimeFormat.h"

#include <QAccessible>
#include <QPalette>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSignalSpy>
#include <QTest>
#include <QtQml/QQmlExtensionPlugin>

Q_IMPORT_QML_PLUGIN(BrinmorPlugin)


namespace {
QRectF sceneRect(QQuickItem *item)
{
    return item->mapRectToScene(QRectF(0, 0, item->width(), item->height()));
}
} // namespace

class TestScreen : public QObject
{
    Q_OBJECT

private slots:
    void circleFitsTheBounds_data()
    {
        QTest::addColumn<QSizeF>("bounds");
        QTest::addColumn<QRectF>("circle");
        QTest::newRow("square") << QSizeF(180, 180) << QRectF(0, 0, 180, 180);
        QTest::newRow("wide") << QSizeF(200, 100) << QRectF(50, 0, 100, 100);
        QTest::newRow("tall") << QSizeF(100, 200) << QRectF(0, 50, 100, 100);
        QTest::newRow("empty") << QSizeF(0, 0) << QRectF(0, 0, 0, 0);
    }
    void circleFitsTheBounds()
    {
        QFETCH(QSizeF, bounds);
        QFETCH(QRectF, circle);
        QCOMPARE(HoldButtonNSView::circleRect(bounds), circle);
    }

    void aWholeHoldAsThePlayerSeesIt()
    {
        Screen screen;
        QVERIFY(screen.window);
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        auto *view = screen.window->findChild<HoldButtonNSView *>(QStringLiteral("holdButtonView"));
        QVERIFY(view);
        QCOMPARE(screen.text("timeReadout"), QStringLiteral("00.00"));
        QCOMPARE(screen.text("bestText"), QStringLiteral("Best: 00.00"));
        QVERIFY(!screen.item("badge")->isVisible());
        QVERIFY(!screen.item("resetButton")->isVisible());

        const QPoint centre = screen.centreOf("holdButton");
        const QPointF corner = view->mapToScene(QPointF(3, 3));
        const QPointF outside = view->mapToScene(QPointF(-3, -3));
        QVERIFY(near(pixel(screen.window, centre + QPoint(0, 40)), QColor::fromRgbF(0.2f, 0.4f, 0.95f)));
        QVERIFY(near(pixel(screen.window, corner), pixel(screen.window, outside)));

        QTest::mousePress(screen.window, Qt::LeftButton, {}, centre);
        QVERIFY(screen.game.isHolding());
        QCOMPARE(view->caption(), QStringLiteral("HOLDING..."));
        screen.tickAt(1.0);
        screen.tickAt(1.234);
        QCOMPARE(screen.text("timeReadout"), QStringLiteral("01.23"));
        QVERIFY(near(pixel(screen.window, centre + QPoint(0, 40)), QColor::fromRgbF(0.2f, 0.78f, 0.5f)));
        QVERIFY(near(pixel(screen.window, corner), pixel(screen.window, outside)));
        QCOMPARE(view->size(), QSizeF(180, 180));

        // Released off the button: still a release.
        QTest::mouseMove(screen.window, QPoint(5, 5));
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, QPoint(5, 5));
        QVERIFY(!screen.game.isHolding());
        QCOMPARE(view->caption(), QStringLiteral("HOLD ME"));
        QCOMPARE(view->size(), QSizeF(180, 180));
        QCOMPARE(screen.text("bestText"), QStringLiteral("Best: 01.23"));
        QCOMPARE(std::get<double>(screen.store->value), 1.234);
        QTRY_COMPARE(screen.item("badge")->property("scale").toDouble(), 1.0);
        QVERIFY(screen.item("badge")->isVisible());
        QVERIFY(screen.item("resetButton")->isVisible());

        // The next press removes the badge at once.
        QTest::mousePress(screen.window, Qt::LeftButton, {}, centre);
        QVERIFY(!screen.item("badge")->isVisible());
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, centre);
        QCOMPARE(screen.text("timeReadout"), QStringLiteral("00.00"));

        QTest::mouseClick(screen.window, Qt::LeftButton, {}, screen.centreOf("resetButton"));
        QCOMPARE(screen.game.highScore(), 0.0);
        QVERIFY(std::holds_alternative<int>(screen.store->value));
        QCOMPARE(screen.text("bestText"), QStringLiteral("Best: 00.00"));
        QVERIFY(!screen.item("resetButton")->isVisible());
    }

    void onlyPrimaryPressesAndReleasesCount()
    {
        Screen screen;
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        auto *view = screen.window->findChild<HoldButtonNSView *>(QStringLiteral("holdButtonView"));
        QSignalSpy presses(view, &HoldButtonNSView::press);
        QSignalSpy releases(view, &HoldButtonNSView::release);
        const QPoint centre = screen.centreOf("holdButton");

        QTest::mouseClick(screen.window, Qt::RightButton, {}, centre);
        QCOMPARE(presses.count(), 0);

        QTest::mouseDClick(screen.window, Qt::LeftButton, {}, centre);
        QCOMPARE(presses.count(), 2);
        QCOMPARE(releases.count(), 2);

        // A lost grab ends the hold once; the later real release adds nothing.
        QTest::mousePress(screen.window, Qt::LeftButton, {}, centre);
        view->ungrabMouse();
        QCOMPARE(releases.count(), 3);
        QVERIFY(!screen.game.isHolding());
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, centre);
        QCOMPARE(releases.count(), 3);
    }

    void closingTheWindowDuringAHoldEndsIt()
    {
        Screen screen;
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        QTest::mousePress(screen.window, Qt::LeftButton, {}, screen.centreOf("holdButton"));
        screen.tickAt(2.0);
        screen.window->close();
        QVERIFY(!screen.game.isHolding());
        QVERIFY(!screen.game.isTimerRunning());
        QCOMPARE(screen.game.highScore(), 2.0);
    }

    void resetButtonOnlyWithABestAboveZero_data()
    {
        QTest::addColumn<double>("stored");
        QTest::addColumn<bool>("shown");
        QTest::newRow("0.01") << 0.01 << true;
        QTest::newRow("zero") << 0.0 << false;
        QTest::newRow("negative") << -1.0 << false;
    }
    void resetButtonOnlyWithABestAboveZero()
    {
        QFETCH(double, stored);
        QFETCH(bool, shown);
        Screen screen(stored);
        QVERIFY(screen.window);
        QCOMPARE(screen.item("resetButton")->isVisible(), shown);
    }

    void storedBestShowsFormatted_data()
    {
        QTest::addColumn<double>("stored");
        for (double t : {0.0, 0.07, 0.29, 9.999, 12.34, 59.995, 60.0, 61.5, 99.99, 600.0, 3600.0, 6000.25})
            QTest::newRow(qPrintable(QString::number(t))) << t;
    }
    void storedBestShowsFormatted()
    {
        QFETCH(double, stored);
        Screen screen(stored);
        QVERIFY(screen.window);
        QCOMPARE(screen.text("bestText"), QStringLiteral("Best: ") + formatTime(stored));
    }

    void followsALightOrDarkPalette_data()
    {
        QTest::addColumn<bool>("dark");
        QTest::newRow("light") << false;
        QTest::newRow("dark") << true;
    }
    void followsALightOrDarkPalette()
    {
        QFETCH(bool, dark);
        const QPalette original = QGuiApplication::palette();
        QPalette palette = original;
        palette.setColor(QPalette::Window, dark ? QColor(30, 30, 32) : QColor(246, 246, 246));
        palette.setColor(QPalette::WindowText, dark ? QColor(242, 242, 247) : QColor(20, 20, 20));
        QGuiApplication::setPalette(palette);

        Screen screen;
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        const QImage image = screen.window->grabWindow();
        QGuiApplication::setPalette(original);

        const int backdrop = image.pixelColor(20, image.height() / 2).lightness();
        QQuickItem *title = screen.item("title");
        const QRect titleArea = title->mapRectToScene(QRectF(0, 0, title->width(), title->height())).toRect();
        int darkest = 255;
        int lightest = 0;
        for (int y = titleArea.top(); y <= titleArea.bottom(); ++y) {
            for (int x = titleArea.left(); x <= titleArea.right(); ++x) {
                const int lightness = image.pixelColor(x, y).lightness();
                darkest = qMin(darkest, lightness);
                lightest = qMax(lightest, lightness);
            }
        }
        if (dark) {
            QVERIFY2(backdrop < 80, qPrintable(QString::number(backdrop)));
            QVERIFY(lightest > 200);
        } else {
            QVERIFY2(backdrop > 200, qPrintable(QString::number(backdrop)));
            QVERIFY(darkest < 60);
        }
    }

    void assistiveTechnologyAndKeyboardReachTheControls()
    {
        Screen screen(2.5);
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        QAccessible::setActive(true);
        auto describe = [&](const char *name) {
            QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(screen.item(name));
            return iface ? std::make_pair(iface->role(), iface->text(QAccessible::Name))
                         : std::make_pair(QAccessible::NoRole, QString());
        };
        QCOMPARE(describe("holdButtonView"), std::make_pair(QAccessible::Button, QStringLiteral("HOLD ME")));
        QCOMPARE(QAccessible::queryAccessibleInterface(screen.item("holdButtonView"))->text(QAccessible::Description),
                 QStringLiteral("Hold Space or the mouse button"));
        QCOMPARE(describe("resetButton"), std::make_pair(QAccessible::Button, QStringLiteral("Reset High Score")));
        QCOMPARE(describe("timeReadout"), std::make_pair(QAccessible::StaticText, QStringLiteral("00.00")));
        QCOMPARE(describe("bestText"), std::make_pair(QAccessible::StaticText, QStringLiteral("Best: 02.50")));
        screen.game.startHolding();
        QCOMPARE(describe("holdButtonView"), std::make_pair(QAccessible::Button, QStringLiteral("HOLDING...")));
        screen.game.stopHolding();

        // The reset button is reached with Tab and pressed with Space.
        screen.window->requestActivate();
        QQuickItem *reset = screen.item("resetButton");
        for (int i = 0; i < 4 && !reset->hasActiveFocus(); ++i)
            QTest::keyClick(screen.window, Qt::Key_Tab);
        QVERIFY(reset->hasActiveFocus());
        QTest::keyClick(screen.window, Qt::Key_Space);
        QCOMPARE(screen.game.highScore(), 0.0);
    }

    void badgeSpringsInAboutItsOwnCentre()
    {
        Screen screen(1.0); // the reset button is there from the start and never moves the column
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        QQuickItem *badge = screen.item("badge");
        QQuickItem *title = screen.item("title");
        const double titleBefore = sceneRect(title).center().y();

        // The badge comes in on the spring...
        auto *spring = screen.window->findChild<QObject *>(QStringLiteral("badgeSpring"));
        const auto curve = spring->property("easing").value<QEasingCurve>();
        for (double t : {0.05, 0.2, 0.5, 0.8})
            QCOMPARE(curve.valueForProgress(t), SpringCurve::easing(t));
        QCOMPARE(spring->property("duration").toInt(), SpringCurve::settleMilliseconds);
        screen.game.startHolding();
        screen.tickAt(3.0);
        screen.game.stopHolding();
        QVERIFY(spring->property("running").toBool());

        // ...and at every point of it grows about the centre of its final place.
        spring->setProperty("running", false);
        QQuickItem *slot = screen.item("badgeSlot");
        slot->setProperty("progress", 1.0);
        screen.window->grabWindow();
        const QPointF finalCentre = sceneRect(badge).center();
        const double titleMove = sceneRect(title).center().y() - titleBefore;
        QVERIFY(titleMove < -10);
        for (double progress : {0.05, 0.2, 0.5, 0.8}) {
            slot->setProperty("progress", progress);
            screen.window->grabWindow();
            QCOMPARE(badge->scale(), progress);
            QCOMPARE(badge->opacity(), progress);
            const QPointF centre = sceneRect(badge).center();
            QVERIFY2(QLineF(centre, finalCentre).length() <= 1.0, qPrintable(QString::number(centre.y() - finalCentre.y())));
            QVERIFY(centre.y() - badge->height() * progress / 2 >= sceneRect(screen.item("bestRow")).bottom());
            // The rest of the column makes room in step.
            QVERIFY(qAbs(sceneRect(title).center().y() - titleBefore - titleMove * progress) <= 1.0);
        }
    }

    void keyboardPlaysTheHoldButton()
    {
        Screen screen(0.5);
        QVERIFY(QTest::qWaitForWindowActive(screen.window));
        auto *view = screen.window->findChild<HoldButtonNSView *>(QStringLiteral("holdButtonView"));
        QQuickItem *ring = screen.item("holdFocusRing");
        QCOMPARE(screen.window->activeFocusItem(), view);
        QVERIFY(!ring->isVisible());

        // Tab and Shift+Tab go round the controls in order.
        const QList<QQuickItem *> order{view, screen.item("resetButton"), screen.item("minimiseButton"),
                                        screen.item("closeButton"), view};
        for (int i = 1; i < order.size(); ++i) {
            QTest::keyClick(screen.window, Qt::Key_Tab);
            QCOMPARE(screen.window->activeFocusItem(), order[i]);
        }
        QVERIFY(ring->isVisible());
        for (int i = order.size() - 2; i >= 0; --i) {
            QTest::keyClick(screen.window, Qt::Key_Tab, Qt::ShiftModifier);
            QCOMPARE(screen.window->activeFocusItem(), order[i]);
        }

        auto space = [&](QEvent::Type type, bool autoRepeat = false) {
            QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), autoRepeat);
            QCoreApplication::sendEvent(screen.window, &event);
        };
        // A held key repeats: one hold, timed from the first press, one write.
        space(QEvent::KeyPress);
        QVERIFY(screen.game.isHolding());
        for (int i = 1; i <= 180; ++i) {
            screen.tickAt(i * 0.01);
            if (i % 4 == 0) {
                space(QEvent::KeyRelease, true);
                space(QEvent::KeyPress, true);
            }
        }
        QVERIFY(screen.game.isHolding());
        space(QEvent::KeyRelease);
        QVERIFY(!screen.game.isHolding());
        QCOMPARE(screen.timer->starts, 1);
        QCOMPARE(screen.store->writes, 1);
        QCOMPARE(screen.game.highScore(), 1.8);

        // One hold, one source: only what started the hold ends it.
        const QPoint centre = screen.centreOf("holdButton");
        QTest::mousePress(screen.window, Qt::LeftButton, {}, centre);
        QVERIFY(!ring->isVisible());
        space(QEvent::KeyPress);
        space(QEvent::KeyRelease);
        QVERIFY(screen.game.isHolding());
        QTest::mouseRelease(screen.window, Qt::LeftButton, {}, centre);
        QVERIFY(!screen.game.isHolding());
        space(QEvent::KeyPress);
        QTest::mouseClick(screen.window, Qt::LeftButton, {}, centre);
        QVERIFY(screen.game.isHolding());
        space(QEvent::KeyRelease);
        QVERIFY(!screen.game.isHolding());
        QCOMPARE(screen.timer->starts, 3);

        // Another window raised mid-hold: the key's release will never come.
        space(QEvent::KeyPress);
        QWindow other;
        other.show();
        other.requestActivate();
        QTRY_VERIFY(!screen.game.isHolding());
    }

    void windowIsNeverSmallerThanItsContent()
    {
        Screen screen(5.0);
        QVERIFY(QTest::qWaitForWindowExposed(screen.window));
        QVERIFY(screen.window->flags() & Qt::FramelessWindowHint);
        QVERIFY(screen.window->minimumWidth() >= 360);
        QVERIFY(screen.window->minimumHeight() >= 460);
        QVERIFY(screen.window->width() >= screen.window->minimumWidth());
        QVERIFY(screen.window->height() >= screen.window->minimumHeight());
        // Everything, badge and reset button included, fits the window it opens with.
        screen.game.startHolding();
        screen.tickAt(6.0);
        screen.game.stopHolding();
        QTRY_COMPARE(screen.item("badge")->property("scale").toDouble(), 1.0);
        QVERIFY(screen.window->height() >= screen.window->minimumHeight());
        QCOMPARE(screen.window->height(), 620);
    }
};

QTEST_MAIN(TestScreen)
#include "tst_screen.moc"
