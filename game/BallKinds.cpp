#include "game/BallKinds.h"

bool IsBallKindEntry(const TCell& cell) {
    for (int i = 1; i < kBallKindCount; ++i) {
        if (BallKinds[static_cast<size_t>(i)] == cell) return true;
    }
    return false;
}
