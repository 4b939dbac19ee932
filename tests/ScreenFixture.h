#pragma once

#include "BrinmorApp.h"
#include "ContentView.h"
#include "FakeClock.h"
#include "FakeTimer.h"
#include "MemoryStore.h"

#include <QQmlApplicationEngine>
#include <QQuickItem>
#include <QQuickWindow>

// The real window and screen over a game whose clock, timer and store the test drives.
struct Screen {
    explicit Screen(double stored = 0.0)
        : store(std::make_shared<MemoryStore>(stored))
        , game(ContentView::Services{clock, timer, store})
    {
        window = BrinmorApp::loadWindow(engine, &game, false);
        if (window)
            window->show();
    }

    QQuickItem *item(const char *name) const { return window->findChild<QQuickItem *>(QLatin1String(name)); }
    QString text(const char *name) const { return item(name)->property("text").toString(); }
    QPoint centreOf(const char *name) const
    {
        QQuickItem *it = item(name);
        return it->mapToScene(QPointF(it->width() / 2, it->height() / 2)).toPoint();
    }
    void tickAt(double seconds)
    {
        clock->advance(std::chrono::duration<double>(seconds - ticked));
        ticked = seconds;
        timer->fire();
    }

    std::shared_ptr<FakeClock> clock = std::make_shared<FakeClock>();
    std::shared_ptr<FakeTimer> timer = std::make_shared<FakeTimer>();
    std::shared_ptr<MemoryStore> store;
    ContentView game;
    QQmlApplicationEngine engine;
    QQuickWindow *window = nullptr;
    double ticked = 0.0;
};

inline QColor pixel(QQuickWindow *window, QPointF at)
{
    const QImage image = window->grabWindow();
    return image.pixelColor((at * image.devicePixelRatio()).toPoint());
}

inline bool near(QColor a, QColor b)
{
    return qAbs(a.red() - b.red()) <= 2 && qAbs(a.green() - b.green()) <= 2 && qAbs(a.blue() - b.blue()) <= 2;
}

// Lightness of the backdrop and of the title's ink (its pixel farthest from the backdrop).
inline std::pair<int, int> backdropAndTitleLightness(const Screen &screen)
{
    const QImage image = screen.window->grabWindow();
    const int backdrop = image.pixelColor(20, image.height() / 2).lightness();
    QQuickItem *title = screen.item("title");
    const QRect area = title->mapRectToScene(QRectF(0, 0, title->width(), title->height())).toRect();
    int ink = backdrop;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            const int lightness = image.pixelColor(x, y).lightness();
            if (qAbs(lightness - backdrop) > qAbs(ink - backdrop))
                ink = lightness;
        }
    }
    return {backdrop, ink};
}
