#pragma once
// Where everything sits on the 800 x 600 picture: every place the game draws at or tests a
// pointer against, and every place the artwork generator draws for. Both read these numbers, so
// a moved button or panel is one edit here. Coordinates are picture pixels, x to the right and
// y down from the top-left corner; a place is a top-left corner unless its name says otherwise.
// Plain constants and no code: the rules, the game and the generator all include it.
#include "state/ScreenFlags.h" // the screens the buttons show on

#include <cstdint>

struct TPlace {
    int X = 0, Y = 0;
};
// A rectangle by its edges; whether an edge itself belongs to it is said where it is used.
struct TEdges {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
};

// --- Every screen --------------------------------------------------------------------------------
constexpr int kPictureWidth = 800;
constexpr int kPictureHeight = 600;
// Full-screen pictures come in four quadrants of 400 x 300, drawn left to right, top to bottom.
constexpr int kQuadrantWidth = 400;
constexpr int kQuadrantHeight = 300;
// The first words in the window, before the device draws: "Initializing...".
constexpr TPlace kStartText{370, 280};
// The small animated logo above the menu.
constexpr TPlace kSmallLogo{80, 40};
// The banner of the help, options and high-score screens, and its title: centred on x = 530 at
// y = 25, over a grey shadow two pixels right and down.
constexpr TPlace kScreenHead{400, 23};
constexpr TPlace kScreenTitle{530, 25};
constexpr int kTitleShadow = 2;

// --- The field -----------------------------------------------------------------------------------
// Cell (x, y) is the 52 x 52 square whose top-left corner is (298 + 52x, 26 + 52y).
constexpr int kFieldLeft = 298;
constexpr int kFieldTop = 26;
constexpr int kCellPitch = 52;
constexpr int kFieldCells = 9;                                     // columns and rows
constexpr int kFieldRight = kFieldLeft + kFieldCells * kCellPitch; // 766
constexpr int kFieldBottom = kFieldTop + kFieldCells * kCellPitch; // 494
// The field's frame: a well of 4 pixels round the cells, then a band of 8.
constexpr int kFieldWell = 4;
constexpr int kFieldFrameBand = 8;
constexpr int kFieldFrameBottom = kFieldBottom + kFieldWell + kFieldFrameBand; // 506

