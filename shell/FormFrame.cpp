// The frame handler: clocks, the logo and loading delegation, and the screens by the screen-state
// word, drawn in a fixed order over the common layer.
#include "shell/Form.h"

#include "fx/ParticleEngine.h"
#include "game/HighScores.h"
#include "game/vo_Field.h"
#include "render/PatternImage.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "state/Pictures.h"
#include "state/ShellState.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"
#include "ui/vo_Menus.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kGrey = 0xFF888888;
constexpr uint32_t kRed = 0xFF0000FF; // 0xAABBGGRR
constexpr uint32_t kYellow = 0xFF00FFFF;
constexpr uint32_t kCheckBoxTint = 0xFF00CC99;

int32_t RoundEven(double v) {
    return static_cast<int32_t>(std::nearbyint(v));
}

struct TMessageKind {
    uint32_t Flag;
    const std::string TVOStrings::*Caption;
    const std::vector<std::string> TVOStrings::*Text;
    uint16_t CentreX;
};

// The message kinds in the order the box draws them.
const TMessageKind kMessages[] = {
    {scrMsgExit, &TVOStrings::Exit_Caption, &TVOStrings::Exit_Text, 530},
    {scrMsgNew, &TVOStrings::New_Caption, &TVOStrings::New_Text, 530},
    {scrMsgOld, &TVOStrings::Old_Caption, &TVOStrings::Old_Text, 530},
    {scrMsgClear, &TVOStrings::Clear_Caption, &TVOStrings::Clear_Text, 530},
    {scrMsgEnterName, &TVOStrings::EnterName_Caption, &TVOStrings::EnterName_Text, 550},
    {scrMsgLowScore, &TVOStrings::LowScore_Caption, &TVOStrings::LowScore_Text, 600},
    {scrMsgResetStats, &TVOStrings::ResetStats_Caption, &TVOStrings::ResetStats_Text, 530},
};

constexpr uint32_t kMarkedRow = 0x5533CCFF;      // 0xAABBGGRR: a soft gold wash behind the new row
constexpr uint32_t kFinalBoardVeil = 0xA0100808; // a dark, slightly blue veil over a full board
constexpr uint32_t kShadow = 0xC0000000;
constexpr uint32_t kCaret = 0xFF40D8FF; // warm yellow, as the keyboard's marks: no text colour
constexpr uint32_t kChoice = 0xFFE0E0E0;
constexpr uint32_t kRank = 0xFFBBBBBB;

// "%s" in a text replaced by `value` (the first only); a text without it gets nothing added.
std::string Fill(const std::string& text, const std::string& value) {
    const size_t at = text.find("%s");
    return at == std::string::npos ? text : text.substr(0, at) + value + text.substr(at + 2);
}

} // namespace

void TForm1::DrawQuadrants(TPatternImage* image) {
    device_->DrawImage(image, 0, 0, 0, fxBlend);
    device_->DrawImage(image, 400, 0, 1, fxBlend);
    device_->DrawImage(image, 0, 300, 2, fxBlend);
    device_->DrawImage(image, 400, 300, 3, fxBlend);
}

void TForm1::DrawScreenHead(const std::string& title) {
    device_->DrawImage(Pictures.HeadText, 400, 23, 0, fxBlend);
    if (!Font) return;
    Font->DrawTextCentered(title, 532, 27, kGrey); // a shadow two pixels down and right
    Font->DrawTextCentered(title, 530, 25, kWhite);
}

bool TForm1::AtRest() const {
    if (paused_) return true; // nothing moves
    if (Shell.Word == scrLogo || Shell.Word == scrLoading || loadingFailed_ || reload_.Active)
        return false;
    if (field_ && HasFlag(Shell.Word, scrPlaying)) {
        const TGameField& f = *field_;
        if (f.Selected || f.Moving || f.TurnTimer != kTurnIdle) return false;
        const TGrid<double>& appear = f.AppearTimers;
        for (int x = 0; x < appear.Columns(); ++x)
            for (int y = 0; y < appear.Rows(); ++y)
                if (appear(x, y) > 0) return false;
    }
    if (ParticleEngine)
        for (const TParticle& p : ParticleEngine->Particles())
            if (p.Kind != pkAnimation) return false;
    return true;
}

