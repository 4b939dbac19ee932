#include "Gamepads.h"

#include "ContentView.h"
#include "HoldButtonNSView.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QQuickWindow>
#include <SDL.h>
#include <cstdio>

using namespace std::chrono_literals;

Gamepads::Gamepads(QQuickWindow *window, const QString &devices, std::shared_ptr<RepeatingTimer> reader)
    : m_window(window)
    , m_reader(std::move(reader))
{
    // SIGTERM, SIGINT and SIGHUP are the game's own (QuitSignals), even if the environment says otherwise.
    SDL_SetHintWithPriority(SDL_HINT_NO_SIGNAL_HANDLERS, "1", SDL_HINT_OVERRIDE);
    if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
        std::fprintf(stderr, "brinmor: game pads cannot be used: %s\n", SDL_GetError());
        return;
    }
    m_started = true;
    // SDL learns of a new pad from udev, which tells only once it has set the device's permissions, a
    // moment after the node appeared: one more look once the folder has been still for a while.
    m_lateLook.setSingleShot(true);
    m_lateLook.setInterval(500ms);
    connect(&m_lateLook, &QTimer::timeout, this, [this] { read(Presses::Act); });
    if (QFileInfo(devices).isDir())
        m_devices.addPath(devices);
    connect(&m_devices, &QFileSystemWatcher::directoryChanged, this, [this] {
        read(Presses::Act);
        m_lateLook.start();
    });
    connect(window, &QWindow::activeChanged, this, &Gamepads::follow);
    read(Presses::Act); // the pads already there
}

Gamepads::~Gamepads()
{
    m_reader->stop();
    if (!m_started)
        return;
    for (const auto &[id, pad] : m_pads)
        SDL_GameControllerClose(pad);
    SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
}

void Gamepads::read(Presses presses)
{
    SDL_PumpEvents();
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0)
        handle(event, presses);
    follow();
}

void Gamepads::handle(const SDL_Event &event, Presses presses)
{
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
        if (SDL_GameController *pad = SDL_GameControllerOpen(event.cdevice.which)) {
            const int id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
            // An index read late may be that of a pad already open: one handle a pad.
            if (!m_pads.emplace(id, pad).second)
                SDL_GameControllerClose(pad);
        }
        break;
    case SDL_CONTROLLERDEVICEREMOVED:
        // Unplugged or out of battery mid-hold: the hold ends now, like a release.
        release(event.cdevice.which);
        if (const auto pad = m_pads.find(event.cdevice.which); pad != m_pads.end()) {
            SDL_GameControllerClose(pad->second);
            m_pads.erase(pad);
        }
        break;
    case SDL_CONTROLLERBUTTONDOWN:
        if (presses == Presses::Act && m_window->isActive())
            press(event.cbutton.which, event.cbutton.button);
        break;
    case SDL_CONTROLLERBUTTONUP:
        if (event.cbutton.button == SDL_CONTROLLER_BUTTON_A)
            release(event.cbutton.which);
        break;
    default:
        break;
    }
}

void Gamepads::press(int pad, int button)
{
    if (button == SDL_CONTROLLER_BUTTON_A) {
        if (auto *view = qobject_cast<HoldButtonNSView *>(m_window->activeFocusItem())) {
            m_holds[pad] = view;
            view->padPressed(pad);
        } else {
            sendKey(Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "));
        }
    } else if (button == SDL_CONTROLLER_BUTTON_DPAD_DOWN) {
        sendKey(Qt::Key_Tab, Qt::NoModifier);
    } else if (button == SDL_CONTROLLER_BUTTON_DPAD_UP) {
        sendKey(Qt::Key_Backtab, Qt::ShiftModifier);
    }
}

void Gamepads::release(int pad)
{
    const auto hold = m_holds.find(pad);
    if (hold == m_holds.end())
        return;
    if (hold->second)
        hold->second->padReleased(pad);
    m_holds.erase(hold);
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
    const bool wanted = !m_pads.empty() && (m_window->isActive() || !m_holds.empty());
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
