#pragma once
// The five help pages (kHelpPageSize square, drawn at kHelpPage): moves; lines, scoring and the
// chain bonus; the special balls; paint balls and bombs; the three modes. Each page leaves its top
// band clear for the screen head and its bottom band clear for the page and back buttons.
#include "tools/artgen/Output.h"

namespace artgen {

void MakeHelp(TPictureSet& set);

} // namespace artgen
