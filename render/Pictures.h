#pragma once
// Every picture set of the game, one global each, filled by the start-up and loading steps from
// the catalogue. A set that is missing or failed to load draws nothing (the device refuses null
// or empty sets), so every user may draw through these pointers at any time.
#include <array>

class TPatternImage;

struct TPictures {
    // Start-up group.
    TPatternImage* Cursor = nullptr;
    TPatternImage* Background = nullptr; // background.jpg, four 400 x 300 quadrants
    TPatternImage* LoadingElement = nullptr;
    TPatternImage* Flare = nullptr;
    TPatternImage* StatusLine = nullptr;
    TPatternImage* LogoBall = nullptr;
    TPatternImage* LogoI = nullptr;
    TPatternImage* BlikOrra = nullptr;
    TPatternImage* Velm = nullptr;
    TPatternImage* Orra = nullptr;

    // In-game group.
    TPatternImage* NewGame = nullptr;
    TPatternImage* Kids = nullptr;
    TPatternImage* Normal = nullptr;
    TPatternImage* Professional = nullptr;
    TPatternImage* Options = nullptr;
    TPatternImage* Instructions = nullptr;
    TPatternImage* HighScoresButton = nullptr;
    TPatternImage* Exit = nullptr;
    TPatternImage* HeadText = nullptr; // element_headtext_gamezone
    TPatternImage* HighMode = nullptr; // table titles, pattern = mode
    TPatternImage* HighModeR = nullptr;
    TPatternImage* HighModeL = nullptr;
    TPatternImage* Back = nullptr;
    TPatternImage* Clear = nullptr;
    TPatternImage* Ingame = nullptr;         // in-game background, four quadrants
    TPatternImage* Field = nullptr;          // 0 plain cell, 1 path, 2 unreachable, 3 empty cell
    std::array<TPatternImage*, 22> Ball{};   // %d_0: at rest, hover, preview, pop, debris
    std::array<TPatternImage*, 22> Bounce{}; // %d_1: the selected ball
    TPatternImage* BombHovered = nullptr;    // bomb_1
    TPatternImage* BombSelected = nullptr;   // bomb_2
    // Sparkle sets 1..4 (%d_2 .. %d_5) and the paint splash (%d_6), per colour 1..7.
    std::array<std::array<TPatternImage*, 7>, 4> Sparkle{};
    std::array<TPatternImage*, 7> Paint{};
    TPatternImage* Inform = nullptr; // message box
    TPatternImage* Yes = nullptr;
    TPatternImage* No = nullptr;
    TPatternImage* Prev = nullptr;
    TPatternImage* Next = nullptr;
    TPatternImage* FullScreenBox = nullptr; // check box, pattern = flag
    TPatternImage* SoundOpt = nullptr;      // option labels
    TPatternImage* SoundOptG = nullptr;     // volume bar
    TPatternImage* Up = nullptr;
    TPatternImage* Down = nullptr;
    TPatternImage* Undo = nullptr;
    TPatternImage* Hint = nullptr;
    TPatternImage* Explosion = nullptr;
    std::array<TPatternImage*, 5> Help{};
    TPatternImage* LogoSmall = nullptr;
    TPatternImage* Cry = nullptr;
    TPatternImage* Lau = nullptr;

    // Options group.
    TPatternImage* LanguageRow = nullptr;   // the language row's panel and label
    TPatternImage* LanguageNames = nullptr; // 0 the system's language, then one per language
    TPatternImage* AccessPanel = nullptr;   // the switches' panel with their labels
    TPatternImage* SwitchOnOff = nullptr;   // two-way switches: patterns 0..2 left, 3..5 right
    TPatternImage* SwitchSymbols = nullptr;

    // Effects group.
    TPatternImage* Spark = nullptr;  // 0 a round spark, 1 a twinkle; white, drawn tinted
    TPatternImage* Ring = nullptr;   // a thin ring, white, drawn tinted and scaled
    TPatternImage* Glow = nullptr;   // a soft round glow, white, drawn added
    TPatternImage* TipBox = nullptr; // the first-game tips' box
    TPatternImage* Record = nullptr; // the new high score's banner
    TPatternImage* Card = nullptr;   // the solid card under Options and High Scores
};

extern TPictures Pictures;
