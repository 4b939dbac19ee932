#pragma once

#include "PadFinder.h"
#include "PadListener.h"
#include "RepeatingTimer.h"

#include <QObject>
#include <QPointer>
#include <QTimer>
#include <map>
#include <memory>

class HoldButtonNSView;
class PadSource;
class QQuickWindow;

// Game pads. The bottom face button does what Space does on the focused control, except that on the
// hold button each pad's hold is its own; the D-pad's down and up move the focus as Tab and Shift+Tab
// do. SDL lives in a part of the game (src/pads) loaded only once the machine has a pad; until then,
// and with no pad, nothing runs but a look at the devices when the folder of input devices changes.
// A pad is read when its device node has input; one whose node SDL does not name, every tick of the
// readout while the window is active or a pad's hold is under way.
class Gamepads : public QObject, private PadListener
{
    Q_OBJECT

public:
    // Where the input devices and the pads' part are; tests give stand-ins.
    struct Places {
        QString classes = QStringLiteral("/sys/class/input");
        QString devices = QStringLiteral("/dev/input");
        QString part = partPath();
    };

    // `reader` ticks the reads, started and stopped here.
    Gamepads(QQuickWindow *window, const Places &places, std::shared_ptr<RepeatingTimer> reader);
    ~Gamepads() override;

    // The same place beside the executable in the build tree as once installed.
    static QString partPath();

private:
    // Presses made while the window was not active are dropped; releases always count.
    enum class Presses { Act, Drop };

    void look();
    void read(Presses presses);
    void pressed(int pad, Button button) override;
    void released(int pad, Button button) override;
    void removed(int pad) override;
    void padsChanged() override;
    void sendKey(int key, Qt::KeyboardModifiers modifiers, const QString &text = {});
    // Reads on the tick while a pad needs it and the window is active or a pad holds.
    void follow();

    QQuickWindow *m_window;
    PadFinder m_finder;
    QString m_part;
    std::shared_ptr<RepeatingTimer> m_reader;
    QTimer m_lateLook;
    PadSource *m_pads = nullptr;
    bool m_loadTried = false;
    bool m_dropping = false;
    std::map<int, QPointer<HoldButtonNSView>> m_holds;
};
