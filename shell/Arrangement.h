#pragma once
// How the picture is shown on a page: whole, scaled to fit as in a desktop window, or arranged
// upright (layout/Layout.h's portrait pieces) on a page so narrow that the whole picture would
// make the field's cells small. A desktop window always shows it whole.
#include <cstdint>

class TRenderDevice;

enum class TArrangement : uint8_t { Whole, Portrait };

// The arrangement of the screen `word` on a page of `width` x `height` CSS pixels: upright where
// that shows a cell at least kUprightGain times larger than the whole picture does. The logo and
// the loading screen, drawn for the whole picture, stay whole.
TArrangement ArrangementFor(int32_t width, int32_t height, uint32_t word);
constexpr double kUprightGain = 1.2;

// The arrangement's pieces to the device.
void Arrange(TRenderDevice& device, TArrangement arrangement);
