#pragma once
// The seven ball colours as 0xRRGGBB, colour 1..7 at index 0..6 (red, green, blue, yellow,
// violet, cyan, white): the generator paints the balls with them and the game tints the sparks
// of a cleared ball with them.
#include <array>
#include <cstdint>

// Chosen so that the balls stay apart for colour-blind players too: the mean colours of the plain
// balls' pictures, seen with protan, deutan or tritan vision (Machado et al. 2009, full severity),
// differ by at least 16 (CIE76) in every pair; for normal vision by 20. The deficiencies fold the
// hues onto one axis each, so the colours also step through lightness: a dark royal blue under a
// lighter violet, a darker red under a light green, a warm white beside a pale cyan.
inline constexpr std::array<uint32_t, 7> kBallColours = {
    0xDA322C, // 1 red, heart
    0x81DB5F, // 2 green, triangle
    0x3153FF, // 3 blue, ring
    0xF7D02C, // 4 yellow, star
    0xA977FF, // 5 violet, diamond
    0x3BD5E6, // 6 cyan, cross
    0xFFFDEB, // 7 warm white, square
};
