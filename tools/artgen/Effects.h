#pragma once
// The payoff's pictures (sparks, the ring of a big moment, the glow of a cleared ball), the box
// of the first-game tips and the banner of a new high score.
#include "tools/artgen/Output.h"

namespace artgen {

void MakeEffects(TPictureSet& set);
// The new high score's banner, with its words in the current language.
void MakeRecordBanner(TPictureSet& set);

} // namespace artgen
