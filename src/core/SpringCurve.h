#pragma once

#include <QEasingCurve>

// A critically damped spring with a response of 0.5 s:
// x(t) = 1 - (1 + wt) e^(-wt), w = 2*pi / 0.5 s.
class SpringCurve
{
public:
    static constexpr double responseSeconds = 0.5;
    // By then the spring is within 0.1% of its target: visually at rest.
    static constexpr int settleMilliseconds = 750;

    // Progress of the spring t seconds after it was released.
    static double progress(double seconds);
    // The same curve over a normalised animation time 0..1 spanning settleMilliseconds.
    static qreal easing(qreal normalisedTime);
    static QEasingCurve easingCurve();
};