void TForm1::FrameTimer1RealTime(double delta) {
    if (paused_) delta = 0.0;
    // 1. The caret blinks over 8 units: 0 -> 2, then back to a small value at or below 0.
    Shell.CaretClock += delta / 4;
    if (Shell.CaretClock >= 2) Shell.CaretClock = 2 - Shell.CaretClock;
    // 2. The small logo plays its 38 frames once, rests on the last until the clock passes 500.
    Shell.AnimClock += static_cast<float>(delta);
    if (Shell.AnimClock < 38) Shell.SmallLogoFrame = static_cast<int32_t>(Shell.AnimClock);
    if (Shell.AnimClock > 500) Shell.AnimClock = 0;

    // 3. The loading step draws and presents its own frames. After it failed the program is
    // ending: a frame that still comes neither loads again nor draws.
    if (loadingFailed_) return;
    if (Shell.Word == scrLoading) {
        LoadingStep();
        return;
    }
    if (Shell.Word != scrLogo) FollowWindowDensity();
    if (reload_.Active) {
        ReloadStep();
        return;
    }

    // The new row stays marked until the player leaves the high-score screen.
    if (!HasFlag(Shell.Word, scrHighScores)) Shell.MarkedRow = 255;
    CountPlayTime(delta);
    keys_->Frame();

    // 4.-5.
    if (ParticleEngine) ParticleEngine->Update(delta);
    device_->BeginFrame();

    // 6. The logo over the background.
    if (Shell.Word == scrLogo) {
        DrawQuadrants(Pictures.Background);
        LogoStep(delta);
    }

    // 7. The common layer: background, empty grid, buttons, small logo.
    if (Shell.Word != scrLogo && Shell.Word != scrLoading) {
        DrawQuadrants(Pictures.Ingame);
        for (int c = 0; c < 9; ++c)
            for (int r = 0; r < 9; ++r)
                device_->DrawImage(Pictures.Field, kFieldLeft + kCellPitch * c,
                                   kFieldTop + kCellPitch * r, 3, fxBlend);
        UpdateUndoButton(delta);
        if (Buttons) Buttons->DrawAll();
        device_->DrawImage(Pictures.LogoSmall, 80, 40, Shell.SmallLogoFrame, fxBlend);
    }

    // 8.-11. The screens (the flags never meet the whole values of the start sequence).
    if (HasFlag(Shell.Word, scrHelp)) {
        DrawScreenHead(Strings ? Strings->Help : std::string());
        device_->DrawImage(Pictures.Help[Shell.HelpPage % Pictures.Help.size()], 303, 31, 0,
                           fxBlend);
    }
    if (HasFlag(Shell.Word, scrOptions)) DrawOptions();
    if (HasFlag(Shell.Word, scrHighScores)) DrawHighScores();
    if (HasFlag(Shell.Word, scrPlaying)) DrawPlaying(delta);
    if (FieldShowsNoGame()) DrawInvitation();

    // 12. The message box.
    if (HasFlag(Shell.Word, scrMessageBox)) DrawMessageBox();

    // The keyboard's focus marks, over everything but the pointer.
    keys_->Draw(*device_);

    // 13. In full screen the game draws its own pointer, while the mouse is in use.
    if (device_->FullScreen() && !keys_->CursorShown() && keys_->Focused() < 0)
        device_->DrawImage(Pictures.Cursor, Shell.PointerX, Shell.PointerY, 0, fxBlend);

    // 14.
    device_->EndFrame();
    device_->PresentFrame();
}

