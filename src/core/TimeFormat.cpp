#include "TimeFormat.h"

#include <cinttypes>
#include <cmath>
#include <cstdio>

QString formatTime(double seconds)
{
    // 2^63: the first double whose whole part no longer fits a signed 64-bit integer.
    constexpr double int64Limit = 9223372036854775808.0;
    if (!std::isfinite(seconds) || seconds >= int64Limit || seconds < -int64Limit)
        return QStringLiteral("--.--");

    const auto whole = static_cast<std::int64_t>(seconds);
    // fmod is exact and keeps the sign, so a negative time carries "-" in every field.
    const auto hundredths = static_cast<std::int64_t>(std::fmod(seconds, 1.0) * 100.0);
    const std::int64_t minutes = whole / 60;
    const std::int64_t secondsInMinute = whole - 60 * minutes;

    char text[64];
    if (whole < 60)
        std::snprintf(text, sizeof text, "%02" PRId64 ".%02" PRId64, secondsInMinute, hundredths);
    else
        std::snprintf(text, sizeof text, "%" PRId64 ":%02" PRId64 ".%02" PRId64, minutes, secondsInMinute, hundredths);
    return QString::fromLatin1(text);
}
