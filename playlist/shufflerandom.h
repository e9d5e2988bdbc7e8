#pragma once

// A number uniform on [0, 1), from a generator reseeded from the clock at every call.
// The seed mixes a nanosecond clock with a running count, so calls that come quicker
// than the clock ticks still get seeds of their own, and a draw never repeats the one
// just before it.
float clockRandom();

// The row a shuffle picks for r in [0, 1) among count rows: floor(r x count).
int shufflePick(float r, int count);