void TForm1::DrawOptions() {
    DrawScreenHead(Strings ? Strings->Options : std::string());
    device_->DrawImage(Pictures.SoundOpt, 330, 160, 1, fxBlend); // music row
    device_->DrawImage(Pictures.SoundOpt, 330, 260, 0, fxBlend); // sound row
    // The bars are revealed left to right by clipping: volume percent of the bar's width.
    const int32_t w = Pictures.SoundOptG ? Pictures.SoundOptG->PatternWidth : 0;
    const auto bar = [&](int32_t volume, int32_t y) {
        device_->SetClipRect(TRect{0, 0, 490 + RoundEven(volume * (w / 100.0)), 600});
        // The green byte falls by twice the volume: yellow at 0, orange-red at 100.
        const uint32_t colour = 0xFF00FFFFu - static_cast<uint32_t>(volume) * 512u;
        device_->DrawImageCol(Pictures.SoundOptG, 490, y, colour, 1, fxBlend);
    };
    bar(Shell.MusicVolume, 172);
    bar(Shell.SoundVolume, 272);
    device_->SetClipRect(TRect{0, 0, 800, 600});
    device_->DrawImageCol(Pictures.FullScreenBox, 410, 360, kCheckBoxTint, Shell.FullScreen ? 1 : 0,
                          fxBlend);
    device_->DrawImage(Pictures.LanguageRow, 330, 396, 0, fxBlend);
    device_->DrawImage(Pictures.LanguageNames, 553, 404, languageChoice_, fxBlend);
    if (Buttons) Buttons->DrawAll(); // over the panel
}

void TForm1::DrawHighScores() {
    DrawScreenHead(Strings ? Strings->HighScores : std::string());
    const uint8_t page = Shell.HighScorePage % kHighScoreModes;
    // The title: the mode's table (patterns 0..2) or its statistics (3..5).
    device_->DrawImage(Pictures.HighMode, 345, 70, page + (Shell.StatisticsShown ? 3 : 0), fxBlend);
    if (Shell.StatisticsShown) {
        DrawStatistics(page);
        return;
    }
    if (Shell.MarkedRow < kHighScoreRows && Shell.MarkedMode == page && Pictures.Field) {
        // The field's path-highlight cell, stretched under the row and tinted.
        const auto y = 168 + 25 * Shell.MarkedRow;
        device_->DrawQuadCol(Pictures.Field, 326, y - 2, 708, y - 2, 708, y + 21, 326, y + 21,
                             kMarkedRow, 1, fxBlend);
    }
    if (!Font) return;
    for (int i = 0; i < kHighScoreRows; ++i) {
        const THighScoreEntry& e = HighScores.Blocks[page][static_cast<size_t>(i)];
        const auto y = static_cast<uint16_t>(170 + 25 * i);
        Font->DrawNumber(i + 1, 350, y, kRank);
        Font->DrawText(".", 350, y, kRank);
        Font->DrawText(e.NameText(), 360, y, kWhite);
        Font->DrawNumber(e.Points(), 700, y, kWhite);
    }
}

void TForm1::DrawInvitation() {
    if (!Font || !Strings) return;
    Font->DrawTextScaled(Strings->NewGameHint, 532, 250, 100, kWhite);
}

// The final score and, after a new high score, the place it took.
void TForm1::DrawGameEndLine(uint16_t centreX, uint16_t y) {
    if (!Font || !Strings) return;
    std::string line = Fill(Strings->FinalScore, std::to_string(Shell.FinalScore));
    if (HasFlag(Shell.Word, scrMsgEnterName) && Shell.NewEntryRow < Strings->Places.size())
        line += "  " + Fill(Strings->FinalPlace, Strings->Places[Shell.NewEntryRow]);
    Font->DrawTextScaled(line, centreX, y, 85, kWhite);
}

void TForm1::DrawPlaying(double delta) {
    if (field_) {
        field_->UpdateHover();
        field_->Render(delta);
    }
    if (Font) {
        Font->DrawTextCentered(std::to_string(Shell.Score), 142, 340, kRed);
        const std::string* names[3] = {nullptr, nullptr, nullptr};
        if (Strings) {
            names[0] = &Strings->Kids;
            names[1] = &Strings->Normal;
            names[2] = &Strings->Proff;
        }
        const std::string* mode = names[Shell.CurrentMode % 3];
        if (mode) Font->DrawTextScaled(*mode, 530, 502, 75, kWhite);
    }
    if (field_ && field_->GameOver && field_->FinalBoardTimer > 0) DrawFinalBoard();
    if (ParticleEngine) ParticleEngine->Draw(0);
}

