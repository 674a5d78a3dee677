#include "shell/OptionsScreen.h"

#include "fx/SoundBank.h"
#include "layout/Layout.h"
#include "state/OptionsState.h"

namespace {

bool OnBar(int32_t y, int32_t top) {
    return y > top && y < top + kVolumeBarHitHeight;
}

} // namespace

int32_t VolumeOfBar(int32_t offset, int32_t width) {
    const int64_t num = 100LL * offset;
    int64_t q = num / width;
    const int64_t twiceRest = 2 * (num % width);
    if (twiceRest > width || (twiceRest == width && (q & 1))) ++q;
    return static_cast<int32_t>(q);
}

bool PressVolumeBars(TSoundBank& bank, int32_t x, int32_t y, int32_t barWidth) {
    if (x <= kVolumeBarLeft || x >= kVolumeBarLeft + barWidth) return false;
    const int32_t value = VolumeOfBar(x - kVolumeBarLeft, barWidth);
    if (OnBar(y, kSoundBarTop)) bank.SetSoundVolume(value);
    bank.SetMusicVolume(OnBar(y, kMusicBarTop) ? value : Options.MusicVolume);
    return true;
}
