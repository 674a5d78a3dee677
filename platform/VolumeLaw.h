#pragma once
// The volume settings' law: a setting of 0..100, as the options show and store it, to the linear
// gain it plays at.
#include <cstdint>

// 0 is silent and 100 full; values outside are held at the nearer end.
float VolumeGain(int32_t volume);
