#pragma once
// The ways a player plays: a mouse, the keyboard, a game controller, a touch screen. The
// application reports the kind of each input it passes on; what the game says about how to play
// (its first tips) follows the kind used last.
#include <cstddef>
#include <cstdint>

enum class TInputKind : uint8_t { Mouse, Keys, Pad, Touch };
inline constexpr size_t kInputKinds = 4;
