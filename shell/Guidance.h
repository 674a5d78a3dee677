#pragma once
// First-game guidance: short tips at the moment they matter, each shown once. A first game
// begins with how to play; the first ball picked lights the cells it can reach; the first line
// tells how lines score; the first undo what undo allows; each kind of special ball, the first
// time it waits in the preview, what it does (its slot ringed). A tip sits in the tips' box
// below the field and never takes input: play goes on under it, and it goes when its moment has
// passed or after a while. Which tips were shown, and whether tips are on, are kept in the
// registry file ("Tips", "TipsSeen"); switching tips on again in Options shows them all again.
#include "game/FieldEvents.h"
#include "ui/VOStrings.h" // TTip

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class TGameField;
class TRenderDevice;
class TVOFont;

class TGuidance final : public IFieldEvents {
public:
    explicit TGuidance(const TGameField& field) : field_(field) {}

    // Reads the registry's values (tips on by default, none seen).
    void Load();
    // Tips on or off (Options); on again, every tip may show once more. Stored at once.
    void SetOn(bool on);

    // IFieldEvents
    void BallsSpawned(const std::vector<TFieldBall>& balls) override;
    void BallPicked(const TFieldBall& ball, bool selected, bool armed) override;
    void SelectionCancelled() override;
    void MoveStarted(const TFieldBall& ball, int toX, int toY, int length) override;
    void LineCleared(const TLineClear& clear) override;
    void MoveUndone() override;
    void GameEnded(const TGameEnd& end) override;
    void FieldCleared() override;

    // The tip's clock by the frame's delta; it runs only while the field is played.
    void Advance(double delta);
    // The tip over the playing screen (after the field, before the particles): its marks on
    // the field, the preview or the undo button, and its box with the text.
    void Draw(TRenderDevice& device, TVOFont* font, const std::array<std::string, tipCount>& texts);

    // Held while the game plays itself (the demo): no tip shows or ages, and none counts as seen.
    bool Held = false;

    // The tip on show, or tipCount for none.
    TTip Showing() const { return showing_; }
    bool Seen(TTip tip) const { return seen_[tip]; }
    // A tip is fading in or out: the frame is not at rest.
    bool Animating() const;

    // The registry's names and the form "start,select,..." of the seen tips.
    static constexpr const char* kRegistryOn = "Tips";
    static constexpr const char* kRegistrySeen = "TipsSeen";
    static std::string SeenValue(const std::array<bool, tipCount>& seen);
    static std::array<bool, tipCount> ParseSeen(const std::string& value);

private:
    // Shows `tip` unless tips are off or it was shown before; it replaces the tip on show.
    bool Show(TTip tip, double life);
    void Hide(TTip tip);
    void Save() const;
    // The special kind of a preview ball (tipTwoColour .. tipBomb), or tipCount for a plain one.
    static TTip SpecialTip(uint32_t picture);

    const TGameField& field_;
    bool on_ = true;
    std::array<bool, tipCount> seen_{};
    TTip showing_ = tipCount;
    double age_ = 0.0;     // units since it showed
    double life_ = 0.0;    // units it stays
    int previewSlot_ = -1; // the ringed preview slot of a special ball's tip
};
