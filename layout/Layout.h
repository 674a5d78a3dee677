#pragma once
// Where everything sits on the 800 x 600 picture: every place the game draws at or tests a
// pointer against, and every place the artwork generator draws for. Both read these numbers, so
// a moved button or panel is one edit here. Coordinates are picture pixels, x to the right and
// y down from the top-left corner; a place is a top-left corner unless its name says otherwise.
// Plain constants and no code: the rules, the game and the generator all include it.

// --- The field --------------------------------------------------------------------------------
// Cell (x, y) is the 52 x 52 square whose top-left corner is (298 + 52x, 26 + 52y).
constexpr int kFieldLeft = 298;
constexpr int kFieldTop = 26;
constexpr int kCellPitch = 52;
constexpr int kFieldCells = 9; // columns and rows
constexpr int kFieldRight = kFieldLeft + kFieldCells * kCellPitch;  // 766
constexpr int kFieldBottom = kFieldTop + kFieldCells * kCellPitch; // 494

constexpr int CellLeft(int x) {
    return kFieldLeft + kCellPitch * x;
}
constexpr int CellTop(int y) {
    return kFieldTop + kCellPitch * y;
}
// The centre the field's effects start at: (323 + 52x, 51 + 52y).
constexpr int CellCentreX(int x) {
    return CellLeft(x) + 25;
}
constexpr int CellCentreY(int y) {
    return CellTop(y) + 25;
}
// The slightly lower centre of the pop and debris of a removed ball: (324 + 52x, 53 + 52y).
constexpr int CellBurstX(int x) {
    return CellLeft(x) + 26;
}
constexpr int CellBurstY(int y) {
    return CellTop(y) + 27;
}
// A ball picture is drawn centred at its inset corner plus half its pattern size:
// (303 + 52x + w/2, 31 + 52y + h/2), the cell centre for a 40 x 40 ball.
constexpr int kBallInset = 5;
// The bomb pictures are drawn by their corner: the selected bomb (with its flame) 15 pixels
// above the cell, the hovered one a pixel below its top.
constexpr int kSelectedBombRise = 15;
constexpr int kHoveredBombDrop = 1;
// The score of a line floats up from (303 + 52cx, 31 + 51cy) over the middle (cx, cy) of the
// removed balls, and its chain bonus from (220 + 52cx, 51 + 51cy): the texts step 51 pixels a
// row, not 52.
constexpr int kLineTextRowPitch = 51;
constexpr int kLineTextLeft = kFieldLeft + kBallInset;     // 303
constexpr int kLineTextTop = kFieldTop + kBallInset;       // 31
constexpr int kChainTextLeft = 220;
constexpr int kChainTextTop = kFieldTop + 25;              // 51

// The preview tray: ball centres (540 + 52k, 552) for the k-th next ball.
constexpr int kPreviewCentreX = 540;
constexpr int kPreviewCentreY = 552;
constexpr int kPreviewSlots = 4;
