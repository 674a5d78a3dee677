#include "platform/VolumeLaw.h"

#include <cmath>

float VolumeGain(int32_t volume) {
    if (volume <= 0) return 0.0f;
    if (volume >= 100) return 1.0f;
    return static_cast<float>(std::pow(10.0, -kVolumeDbPerStep * (100 - volume) / 20.0));
}
