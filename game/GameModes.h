#pragma once
// The per-mode rules. The modes differ only in these numbers and in the preview odds (turn cycle).
#include <array>
#include <cstdint>

// The modes, as the current and the chosen mode name them.
constexpr uint8_t modeKids = 0;
constexpr uint8_t modeNormal = 1;
constexpr uint8_t modeProfessional = 2;

struct TModeRules {
    int32_t StartBalls;      // balls placed by a new game: 3 x (mode + 1)
    int32_t StartColours;    // starting balls are plain colours 1..StartColours
    int32_t PreviewColours;  // plain preview balls are colours 1..PreviewColours
    int32_t BallsPerTurn;    // balls per turn with 32 or more free cells: mode + 2
    int32_t MinBallsPerTurn; // the fewest balls a turn brings when the field fills up
    int32_t SpawnRoom;       // empty cells a spawn needs, whatever it places: mode + 3
};

constexpr std::array<TModeRules, 3> ModeRules = {{
    {3, 7, 6, 2, 1, 3}, // Kids: never below 1 ball, no drop below 16 free cells
    {6, 6, 6, 3, 1, 4}, // Normal
    {9, 6, 7, 4, 2, 5}, // Professional
}};

constexpr int kLineLength = 5; // in every mode

// Balls for the next turn from the free cells left after a spawn: mode + 2, one less below
// 32 free cells, one less again below 16 free cells except in Kids.
inline int32_t BallsPerTurnFor(uint8_t mode, int32_t freeCells) {
    int32_t n = mode + 2;
    if (freeCells < 32) n -= 1;
    if (freeCells < 16 && mode != 0) n -= 1;
    return n;
}
