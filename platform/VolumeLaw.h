#pragma once
// The volume settings' law: a setting of 0..100, as the options show and store it, to the linear
// gain it plays at. Equal steps of the setting are equal steps in decibels, as the ear hears
// loudness: 3 dB for every 10, so 50 is -15 dB and 10 is -27 dB; 0 is silent and 100 full.
#include <cstdint>

constexpr double kVolumeDbPerStep = 0.3; // dB per unit of the setting

// Values outside 0..100 are held at the nearer end.
float VolumeGain(int32_t volume);
