#include "Gamepads.h"

#include "ContentView.h"
#include "HoldButtonNSView.h"
#include "PadSource.h"

#include <QCoreApplication>
#include <QDir>
#include <QKeyEvent>
#include <QPluginLoader>
#include <QQuickWindow>
#include <cstdio>

using namespace std::chrono_literals;

Gamepads::Gamepads(QQuickWindow *window, const Places &places, std::shared_ptr<RepeatingTimer> reader)
    : m_window(window)
    , m_finder(places.classes, places.devices)
    , m_part(places.part)
    , m_reader(std::move(reader))
{
    // SDL learns of a new pad from udev, which tells only once it has set the device's permissions, a
    // moment after the node appeared: one more look once the folder has been still for a while.
    m_lateLook.setSingleShot(true);
    m_lateLook.setInterval(500ms);
    connect(&m_lateLook, &QTimer::timeout, this, [this] { read(Presses::Act); });
    connect(&m_finder, &PadFinder::devicesChanged, this, &Gamepads::look);
    connect(window, &QWindow::activeChanged, this, &Gamepads::follow);
    look(); // the pads already there
}

Gamepads::~Gamepads()
{
    m_reader->stop();
    if (m_pads)
        m_pads->stop();
}

QString Gamepads::partPath()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/" BRINMOR_PADS);
}

void Gamepads::look()
{
    if (m_pads) {
        read(Presses::Act);
        m_lateLook.start();
        return;
    }
    if (m_loadTried || !m_finder.hasPad())
        return;
    m_loadTried = true;
    QPluginLoader part(m_part);
    auto *pads = qobject_cast<PadSource *>(part.instance());
    if (!pads) {
        std::fprintf(stderr, "brinmor: game pads cannot be used: %s (%s)\n", qPrintable(part.errorString()),
                     qPrintable(QDir::cleanPath(m_part)));
        return;
    }
    if (!pads->start(this))
        return;
    m_pads = pads;
    m_lateLook.start();
    follow();
}

void Gamepads::read(Presses presses)
{
    m_dropping = presses == Presses::Drop;
    m_pads->read();
    m_dropping = false;
    follow();
}

void Gamepads::pressed(int pad, Button button)
{
    if (m_dropping || !m_window->isActive())
        return;
    if (button == Button::A) {
        if (auto *view = qobject_cast<HoldButtonNSView *>(m_window->activeFocusItem())) {
            m_holds[pad] = view;
            view->padPressed(pad);
        } else {
            sendKey(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        }
    } else if (button == Button::Down) {
        sendKey(Qt::Key_Tab, Qt::NoModifier);
    } else if (button == Button::Up) {
        sendKey(Qt::Key_Backtab, Qt::ShiftModifier);
    }
}

void Gamepads::released(int pad, Button button)
{
    if (button == Button::A)
        removed(pad);
}

void Gamepads::removed(int pad)
{
    const auto hold = m_holds.find(pad);
    if (hold == m_holds.end())
        return;
    if (hold->second)
        hold->second->padReleased(pad);
    m_holds.erase(hold);
    follow();
}

void Gamepads::padsChanged()
{
    follow();
}

void Gamepads::sendKey(int key, Qt::KeyboardModifiers modifiers, const QString &text)
{
    for (const QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, key, modifiers, text);
        QCoreApplication::sendEvent(m_window, &event);
    }
}

void Gamepads::follow()
{
    const bool wanted = m_pads && m_pads->needsReads() && (m_window->isActive() || !m_holds.empty());
    if (wanted == m_reader->isActive())
        return;
    if (!wanted) {
        m_reader->stop();
        return;
    }
    // As often as the readout moves, and no more.
    m_reader->start(ContentView::tickPeriod, [this] { read(Presses::Act); });
    // What the pads did while no one read them was meant for another window.
    read(Presses::Drop);
}
