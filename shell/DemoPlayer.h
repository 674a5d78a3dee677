#pragma once
// TDemoPlayer: the game's own player on the field while nobody plays. When the field shows no game
// (or one dealt but not played) and nothing was touched for kAfter seconds, it plays at a
// watchable pace under a label until any input, which only ends it. It plays a game of its own:
// the player's field (its board, preview, undo and clocks) is moved aside and put back whole
// when it ends, the game state too; the demo's game has generators, tables and listeners of its
// own, counts no statistics, and none of its events reaches the first-game tips or the replay.
#include "game/FieldContext.h"
#include "game/Player.h"

#include <cstdint>
#include <memory>
#include <vector>

class IFieldEvents;
class TGameField;
class TGuidance;
class THintSearch;
class TPatternImage;
class TRenderDevice;
struct TStatistics;
struct TShellGame;

class TDemoPlayer {
public:
    static constexpr double kAfter = 30.0; // seconds

    // `guidance` (may be null) holds the first-game tips back while the demo plays; `listeners`
    // hear the demo's game (its sounds and effects), none of them the tips or anything kept.
    TDemoPlayer(TGameField& field, TGuidance* guidance, std::vector<IFieldEvents*> listeners = {});
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
    // `paused`: the window has lost the focus and the demo stands still, which the label says.
    void DrawLabel(TRenderDevice& device, TPatternImage* white, bool paused = false) const;

private:
    void Start();

    TGameField& field_;
    TGuidance* guidance_;
    std::vector<IFieldEvents*> listeners_;
    bool active_ = false;
    double idle_ = 0.0; // seconds without input while the field showed no game
    double beat_ = 0.0; // seconds until the next step of a move
    uint32_t returnWord_ = 0;
    uint64_t demos_ = 0;                     // demos begun, a part of each one's seed
    std::unique_ptr<TStandaloneGame> own_;   // the demo game's tables and generators
    std::unique_ptr<TGameField> savedField_; // the player's field, put back at the end
    std::unique_ptr<TShellGame> saved_;      // the game state from before
    TMove found_;                            // the player's move, waiting for the beat
    TMove next_;                             // the move whose ball is selected
    std::unique_ptr<THintSearch> search_;
};
