#pragma once

#include "ContentView.h"

#include <QtQml/qqml.h>

// Makes the window-free game state known to QML as a type, without making
// the core library depend on QML. The application creates the one instance.
struct ContentViewForeign {
    Q_GADGET
    QML_FOREIGN(ContentView)
    QML_NAMED_ELEMENT(ContentView)
    QML_UNCREATABLE("The application creates the game state.")
};
