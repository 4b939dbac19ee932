#include "SpringCurve.h"

#include <QTest>
#include <cmath>
#include <numbers>

class TestSpringCurve : public QObject
{
    Q_OBJECT

private slots:
    void followsTheCriticallyDampedClosedForm()
    {
        const double w = 2 * std::numbers::pi / 0.5;
        for (double t : {0.05, 0.1, 0.25, 0.5, 0.7})
            QCOMPARE(SpringCurve::progress(t), 1 - (1 + w * t) * std::exp(-w * t));
        QCOMPARE(SpringCurve::progress(0.0), 0.0);
        QCOMPARE(SpringCurve::progress(-1.0), 0.0);
    }

    void risesWithoutOvershootAndSettles()
    {
        const QEasingCurve curve = SpringCurve::easingCurve();
        double previous = 0.0;
        for (int i = 0; i <= 1000; ++i) {
            const double value = curve.valueForProgress(i / 1000.0);
            QVERIFY(value >= previous);
            QVERIFY(value <= 1.0);
            previous = value;
        }
        QCOMPARE(curve.valueForProgress(1.0), 1.0);
        // The animation ends once the spring is visually at rest.
        QVERIFY(1.0 - SpringCurve::progress(SpringCurve::settleMilliseconds / 1000.0) < 1e-3);
        QCOMPARE(curve.valueForProgress(0.5), SpringCurve::progress(SpringCurve::settleMilliseconds / 2000.0));
    }
};

QTEST_GUILESS_MAIN(TestSpringCurve)
#include "tst_springcurve.moc"
