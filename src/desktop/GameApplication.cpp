#include "GameApplication.h"

#include <QKeyEvent>

GameApplication::GameApplication(int &argc, char **argv)
    : QGuiApplication(argc, argv)
{
}

bool GameApplication::notify(QObject *receiver, QEvent *event)
{
    // Key events from the system reach a window first; what is dropped there reaches nobody, the
    // event filters included. A screen reader's bridge holds each key back and posts it again.
    if (!receiver->isWindowType() || !event->spontaneous())
        return QGuiApplication::notify(receiver, event);
    const auto space = [event] { return static_cast<QKeyEvent *>(event)->key() == Qt::Key_Space; };
    const auto repeated = [event] { return static_cast<QKeyEvent *>(event)->isAutoRepeat(); };
    switch (event->type()) {
    case QEvent::KeyPress:
        if (space()) {
            if (repeated() || m_spaceDown)
                return true;
            m_spaceDown = true;
        }
        break;
    case QEvent::KeyRelease:
        if (space()) {
            if (repeated())
                return true;
            m_spaceDown = false;
        }
        break;
    case QEvent::FocusOut:
        // The release goes to another window.
        m_spaceDown = false;
        break;
    default:
        break;
    }
    return QGuiApplication::notify(receiver, event);
}
