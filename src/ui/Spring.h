#pragma once

#include "SpringCurve.h"

#include <QObject>
#include <QtQml/qqmlregistration.h>

// The game's one spring, for NumberAnimation { easing: Spring.easing; duration: Spring.duration }.
class Spring : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
    Q_PROPERTY(QEasingCurve easing READ easing CONSTANT)
    Q_PROPERTY(int duration READ duration CONSTANT)

public:
    using QObject::QObject;

    QEasingCurve easing() const { return SpringCurve::easingCurve(); }
    int duration() const { return SpringCurve::settleMilliseconds; }
};
