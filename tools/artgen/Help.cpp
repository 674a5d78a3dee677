#include "tools/artgen/Help.h"

namespace artgen {

void MakeHelp(TPictureSet& set) {
    for (int page = 0; page < 5; ++page) set.AddWhole("graphics/help" + std::to_string(page) + ".tga", TCanvas(467, 467));
}

} // namespace artgen
