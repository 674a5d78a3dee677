#pragma once
// The interface pictures: every button in its three states (normal, hovered, pressed), the screen
// head, the message box, the high-score titles, the option rows, the volume bar, the check box
// and the pointer.
#include "tools/artgen/Output.h"

namespace artgen {

void MakeWidgets(TPictureSet& set);
// Only the pictures with words in them, in the generator's current language (a part of
// MakeWidgets); labels that do not fit are noted in the set.
void MakeWordPictures(TPictureSet& set);

// The glass button used everywhere: state 0 normal, 1 hovered, 2 pressed or selected.
void DrawButtonFace(cairo_t* cr, double x, double y, double w, double h, int state);

} // namespace artgen
