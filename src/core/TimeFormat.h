#pragma once

#include <QString>

// "SS.hh" below a minute, "M:SS.hh" from a minute on; every field truncated.
// Locale-free. A value no clock could give (not finite, beyond 64 bits) reads "--.--".
QString formatTime(double seconds);
