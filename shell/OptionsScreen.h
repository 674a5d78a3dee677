#pragma once
// The Options screen's volume bars as a press meets them.
#include <cstdint>

class TSoundBank;

// round(100 * offset / width), halves to even, in exact integer arithmetic (width > 0).
int32_t VolumeOfBar(int32_t offset, int32_t width);

// A press at (x, y) over bars `barWidth` wide: strictly inside a bar's width and strictly between
// its top and kVolumeBarHitHeight below, it sets that bar's volume to the press's share of the
// width (VolumeOfBar). Every press over the bars' span, on a bar or between them, applies the
// music's level anew. False for a press outside the span (nothing is set or applied).
bool PressVolumeBars(TSoundBank& bank, int32_t x, int32_t y, int32_t barWidth);
