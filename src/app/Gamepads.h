#pragma once

#include "QtRepeatingTimer.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>

class HoldButtonNSView;
class QQuickWindow;
struct _SDL_GameController;
union SDL_Event;

// Game pads, through SDL's game-controller API and its mapping database. The bottom face button does
// what Space does on the focused control, except that on the hold button each pad's hold is its own;
// the D-pad's down and up move the focus as Tab and Shift+Tab do. With no pad nothing runs: SDL is
// asked for new pads when the folder of input devices changes. A pad is read every tick of the
// readout while the window is active or a pad's hold is under way, and at no other time.
class Gamepads : public QObject
{
    Q_OBJECT

public:
    // `reader` ticks the reads, started and stopped here.
    explicit Gamepads(QQuickWindow *window, const QString &devices = QStringLiteral("/dev/input"),
                      std::shared_ptr<RepeatingTimer> reader = std::make_shared<QtRepeatingTimer>());
    ~Gamepads() override;

private:
    // Presses made while the window was not active are dropped; releases always count.
    enum class Presses { Act, Drop };

    void read(Presses presses);
    void handle(const SDL_Event &event, Presses presses);
    void press(int pad, int button);
    void release(int pad);
    void sendKey(int key, Qt::KeyboardModifiers modifiers, const QString &text = {});
    // Reads while there is a pad and the window is active or a pad holds.
    void follow();

    QQuickWindow *m_window;
    bool m_started = false;
    QFileSystemWatcher m_devices;
    std::shared_ptr<RepeatingTimer> m_reader;
    QTimer m_lateLook;
    // By SDL's instance id.
    std::map<int, _SDL_GameController *> m_pads;
    std::map<int, QPointer<HoldButtonNSView>> m_holds;
};
