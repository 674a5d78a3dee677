#pragma once
// TDemoPlayer: the game's own player on the field while nobody plays. When the field shows no game
// (or one dealt but not played) and nothing was touched for kAfter seconds, it plays at a
// watchable pace under a label until any input, which only ends it. It keeps no score, statistics
// or saved game: the game state is put back and the field emptied when it ends.
#include "game/Player.h"

#include <cstdint>
#include <memory>

class TGameField;
class TGuidance;
class THintSearch;
class TPatternImage;
class TRenderDevice;
class TStatistics;
struct TShellGame;

class TDemoPlayer {
public:
    static constexpr double kAfter = 30.0; // seconds

    // `guidance` (may be null) holds the first-game tips back while the demo plays.
    TDemoPlayer(TGameField& field, TGuidance* guidance);
    ~TDemoPlayer();
    TDemoPlayer(const TDemoPlayer&) = delete;
    TDemoPlayer& operator=(const TDemoPlayer&) = delete;

    bool Active() const { return active_; }
    // Once a frame, with the frame's game time units (15 a second): counts the idle time while
    // `mayStart` (the field shows no game), starts the demo after kAfter seconds, and plays its
    // moves.
    void Step(double delta, bool mayStart);
    // Any input: the idle time starts again. True while a demo runs, which the input ends.
    bool NoteInput();
    // Ends a running demo: the game state, the screen and the field as they were. False when none
    // ran.
    bool Stop();
    // The label on its band across the field; `white` is a plain white texture (null: no band).
    void DrawLabel(TRenderDevice& device, TPatternImage* white) const;

private:
    void Start();

    TGameField& field_;
    TGuidance* guidance_;
    bool active_ = false;
    double idle_ = 0.0; // seconds without input while the field showed no game
    double beat_ = 0.0; // seconds until the next step of a move
    uint32_t returnWord_ = 0;
    bool hadBoard_ = false; // a dealt board, dealt afresh at the end
    TStatistics* stats_ = nullptr;
    std::unique_ptr<TShellGame> saved_; // the game state from before
    TMove found_;                       // the player's move, waiting for the beat
    TMove next_;                        // the move whose ball is selected
    std::unique_ptr<THintSearch> search_;
};