// The board of a game that has just ended stands for a beat under a dark veil that says why,
// before it empties and the game-end message comes.
void TForm1::DrawFinalBoard() {
    TPatternImage* white = keys_->White(*device_);
    constexpr int32_t right = kFieldLeft + 9 * kCellPitch, bottom = kFieldTop + 9 * kCellPitch;
    const uint16_t centre = (kFieldLeft + right) / 2, y = 246;
    if (white) {
        device_->DrawQuadCol(white, kFieldLeft, kFieldTop, right, kFieldTop, right, bottom,
                             kFieldLeft, bottom, kFinalBoardVeil, 0, fxBlend | fxfDiffuseAlpha);
        // A darker band under the words, which a full board of balls would crowd.
        device_->DrawQuadCol(white, kFieldLeft, y - 12, right, y - 12, right, y + 36, kFieldLeft,
                             y + 36, kFinalBoardVeil, 0, fxBlend | fxfDiffuseAlpha);
    }
    if (!Font || !Strings) return;
    Font->DrawTextScaled(Strings->GameOverReason, centre + 2, y + 2, 110, kShadow);
    Font->DrawTextScaled(Strings->GameOverReason, centre, y, 110, kWhite);
}

// The typed name and, blinking, a caret after it: an upright bar taller than the letters and
// in the keyboard marks' colour, so that it never reads as an "I" or an "l".
void TForm1::DrawNameEntry() {
    if (!Font) return;
    constexpr uint16_t kScale = 85, kTop = 265;
    const int32_t caretX = Font->DrawTextCaret(Shell.PlayerName, 550, kTop, kScale, kWhite);
    if (Shell.CaretClock <= 1) return;
    TPatternImage* white = keys_->White(*device_);
    if (!white) return;
    const int32_t x = caretX + 2, top = kTop - 1, bottom = kTop + Font->ScaledHeight(kScale) + 1;
    device_->DrawQuadCol(white, x, top, x + 2, top, x + 2, bottom, x, bottom, kCaret, 0, fxBlend);
}

void TForm1::DrawMessageBox() {
    device_->DrawImage(Pictures.Inform, 310, 130, 0, fxBlend);
    for (const TMessageKind& m : kMessages) {
        if (!HasFlag(Shell.Word, m.Flag)) continue;
        if (m.Flag == scrMsgEnterName)
            device_->DrawImage(Pictures.Lau, 360, 200, static_cast<int>(Shell.AnimClock) % 2,
                               fxBlend);
        if (m.Flag == scrMsgLowScore)
            device_->DrawImage(Pictures.Cry, 360, 200, static_cast<int>(Shell.AnimClock) % 10,
                               fxBlend);
        if (Font && Strings) {
            // Leaving with a game in progress keeps it: the message says so.
            const bool keeps = m.Flag == scrMsgExit && GameInProgress();
            Font->DrawTextScaled(keeps ? Strings->ExitKeep_Caption : Strings->*m.Caption, m.CentreX,
                                 200, 70, kRed);
            Font->DrawTextBlock(keeps ? Strings->ExitKeep_Text : Strings->*m.Text, m.CentreX, 230,
                                70, kYellow);
        }
        if (m.Flag == scrMsgEnterName) {
            DrawNameEntry();
            DrawGameEndLine(550, 285);
            if (Font && Strings)
                Font->DrawTextScaled(Strings->EnterNameChoice, 550, 303, 70, kChoice);
        }
        if (m.Flag == scrMsgLowScore) DrawGameEndLine(600, 292);
    }
    if (Buttons) {
        Buttons->DrawButton(btnYes);
        Buttons->DrawButton(btnNo);
    }
}
