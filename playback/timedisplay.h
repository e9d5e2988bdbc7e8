#pragma once

#include <QtGlobal>
#include <optional>

// Minutes and seconds as the time labels show them.
struct MinutesSeconds {
    qint16 minutes = 0;
    qint16 seconds = 0;

    friend bool operator==(const MinutesSeconds &, const MinutesSeconds &) = default;
};

// A length in seconds rounded to the nearest whole second, halves to the even one, then
// split with the minutes cut towards zero, so a negative length keeps its sign on both
// parts. Nothing when the whole seconds do not fit a 16-bit count.
std::optional<MinutesSeconds> lengthDisplay(double seconds);

// Halves go to the even neighbour whatever the floating-point rounding mode is.
double roundHalfToEven(double value);

// The elapsed time one tick later: seconds roll into minutes at 60, minutes back to 0 at 60.
MinutesSeconds nextTick(MinutesSeconds elapsed);

// The elapsed time that a track shows seconds into it, counted as the ticks count it.
MinutesSeconds elapsedAt(double seconds);

// The engine's loudness for a slider position: 0 to 10 give -1000 to 0 in steps of 100;
// any other position gives nothing.
std::optional<int> volumeLevelFor(int position);
