#include "SpringCurve.h"

#include <cmath>
#include <numbers>

double SpringCurve::progress(double seconds)
{
    if (seconds <= 0.0)
        return 0.0;
    const double wt = 2.0 * std::numbers::pi / responseSeconds * seconds;
    return 1.0 - (1.0 + wt) * std::exp(-wt);
}

qreal SpringCurve::easing(qreal normalisedTime)
{
    // Land exactly on the target at the end instead of 0.1% short of it.
    if (normalisedTime >= 1.0)
        return 1.0;
    return progress(normalisedTime * settleMilliseconds / 1000.0);
}

QEasingCurve SpringCurve::easingCurve()
{
    QEasingCurve curve;
    curve.setCustomType(&SpringCurve::easing);
    return curve;
}
