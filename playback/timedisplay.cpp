#include "playback/timedisplay.h"

#include <cmath>
#include <limits>

double roundHalfToEven(double value)
{
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction < 0.5)
        return below;
    if (fraction > 0.5)
        return below + 1.0;
    return std::fmod(below, 2.0) == 0.0 ? below : below + 1.0;
}

std::optional<MinutesSeconds> lengthDisplay(double seconds)
{
    const double whole = roundHalfToEven(seconds);
    // Written so that NaN fails the test as well.
    if (!(whole >= std::numeric_limits<qint16>::min() && whole <= std::numeric_limits<qint16>::max()))
        return std::nullopt;
    const auto t = static_cast<qint16>(whole);
    const auto minutes = static_cast<qint16>(std::trunc(t / 60.0));
    return MinutesSeconds { minutes, static_cast<qint16>(t - 60 * minutes) };
}

MinutesSeconds nextTick(MinutesSeconds elapsed)
{
    ++elapsed.seconds;
    if (elapsed.seconds >= 60) {
        elapsed.seconds = 0;
        ++elapsed.minutes;
        if (elapsed.minutes >= 60)
            elapsed.minutes = 0;
    }
    return elapsed;
}

MinutesSeconds elapsedAt(double seconds)
{
    const qint64 whole = seconds > 0 ? static_cast<qint64>(seconds) : 0;
    return { static_cast<qint16>(whole / 60 % 60), static_cast<qint16>(whole % 60) };
}

std::optional<int> volumeLevelFor(int position)
{
    if (position < 0 || position > 10)
        return std::nullopt;
    return (position - 10) * 100;
}
