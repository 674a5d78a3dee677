#include "platform/VolumeLaw.h"

#include <algorithm>

float VolumeGain(int32_t volume) {
    return static_cast<float>(std::clamp(volume, 0, 100)) / 100.0f;
}
