#include "TimeFormat.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTest>
#include <cmath>
#include <cstring>
#include <limits>

class TestTimeFormat : public QObject
{
    Q_OBJECT

private slots:
    void formats_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << 0.0 << "00.00";
        QTest::newRow("0.07") << 0.07 << "00.07";
        QTest::newRow("0.29 truncates to 28") << 0.29 << "00.28";
        QTest::newRow("9.999") << 9.999 << "09.99";
        QTest::newRow("12.34") << 12.34 << "12.33";
        QTest::newRow("59.99") << 59.99 << "59.99";
        QTest::newRow("59.995") << 59.995 << "59.99";
        QTest::newRow("60.0 starts minutes") << 60.0 << "1:00.00";
        QTest::newRow("61.5") << 61.5 << "1:01.50";
        QTest::newRow("99.99") << 99.99 << "1:39.98";
        QTest::newRow("600") << 600.0 << "10:00.00";
        QTest::newRow("an hour has no hours field") << 3600.0 << "60:00.00";
        QTest::newRow("6000.25") << 6000.25 << "100:00.25";
        QTest::newRow("negative") << -1.5 << "-1.-50";
        QTest::newRow("negative zero") << -0.0 << "00.00";
        QTest::newRow("largest in range") << 9223372036854774784.0 << "153722867280912913:04.00";
        QTest::newRow("smallest in range") << -9223372036854775808.0 << "-8.00";
        QTest::newRow("2^63 is out of range") << 9223372036854775808.0 << "--.--";
        QTest::newRow("below -2^63") << -9223372036854777856.0 << "--.--";
        QTest::newRow("nan") << std::nan("") << "--.--";
        QTest::newRow("infinity") << std::numeric_limits<double>::infinity() << "--.--";
        QTest::newRow("minus infinity") << -std::numeric_limits<double>::infinity() << "--.--";
    }
    void formats()
    {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(formatTime(seconds), text);
    }

    void ignoresTheLocale()
    {
        const QLocale previous;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        std::setlocale(LC_NUMERIC, "de_DE.UTF-8");
        const QString text = formatTime(1234.5);
        std::setlocale(LC_NUMERIC, "C");
        QLocale::setDefault(previous);
        QCOMPARE(text, QStringLiteral("20:34.50"));
    }

    // Over a million doubles of every kind: never a crash, always the grammar or the out-of-range text.
    void randomValuesFollowTheGrammar()
    {
        static const QRegularExpression grammar(QStringLiteral(
            "^((\\d{2}|-\\d{1,2})\\.(\\d{2}|-\\d{1,2})|\\d+:\\d{2}\\.\\d{2}|--\\.--)$"));
        QRandomGenerator random(20261206);
        const double anchors[] = {0.0, 60.0, 3600.0, 9223372036854775808.0, std::numeric_limits<double>::denorm_min()};
        for (int i = 0; i < 1'000'000; ++i) {
            double value;
            switch (i % 4) {
            case 0: { // any bit pattern: subnormals, infinities, NaNs, huge values
                const quint64 bits = random.generate64();
                std::memcpy(&value, &bits, sizeof value);
                break;
            }
            case 1: // near the edges where the format changes
                value = anchors[random.bounded(5)] + (random.generateDouble() - 0.5) * 2.0;
                break;
            case 2:
                value = -anchors[random.bounded(5)] * random.generateDouble();
                break;
            default: // plausible hold times
                value = random.generateDouble() * 10000.0;
            }
            const QString text = formatTime(value);
            if (!grammar.match(text).hasMatch())
                QFAIL(qPrintable(QStringLiteral("%1 gave %2").arg(value, 0, 'g', 17).arg(text)));
            if (!std::isfinite(value))
                QCOMPARE(text, QStringLiteral("--.--"));
        }
    }
};

QTEST_GUILESS_MAIN(TestTimeFormat)
#include "tst_timeformat.moc"