constexpr int CellLeft(int x) {
    return kFieldLeft + kCellPitch * x;
}
constexpr int CellTop(int y) {
    return kFieldTop + kCellPitch * y;
}
// The cell under a picture position: the division truncates toward zero, so the 51-pixel strips
// left of and above the field still give column 0 and row 0. Outside 0..8 off the field.
constexpr int ColumnAt(int pictureX) {
    return (pictureX - kFieldLeft) / kCellPitch;
}
constexpr int RowAt(int pictureY) {
    return (pictureY - kFieldTop) / kCellPitch;
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
constexpr int kLineTextLeft = kFieldLeft + kBallInset; // 303
constexpr int kLineTextTop = kFieldTop + kBallInset;   // 31
constexpr int kChainTextLeft = 220;
constexpr int kChainTextTop = kFieldTop + 25; // 51

// The preview tray: ball centres (540 + 52k, 552) for the k-th next ball.
constexpr int kPreviewCentreX = 540;
constexpr int kPreviewCentreY = 552;
constexpr int kPreviewSlots = 4;

// --- The playing screen --------------------------------------------------------------------------
constexpr TPlace kScore{142, 340};    // the score, centred on x
constexpr TPlace kModeName{530, 502}; // the mode's name under the field, centred on x
constexpr int kModeNameScale = 75;    // on its plaque, 136 wide: the name at most 124
constexpr int kModeNameWidth = 124;
constexpr TPlace kInvitation{532, 250}; // "new game" over an empty field, centred on x
// The final board of a game that ended: why it ended, centred over the field at y = 246, on a
// darker band from 12 pixels above the text to 36 below.
constexpr int kFinalBoardTextY = 246;
constexpr TEdges kFinalBoardBand{kFieldLeft, -12, kFieldRight, 36}; // top and bottom from the y
// The mode's best final score, small, centred on x in the score's box under the score, at most
// as wide as the box's inside.
constexpr TPlace kPersonalBest{kScore.X + 1, kScore.Y + 17};
constexpr int kPersonalBestScale = 60;
constexpr int kPersonalBestWidth = 136;

// --- The help screen -----------------------------------------------------------------------------
constexpr TPlace kHelpPage{303, 31};
constexpr int kHelpPageSize = 467; // square

// --- The cards -----------------------------------------------------------------------------------
// The Options and High Scores screens stand on a solid card over the field's cells (the empty
// grid would show through their rows otherwise); the screen's head is drawn over its top.
constexpr TPlace kCard{kFieldLeft, kFieldTop};
constexpr int kCardSize = kFieldCells * kCellPitch; // 468, square

// --- The options screen --------------------------------------------------------------------------
// One column on the card, top down: a row each for the music and the sound (its picture, the
// volume bar, the - and + buttons), the full-screen check box, the language row, the panel of
// the three switches, and Back at the foot.
constexpr TPlace kMusicRow{330, 90};
constexpr TPlace kSoundRow{330, 155};
// The volume bars start at x = 490, 12 pixels below their row's top. A press strictly inside
// the bar's width and strictly between its top and 18 pixels below sets the volume.
constexpr int kVolumeBarLeft = 490;
constexpr int kVolumeBarDrop = 12;
constexpr int kMusicBarTop = kMusicRow.Y + kVolumeBarDrop;
constexpr int kSoundBarTop = kSoundRow.Y + kVolumeBarDrop;
constexpr int kVolumeBarHitHeight = 18;
constexpr int kVolumeBarWidth = 194; // the bar picture's width, which a press is measured in
constexpr int kVolumeStepDrop = 10;  // the - and + buttons below their row's top
// The full-screen check box and the square that answers to a press: the box's picture from
// 1 pixel right and 2 down to 23 right and 23 down of its corner, edges excluded.
constexpr TPlace kFullScreenBox{410, 219};
constexpr TEdges kFullScreenHit{kFullScreenBox.X + 1, kFullScreenBox.Y + 2, kFullScreenBox.X + 23,
                                kFullScreenBox.Y + 23};
// The language row, the chosen language's name between its arrows (3 pixels below the row's
// top).
constexpr TPlace kLanguageRow{330, 262};
constexpr TPlace kLanguageName{553, kLanguageRow.Y + 8};
constexpr int kLanguageArrowDrop = 3;

// --- The high-score screen -----------------------------------------------------------------------
constexpr TPlace kTableTitle{345, 70}; // the mode's title picture
// Ten rows from y = 170, 25 apart: the rank ends at x = 350, the name starts at 360, the score
// ends at 700. The newest entry is marked from x = 326 to 708, from 2 pixels above its row to 21
// below.
constexpr int kTableRowTop = 170;
constexpr int kTableRowPitch = 25;
constexpr int kTableRankRight = 350;
constexpr int kTableNameLeft = 360;
constexpr int kTableScoreRight = 700;
constexpr TEdges kMarkedRow{326, -2, 708, 21}; // top and bottom relative to the row's y
// The statistics page: its title centred at (530, 170), eight rows from y = 205, 27 apart, the
// labels from x = 360, the figures ending at 700.
constexpr TPlace kStatisticsTitle{530, 170};
constexpr int kStatisticsRowTop = 205;
constexpr int kStatisticsRowPitch = 27;

// Replays on the high-score screen: a mark after each entry that has one (from x = 714, on the
// row's line), and under the rows a line that explains the marks, centred on x = 532 at y = 421.
// A replay watched shows its state where the mode's name goes and its keys over the field's last
// row, on a band from 6 pixels above y = 472 to 20 below. The
// statistics page gives the seed of the game dealt last on its line at y = 414 and, once today's
// daily game has a result, that result on the line at y = 430, above the buttons. These lines are
// set at scale 70 and fit kReplayTextRoom pixels (the generator checks every language).
constexpr int kReplayMarkLeft = 714;
constexpr TPlace kReplayLegend{532, 421};
constexpr TPlace kReplayKeys{532, 472};
constexpr TEdges kReplayKeysBand{kFieldLeft, -6, kFieldRight, 20}; // top and bottom from the y
constexpr TPlace kLastSeed{530, 414};
constexpr TPlace kDailyLine{530, 430};
constexpr int kReplayTextScale = 70;
constexpr int kReplayTextRoom = kCardSize - 24;

// --- Message boxes -------------------------------------------------------------------------------
constexpr TPlace kMessageBox{310, 130};
// Caption at y = 200, the text's rows from y = 230, both centred on the message's x: 530, or 550
// for the name entry and 600 for the low score, whose pictures stand left of the text.
constexpr int kMessageCaptionY = 200;
constexpr int kMessageTextY = 230;
constexpr int kMessageCentreX = 530;
constexpr int kNameEntryCentreX = 550;
constexpr int kLowScoreCentreX = 600;
constexpr TPlace kMessagePicture{360, 200};
constexpr int kPlayerNameY = 265; // the name being typed
constexpr int kFinalScoreY = 292; // the final score of a game that ended
// The name entry's final score and place, and the line that says what Yes and No do.
constexpr int kNameEntryScoreY = 285;
constexpr int kNameEntryChoiceY = 303;

// The summary of a game that ended, on the card under its game-end message: a solid strip from
// under the box's foot (which hides its top edge, and the table's last row) to the card's foot,
// with three rows 22 apart in two columns, each row a label from its column's left and the
// figure ending at its right, at the first of kSummaryScales at which every label fits.
constexpr TEdges kSummaryStrip{kCard.X, 396, kCard.X + kCardSize, kCard.Y + kCardSize};
constexpr int kSummaryRowTop = 422;
constexpr int kSummaryRowPitch = 22;
constexpr int kSummaryRows = 3;
constexpr int kSummaryColumns[] = {318, 546}; // the columns' left edges
constexpr int kSummaryColumnWidth = 202;
constexpr int kSummaryScales[] = {80, 75, 70, 65};
static_assert(kSummaryRowTop + kSummaryRows * kSummaryRowPitch <= kSummaryStrip.Bottom &&
                  kSummaryColumns[1] + kSummaryColumnWidth <= kSummaryStrip.Right,
              "the summary's rows on its strip");

// --- The logo and the loading screen -------------------------------------------------------------
constexpr TPlace kLogoWords{270, 120};   // both words' pictures
constexpr TPlace kLogoLetters{300, -30}; // the falling ball and its trail
constexpr TPlace kLogoFlare{340, 160};   // centre of the turning flare
constexpr TPlace kLogoShine{281, 233};   // the shine over the second word
constexpr TPlace kProgressBar{286, 330};
constexpr int kProgressBarWidth = 228;
// "Press any key" under the bar, centred on x, at the scale and in the width the generator checks.
constexpr TPlace kLogoPressKey{400, 380};
constexpr int kLogoPressKeyScale = 85;
constexpr int kLogoPressKeyWidth = 440;
// While the pictures load again: a thin bar of their share at the lower right corner.
constexpr TPlace kReloadMark{728, 590};
constexpr int kReloadMarkWidth = 64, kReloadMarkHeight = 4;

// --- The buttons ---------------------------------------------------------------------------------
// The buttons' numbers, in the order the game adds them.
constexpr int btnNewGame = 0;
constexpr int btnKids = 1; // then Normal and Professional
constexpr int btnOptions = 4;
constexpr int btnInstructions = 5;
constexpr int btnHighScores = 6;
constexpr int btnExit = 7;
constexpr int btnPreviousTable = 8;
constexpr int btnNextTable = 9;
constexpr int btnScoresBack = 10;
constexpr int btnClearTable = 11;
constexpr int btnHelpBack = 12;
constexpr int btnOptionsBack = 13;
constexpr int btnYes = 14;
constexpr int btnNo = 15;
constexpr int btnPrevPage = 16;
constexpr int btnNextPage = 17;
constexpr int btnMusicDown = 18;
constexpr int btnMusicUp = 19;
constexpr int btnSoundDown = 20;
constexpr int btnSoundUp = 21;
constexpr int btnUndo = 22;             // playing screen; hidden in Professional, which has no undo
constexpr int btnLanguagePrevious = 23; // the Options screen's language row
constexpr int btnLanguageNext = 24;
// The Options screen's second panel: reduced motion, the symbols on the balls, first-game tips.
constexpr int btnReducedMotion = 25;
constexpr int btnBallSymbols = 26;
constexpr int btnTips = 27;
constexpr int btnHint =
    28; // playing screen, under undo; hidden in Professional, which has no hints

// Every button by its number: its picture (the hit area is the picture's pattern rectangle at its
// place; pictures under graphics/buttons/), its place, and the screens it shows on (flags of the
// screen-state word; every screen for the menu down the left).
struct TButtonPlace {
    const char* Picture;
    int X, Y;
    uint32_t Screens;
};
constexpr uint32_t kEveryScreen = 0xFFFFFFFFu;
// clang-format off
constexpr TButtonPlace kButtonPlaces[] = {
    {"new game.tga",      80, 167, kEveryScreen},
    {"kids.tga",          87, 208, kEveryScreen},
    {"normal.tga",        87, 244, kEveryScreen},
    {"professional.tga",  87, 280, kEveryScreen},
    {"options.tga",       73, 383, kEveryScreen},
    {"instructions.tga",  73, 429, kEveryScreen},
    {"high scores.tga",   73, 475, kEveryScreen},
    {"exit.tga",          73, 521, kEveryScreen},
    {"high_mode_l.tga",  340, 130, scrHighScores},
    {"high_mode_r.tga",  690, 130, scrHighScores},
    {"back.tga",         385, 445, scrHighScores},
    {"clear.tga",        535, 445, scrHighScores},
    {"back.tga",         460, 445, scrHelp},
    {"back.tga",         460, 445, scrOptions},
    {"yes.tga",          410, 320, scrMessageBox},
    {"no.tga",           540, 320, scrMessageBox},
    {"prev.tga",         310, 455, scrHelp},
    {"next.tga",         650, 455, scrHelp},
    {"down.tga",         468, kMusicRow.Y + kVolumeStepDrop, scrOptions},
    {"up.tga",           688, kMusicRow.Y + kVolumeStepDrop, scrOptions},
    {"down.tga",         468, kSoundRow.Y + kVolumeStepDrop, scrOptions},
    {"up.tga",           688, kSoundRow.Y + kVolumeStepDrop, scrOptions},
    {"undo.tga",         242, 330, scrPlaying},
    {"high_mode_l.tga",  516, kLanguageRow.Y + kLanguageArrowDrop, scrOptions},
    {"high_mode_r.tga",  696, kLanguageRow.Y + kLanguageArrowDrop, scrOptions},
    {"switch_onoff.tga",   570, 330, scrOptions},
    {"switch_symbols.tga", 570, 358, scrOptions},
    {"switch_onoff.tga",   570, 386, scrOptions},
    {"hint.tga",           242, 376, scrPlaying},
};
// clang-format on
constexpr int kButtonCount = static_cast<int>(sizeof kButtonPlaces / sizeof kButtonPlaces[0]);
static_assert(kButtonCount == btnHint + 1, "a place for every button number");
constexpr const char* kButtonFolder = "graphics/buttons/";

// --- Accessibility and guidance ------------------------------------------------------------------
// The Options screen's panel of switches, on its card under the language row: three rows 28
// apart, each with its icon and label from the left and a two-way switch (buttons
// btnReducedMotion, btnBallSymbols, btnTips) ending 8 pixels before the panel's right edge. A
// switch's left half shows the first choice (off, faint), its right half the second (on, clear).
constexpr TPlace kAccessPanel{318, 322};
constexpr int kAccessPanelWidth = 428;
constexpr int kAccessPanelHeight = 96;
constexpr int kAccessRowTop = 330; // the first row's switch; its label is centred on the switch
constexpr int kAccessRowPitch = 28;
constexpr int kSwitchWidth = 168;
constexpr int kSwitchHeight = 26;
constexpr int kAccessLabelLeft = kAccessPanel.X + 46; // after the row's icon
static_assert(kAccessPanel.X >= kCard.X &&
                  kAccessPanel.X + kAccessPanelWidth <= kCard.X + kCardSize &&
                  kAccessPanel.Y + kAccessPanelHeight <= kButtonPlaces[btnOptionsBack].Y,
              "the panel on the card, above Back");
static_assert(kButtonPlaces[btnReducedMotion].Y == kAccessRowTop &&
                  kButtonPlaces[btnBallSymbols].Y == kAccessRowTop + kAccessRowPitch &&
                  kButtonPlaces[btnTips].Y == kAccessRowTop + 2 * kAccessRowPitch &&
                  kButtonPlaces[btnTips].X == kAccessPanel.X + kAccessPanelWidth - 8 - kSwitchWidth,
              "the switches on their rows");

// The first-game tips: a box below the field's frame, left of the preview tray, the text centred
// in it at scale 80 with 17 pixels a line; at most five lines.
constexpr TEdges kTipBox{240, kFieldFrameBottom + 2, 440, 598};
constexpr int kTipTextScale = 80;
constexpr int kTipLinePitch = 17;
constexpr int kTipMaxLines = 5;
constexpr int kTipPadding = 8; // text from the box's edges

// Message boxes: the room the text of each kind may take (centred on its x), and the scales the
// text may be set at, largest first: the menu labels' size, then down to the old size.
constexpr int kMessageRoomLeft = 322; // the box's inner edges
constexpr int kMessageRoomRight = 741;
constexpr int kNameEntryTextLeft = 424; // right of the wreath
constexpr int kLowScoreTextLeft = 504;  // right of the crying ball
constexpr int kMessageTextBottom = 316; // above the Yes and No buttons
constexpr int kMessageScales[] = {90, 85, 80, 75, 70};
constexpr int kMessageCaptionScale = 100;
// The caption's and the text's colours (0xAABBGGRR): a warm gold and a pale lavender, both far
// above 4.5 : 1 against the box.
constexpr uint32_t kMessageCaptionColour = 0xFF6ED3FF;
constexpr uint32_t kMessageTextColour = 0xFFFFEEF2;

// The score counts up in its box; a chain's callout rises from above the middle of its line.
constexpr int kCalloutRise = 18; // pixels over its life
// --- The portrait arrangement --------------------------------------------------------------------
// A page narrower than it is tall (a phone held upright) shows the picture in pieces, each at its
// own size, in an arranged picture as wide as the field's frame, so that a phone's width gives a
// cell 40 CSS pixels or more: on top the field's frame with whatever screen is open over it; under
// it NEXT with the mode's name where they lie in the picture, the score box on their left and undo
// and hint on their right; then the menu in two halves side by side, the tips' box under the
// second. Pieces never overlap.
struct TShownPiece {
    TEdges From; // picture pixels, right and bottom edges excluded
    TPlace To;   // its top-left corner in the arranged picture
};
constexpr TEdges kFieldFrame{kFieldLeft - kFieldWell - kFieldFrameBand,
                             kFieldTop - kFieldWell - kFieldFrameBand,
                             kFieldRight + kFieldWell + kFieldFrameBand, kFieldFrameBottom};
constexpr int kPortraitWidth = kFieldFrame.Right - kFieldFrame.Left; // 492
constexpr int kPortraitHeight = 904;
constexpr int kPortraitRow =
    kFieldFrame.Bottom - kFieldFrame.Top; // 492: where the second row starts
constexpr TShownPiece kPortraitField{kFieldFrame, {0, 0}};
// The pieces under the field keep their place relative to it where they continue it.
constexpr TShownPiece kPortraitPlaying[] = {
    kPortraitField,
    {{442, kFieldFrame.Bottom, 736, 600}, {442 - kFieldFrame.Left, kPortraitRow}}, // NEXT, mode
    {{66, 312, 220, 374}, {0, kPortraitRow + 16}},                                 // the score
    {{240, 328, 278, 412}, {452, kPortraitRow + 6}},                               // undo, hint
    {{50, 18, 236, 312}, {35, 600}},                                               // the menu's top
    {{50, 378, 236, 582}, {263, 596}},                                             // its bottom
    {{kTipBox.Left, kTipBox.Top, kTipBox.Right, 600}, {256, 806}},                 // the tips
};
// The colour between the pieces (0xRRGGBB): the backdrop's mean blue along their edges.
constexpr uint32_t kPortraitGaps = 0x16113C;
