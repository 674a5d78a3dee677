// The frame handler: clocks, the logo and loading delegation, and the screens by the screen-state
// word, drawn in a fixed order over the common layer.
#include "shell/Form.h"

#include "fx/ParticleEngine.h"
#include "fx/SoundBank.h"
#include "game/GameField.h"
#include "game/HighScores.h"
#include "game/ReplayPlayer.h"
#include "layout/Layout.h"
#include "platform/HostScreen.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/PictureLoader.h"
#include "state/FrameClocks.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"
#include "ui/Buttons.h"
#include "ui/TextFit.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"
#include "view/FieldPayoff.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kGrey = 0xFF888888;
constexpr uint32_t kRed = 0xFF0000FF; // 0xAABBGGRR
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
    {scrMsgExit, &TVOStrings::Exit_Caption, &TVOStrings::Exit_Text, kMessageCentreX},
    {scrMsgNew, &TVOStrings::New_Caption, &TVOStrings::New_Text, kMessageCentreX},
    {scrMsgOld, &TVOStrings::Old_Caption, &TVOStrings::Old_Text, kMessageCentreX},
    {scrMsgClear, &TVOStrings::Clear_Caption, &TVOStrings::Clear_Text, kMessageCentreX},
    {scrMsgEnterName, &TVOStrings::EnterName_Caption, &TVOStrings::EnterName_Text,
     kNameEntryCentreX},
    {scrMsgLowScore, &TVOStrings::LowScore_Caption, &TVOStrings::LowScore_Text, kLowScoreCentreX},
    {scrMsgResetStats, &TVOStrings::ResetStats_Caption, &TVOStrings::ResetStats_Text,
     kMessageCentreX},
};

constexpr uint32_t kMarkedRowTint = 0x5533CCFF; // 0xAABBGGRR: a soft gold wash behind the new row

// A screen change cross-fades over 2.25 units (150 ms).
constexpr double kCrossFade = 2.25;
// The score counts up: the rest shrinks by 18 % a unit, at least 15 points a unit, so that any
// gain is shown whole within about a second whatever the frame rate.
constexpr double kScoreCatchUp = 0.18; // share of the rest a unit
constexpr double kScoreMinRate = 15.0; // points a unit
constexpr double kScoreGlow = 12.0;    // units the box glows after a gain
// The new high score: its banner and its score for 2.6 s before the name is asked for.
constexpr double kCelebration = 39.0;
constexpr uint32_t kVeil = 0xE0100818; // 0xAABBGGRR: a dark veil under the banner
constexpr uint32_t kGold = 0x6ED3FF;   // 0xBBGGRR

// What a frame shows, for telling when the screen changes: the screen-state word, and whether
// the celebration holds back the name entry's message.
uint64_t ScreenOf(uint32_t word, bool celebrating) {
    return uint64_t{word} | (celebrating ? uint64_t{1} << 32 : 0);
}
constexpr uint32_t kFinalBoardVeil = 0xA0100808; // a dark, slightly blue veil over a full board
constexpr uint32_t kShadow = 0xC0000000;
constexpr uint32_t kCaret = 0xFF40D8FF;     // warm yellow, as the keyboard's marks: no text colour
constexpr uint32_t kSelection = 0xFFA0502E; // a deep blue band under selected text
constexpr uint32_t kChoice = 0xFFE0E0E0;
constexpr uint32_t kRank = 0xFFBBBBBB;

// "%s" in a text replaced by `value` (the first only); a text without it gets nothing added.
std::string Fill(const std::string& text, const std::string& value) {
    const size_t at = text.find("%s");
    return at == std::string::npos ? text : text.substr(0, at) + value + text.substr(at + 2);
}

} // namespace

void TForm1::DrawQuadrants(TPatternImage* image) {
    for (int q = 0; q < 4; ++q)
        device_->DrawImage(image, (q % 2) * kQuadrantWidth, (q / 2) * kQuadrantHeight, q, fxBlend);
}

void TForm1::DrawScreenHead(const std::string& title) {
    device_->DrawImage(Pictures.HeadText, kScreenHead.X, kScreenHead.Y, 0, fxBlend);
    if (!Font) return;
    Font->DrawTextCentered(title, kScreenTitle.X + kTitleShadow, kScreenTitle.Y + kTitleShadow,
                           kGrey);
    Font->DrawTextCentered(title, kScreenTitle.X, kScreenTitle.Y, kWhite);
}

bool TForm1::AtRest() const {
    if (paused_) return true; // nothing moves
    if (Shell.Word == scrLogo || Shell.Word == scrLoading || loadingFailed_ || Reloading())
        return false;
    if (HintPending() || DemoActive()) return false; // an answer or a demo move to come
    if (watch_ && !watch_->Paused) return false;
    if (fadeLeft_ > 0 || recordLeft_ > 0 || scoreGlow_ > 0 || ShownScore() != GameState.Score)
        return false;
    if ((payoff_ && payoff_->Shaking()) || (guidance_ && guidance_->Animating())) return false;
    if (Buttons)
        for (const TButton& b : Buttons->Items)
            if (b.PressLight > 0) return false;
    if (field_ && HasFlag(Shell.Word, scrPlaying)) {
        const TGameField& f = *field_;
        // A selected ball bounces a pattern a unit, as the ambient animation does.
        if (f.Moving || f.TurnTimer != kTurnIdle) return false;
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

void TForm1::FollowPage() {
    int32_t width = 0, height = 0;
    if (!app_ || !device_->Initialized() || !HostViewport(width, height)) return;
    // The page's own full screen (its button, F11) shows in the options' check box.
    Options.FullScreen = HostInFullScreen();
    const TArrangement wanted = ArrangementFor(width, height, Shell.Word);
    if (wanted == arrangement_) return;
    arrangement_ = wanted;
    Arrange(*device_, wanted);
}

void TForm1::AdvanceFrameClocks(double delta) {
    // The caret blinks over 8 units: 0 -> 2, then back to a small value at or below 0.
    Clocks.CaretClock += delta / 4;
    if (Clocks.CaretClock >= 2) Clocks.CaretClock = 2 - Clocks.CaretClock;
    // The small logo plays its 38 frames once, rests on the last until the clock passes 500
    // (with reduced motion it rests there).
    Clocks.AnimClock += static_cast<float>(delta);
    if (Clocks.AnimClock < 38) Clocks.SmallLogoFrame = static_cast<int32_t>(Clocks.AnimClock);
    if (Clocks.AnimClock > 500) Clocks.AnimClock = 0;
    if (Options.ReducedMotion) Clocks.SmallLogoFrame = 37;
}

void TForm1::FrameTimer1RealTime(double delta) {
    if (paused_) delta = 0.0;
    AdvanceFrameClocks(delta);

    // The loading step draws and presents its own frames. After it failed the program is
    // ending: a frame that still comes neither loads again nor draws.
    if (loadingFailed_) return;
    FollowPage();
    if (Shell.Word == scrLoading) {
        if (LoadingDataArrived()) LoadingStep();
        return;
    }
    if (Shell.Word != scrLogo) FollowWindowDensity();
    loader_->StartDeferredReload();
    if (loader_->SymbolsDeferred()) LoadBallSymbols();
    if (Reloading()) ReloadStep(); // the screens go on with the pictures on show

    // The new row stays marked until the player leaves the high-score screen.
    if (!HasFlag(Shell.Word, scrHighScores)) Tables.MarkedRow = 255;
    CountPlayTime(delta);
    DemoStep(delta);
    HintStep();
    WatchStep(delta);
    keys_->Frame();

    // The effects move on before anything is drawn.
    if (ParticleEngine) ParticleEngine->Update(delta);
    if (payoff_) payoff_->Advance(delta);
    if (Buttons) Buttons->Advance(delta);
    if (guidance_ && Shell.Word == scrPlaying) guidance_->Advance(delta);
    if (Shell.Word != scrLogo && Shell.Word != scrLoading) UpdateUndoButton(delta);
    // A changed screen fades in over the last frame, read before this one is begun.
    FollowScreen();
    device_->BeginFrame();

    // The logo over the background.
    if (Shell.Word == scrLogo) {
        DrawQuadrants(Pictures.Background);
        LogoStep(delta);
    }

    // The common layer under every screen: background, empty grid, buttons, small logo.
    if (Shell.Word != scrLogo && Shell.Word != scrLoading) {
        DrawQuadrants(Pictures.Ingame);
        // The field shakes with a big moment: its cells, balls and effects.
        if (payoff_ && HasFlag(Shell.Word, scrPlaying))
            device_->SetDrawOffset(payoff_->ShakeX(), payoff_->ShakeY());
        for (int c = 0; c < kFieldCells; ++c)
            for (int r = 0; r < kFieldCells; ++r)
                device_->DrawImage(Pictures.Field, CellLeft(c), CellTop(r), 3, fxBlend);
        device_->SetDrawOffset(0, 0);
        if (Buttons) Buttons->DrawAll();
        device_->DrawImage(Pictures.LogoSmall, kSmallLogo.X, kSmallLogo.Y, Clocks.SmallLogoFrame,
                           fxBlend);
    }

    // The screens in a fixed order (their flags never meet the whole values of the start
    // sequence).
    if (HasFlag(Shell.Word, scrHelp)) {
        DrawScreenHead(Strings ? Strings->Help : std::string());
        device_->DrawImage(Pictures.Help[Help.Page % Pictures.Help.size()], kHelpPage.X,
                           kHelpPage.Y, 0, fxBlend);
    }
    if (HasFlag(Shell.Word, scrOptions)) DrawOptions();
    if (HasFlag(Shell.Word, scrHighScores)) DrawHighScores();
    if (HasFlag(Shell.Word, scrPlaying)) PlayFrame(delta);
    if (FieldShowsNoGame()) DrawInvitation();
    DrawDemoLabel();

    // The message box over all of them; a new high score is celebrated before its message.
    if (recordLeft_ > 0) {
        AdvanceCelebration(delta);
        DrawCelebration();
    } else if (HasFlag(Shell.Word, scrMessageBox)) {
        DrawMessageBox();
    }

    // The screen before a change, fading out over the new one.
    AdvanceCrossFade(delta);
    DrawCrossFade();

    // The keyboard's focus marks, over everything but the pointer.
    keys_->Draw(*device_);
    DrawReloadMark();

    // In full screen the game draws its own pointer, while the mouse is in use.
    if (device_->FullScreen() && !keys_->CursorShown() && keys_->Focused() < 0)
        device_->DrawImage(Pictures.Cursor, Pointer.X, Pointer.Y, 0, fxBlend);

    device_->EndFrame();
    device_->PresentFrame();
}

void TForm1::DrawCard() {
    device_->DrawImage(Pictures.Card, kCard.X, kCard.Y, 0, fxBlend);
}

void TForm1::DrawOptions() {
    DrawCard();
    DrawScreenHead(Strings ? Strings->Options : std::string());
    device_->DrawImage(Pictures.SoundOpt, kMusicRow.X, kMusicRow.Y, 1, fxBlend);
    device_->DrawImage(Pictures.SoundOpt, kSoundRow.X, kSoundRow.Y, 0, fxBlend);
    // The bars are revealed left to right by clipping: volume percent of the bar's width.
    const int32_t w = Pictures.SoundOptG ? Pictures.SoundOptG->PatternWidth : 0;
    const auto bar = [&](int32_t volume, int32_t y) {
        device_->SetClipRect(
            TRect{0, 0, kVolumeBarLeft + RoundEven(volume * (w / 100.0)), kPictureHeight});
        // The green byte falls by twice the volume: yellow at 0, orange-red at 100.
        const uint32_t colour = 0xFF00FFFFu - static_cast<uint32_t>(volume) * 512u;
        device_->DrawImageCol(Pictures.SoundOptG, kVolumeBarLeft, y, colour, 1, fxBlend);
    };
    bar(Options.MusicVolume, kMusicBarTop);
    bar(Options.SoundVolume, kSoundBarTop);
    device_->SetClipRect(TRect{0, 0, kPictureWidth, kPictureHeight});
    device_->DrawImageCol(Pictures.FullScreenBox, kFullScreenBox.X, kFullScreenBox.Y, kCheckBoxTint,
                          Options.FullScreen ? 1 : 0, fxBlend);
    device_->DrawImage(Pictures.LanguageRow, kLanguageRow.X, kLanguageRow.Y, 0, fxBlend);
    device_->DrawImage(Pictures.LanguageNames, kLanguageName.X, kLanguageName.Y, languageChoice_,
                       fxBlend);
    device_->DrawImage(Pictures.AccessPanel, kAccessPanel.X, kAccessPanel.Y, 0, fxBlend);
    if (Buttons) Buttons->DrawAll(); // over the panels
}

void TForm1::DrawHighScores() {
    if (watch_) {
        DrawWatching();
        return;
    }
    DrawCard();
    DrawScreenHead(Strings ? Strings->HighScores : std::string());
    if (Buttons) Buttons->DrawAll(); // over the card
    const uint8_t page = Tables.HighScorePage % kHighScoreModes;
    // The title: the mode's table (patterns 0..2) or its statistics (3..5).
    device_->DrawImage(Pictures.HighMode, kTableTitle.X, kTableTitle.Y,
                       page + (Tables.StatisticsShown ? 3 : 0), fxBlend);
    if (Tables.StatisticsShown) {
        DrawStatistics(page);
        return;
    }
    if (Tables.MarkedRow < kHighScoreRows && Tables.MarkedMode == page && Pictures.Field) {
        // The field's path-highlight cell, stretched under the row and tinted.
        const int y = kTableRowTop + kTableRowPitch * Tables.MarkedRow;
        const int top = y + kMarkedRow.Top, bottom = y + kMarkedRow.Bottom;
        device_->DrawQuadCol(Pictures.Field, kMarkedRow.Left, top, kMarkedRow.Right, top,
                             kMarkedRow.Right, bottom, kMarkedRow.Left, bottom, kMarkedRowTint, 1,
                             fxBlend);
    }
    if (!Font) return;
    for (int i = 0; i < kHighScoreRows; ++i) {
        const THighScoreEntry& e = HighScores.Blocks[page][static_cast<size_t>(i)];
        const auto y = static_cast<uint16_t>(kTableRowTop + kTableRowPitch * i);
        Font->DrawNumber(i + 1, kTableRankRight, y, kRank);
        Font->DrawText(".", kTableRankRight, y, kRank);
        Font->DrawText(e.NameText(), kTableNameLeft, y, kWhite);
        Font->DrawNumber(e.Points(), kTableScoreRight, y, kWhite);
    }
    DrawReplayMarks(page);
}

void TForm1::DrawInvitation() {
    if (!Font || !Strings) return;
    Font->DrawTextScaled(Strings->NewGameHint, kInvitation.X, kInvitation.Y, 100, kWhite);
}

// The final score and, after a new high score, the place it took.
void TForm1::DrawGameEndLine(uint16_t centreX, uint16_t y) {
    if (!Font || !Strings) return;
    std::string line = Fill(Strings->FinalScore, std::to_string(GameState.FinalScore));
    if (HasFlag(Shell.Word, scrMsgEnterName) && Tables.NewEntryRow < Strings->Places.size())
        line += "  " + Fill(Strings->FinalPlace, Strings->Places[Tables.NewEntryRow]);
    Font->DrawTextScaled(line, centreX, y, 85, kWhite);
}

int32_t TForm1::ShownScore() const {
    return static_cast<int32_t>(std::min<double>(shownScore_, GameState.Score));
}

// The score box counts up to the score, glowing while it gains; a score that fell (a new game,
// an undo) and reduced motion show it at once.
void TForm1::AdvanceScore(double delta) {
    const double score = GameState.Score;
    if (shownScore_ > score || Options.ReducedMotion) shownScore_ = score;
    if (shownScore_ < score) {
        const double rest = score - shownScore_;
        const double step =
            std::max(rest * (1 - std::pow(1 - kScoreCatchUp, delta)), kScoreMinRate * delta);
        shownScore_ = std::min(score, shownScore_ + step);
        scoreGlow_ = Options.ReducedMotion ? 0.0 : kScoreGlow;
    } else {
        scoreGlow_ = std::max(0.0, scoreGlow_ - delta);
    }
}

void TForm1::DrawScore() {
    if (scoreGlow_ > 0) {
        const auto alpha = static_cast<uint32_t>(std::lround(150 * scoreGlow_ / kScoreGlow));
        device_->DrawRotatedCol(Pictures.Glow, kScore.X, kScore.Y + 9, 64, 560, kGold | alpha << 24,
                                0, fxAddAlpha | fxfDiffuseAlpha);
    }
    if (Font) Font->DrawTextCentered(std::to_string(ShownScore()), kScore.X, kScore.Y, kRed);
}

void TForm1::PlayFrame(double delta) {
    if (field_) {
        field_->UpdateHover(ColumnAt(Pointer.X), RowAt(Pointer.Y));
        if (payoff_) device_->SetDrawOffset(payoff_->ShakeX(), payoff_->ShakeY());
        field_->Render(delta);
        device_->SetDrawOffset(0, 0);
    }
    AdvanceScore(delta);
    DrawPlaying();
}

void TForm1::DrawPlaying() {
    if (guidance_ && Strings && !HasFlag(Shell.Word, scrMessageBox))
        guidance_->Draw(*device_, Font, Strings->TipsFor(inputKind_));
    DrawScore();
    DrawPersonalBest();
    if (Font) {
        const std::string* names[3] = {nullptr, nullptr, nullptr};
        if (Strings) {
            names[0] = &Strings->Kids;
            names[1] = &Strings->Normal;
            names[2] = &Strings->Proff;
        }
        const std::string* mode = names[GameState.CurrentMode % 3];
        if (mode) Font->DrawTextScaled(*mode, kModeName.X, kModeName.Y, kModeNameScale, kWhite);
    }
    if (field_ && field_->GameOver && field_->FinalBoardTimer > 0) DrawFinalBoard();
    if (payoff_) device_->SetDrawOffset(payoff_->ShakeX(), payoff_->ShakeY());
    if (ParticleEngine) ParticleEngine->Draw(0);
    device_->SetDrawOffset(0, 0);
}

// The board of a game that has just ended stands for a beat under a dark veil that says why,
// before it empties and the game-end message comes.
void TForm1::DrawFinalBoard() {
    TPatternImage* white = keys_->White(*device_);
    constexpr int32_t right = kFieldRight, bottom = kFieldBottom;
    const uint16_t centre = (kFieldLeft + right) / 2, y = kFinalBoardTextY;
    if (white) {
        device_->DrawQuadCol(white, kFieldLeft, kFieldTop, right, kFieldTop, right, bottom,
                             kFieldLeft, bottom, kFinalBoardVeil, 0, fxBlend | fxfDiffuseAlpha);
        // A darker band under the words, which a full board of balls would crowd.
        const int32_t top = y + kFinalBoardBand.Top, low = y + kFinalBoardBand.Bottom;
        device_->DrawQuadCol(white, kFieldLeft, top, right, top, right, low, kFieldLeft, low,
                             kFinalBoardVeil, 0, fxBlend | fxfDiffuseAlpha);
    }
    if (!Font || !Strings) return;
    Font->DrawTextScaled(Strings->GameOverReason, centre + 2, y + 2, 110, kShadow);
    Font->DrawTextScaled(Strings->GameOverReason, centre, y, 110, kWhite);
}

// The typed name and, blinking, a caret after it: an upright bar taller than the letters and
// in the keyboard marks' colour, so that it never reads as an "I" or an "l". The proposed name
// stands selected (on a band in the selection's colour, the caret still) until a key replaces it.
void TForm1::DrawNameEntry() {
    if (!Font) return;
    constexpr uint16_t kScale = 85, kTop = kPlayerNameY;
    TPatternImage* white = keys_->White(*device_);
    const int32_t top = kTop - 1, bottom = kTop + Font->ScaledHeight(kScale) + 1;
    const std::string& name = Tables.PlayerName;
    if (Tables.NameSelected && white && !name.empty()) {
        // Where DrawTextCaret puts the text: centred with the caret's room after it.
        const int32_t width = Font->TextWidth(name, kScale);
        const int32_t left = kNameEntryCentreX - (width + Font->TextWidth("I", kScale)) / 2 - 2;
        const int32_t right = left + width + 4;
        device_->DrawQuadCol(white, left, top, right, top, right, bottom, left, bottom, kSelection,
                             0, fxBlend);
    }
    const int32_t caretX = Font->DrawTextCaret(name, kNameEntryCentreX, kTop, kScale, kWhite);
    if ((Clocks.CaretClock <= 1 && !Tables.NameSelected) || !white) return;
    const int32_t x = caretX + 2;
    device_->DrawQuadCol(white, x, top, x + 2, top, x + 2, bottom, x, bottom, kCaret, 0, fxBlend);
}

void TForm1::DrawMessageBox() {
    // A game's summary stands under its game-end message, the box's foot over the strip's top.
    if (HasFlag(Shell.Word, scrMsgEnterName) || HasFlag(Shell.Word, scrMsgLowScore))
        DrawGameSummary();
    device_->DrawImage(Pictures.Inform, kMessageBox.X, kMessageBox.Y, 0, fxBlend);
    const bool still = Options.ReducedMotion;
    const auto width = [](const std::string& text, int scale) {
        return static_cast<int>(Font->TextWidth(text, static_cast<uint16_t>(scale)));
    };
    for (const TMessageKind& m : kMessages) {
        if (!HasFlag(Shell.Word, m.Flag)) continue;
        if (m.Flag == scrMsgEnterName)
            device_->DrawImage(Pictures.Lau, kMessagePicture.X, kMessagePicture.Y,
                               still ? 0 : static_cast<int>(Clocks.AnimClock) % 2, fxBlend);
        if (m.Flag == scrMsgLowScore)
            device_->DrawImage(Pictures.Cry, kMessagePicture.X, kMessagePicture.Y,
                               still ? 0 : static_cast<int>(Clocks.AnimClock) % 10, fxBlend);
        if (Font && Strings) {
            // The caption and the text as large as their room allows: the text at the menu
            // labels' size where it fits, down to the old size where it must.
            const textfit::TRoom room = textfit::MessageRoom(m.Flag);
            // Leaving with a game in progress keeps it: the message says so.
            const bool keeps = m.Flag == scrMsgExit && GameInProgress();
            const std::string& caption = keeps ? Strings->ExitKeep_Caption : Strings->*m.Caption;
            const std::vector<std::string>& text =
                keeps ? Strings->ExitKeep_Text : Strings->*m.Text;
            std::vector<int> captionScales = {kMessageCaptionScale};
            captionScales.insert(captionScales.end(), std::begin(kMessageScales),
                                 std::end(kMessageScales));
            const int captionScale =
                std::max(kMessageScales[std::size(kMessageScales) - 1],
                         textfit::FitScale({caption}, textfit::MessageRoom(0).Width, kPictureHeight,
                                           Font->GlyphHeight, captionScales, width));
            const int textScale =
                std::max(kMessageScales[std::size(kMessageScales) - 1],
                         textfit::FitScale(text, room.Width, room.Bottom - room.Top,
                                           Font->GlyphHeight, textfit::MessageScales(), width));
            // The caption's cell ends where the old one did, above the separator.
            const int captionTop =
                kMessageCaptionY + 15 - textfit::LinePitch(Font->GlyphHeight, captionScale);
            Font->DrawTextScaled(caption, m.CentreX, static_cast<uint16_t>(captionTop),
                                 static_cast<uint16_t>(captionScale), kMessageCaptionColour);
            Font->DrawTextLines(
                text, m.CentreX, static_cast<uint16_t>(room.Top), static_cast<uint16_t>(textScale),
                textfit::LinePitch(Font->GlyphHeight, textScale), kMessageTextColour);
        }
        if (m.Flag == scrMsgEnterName) {
            DrawNameEntry();
            DrawGameEndLine(kNameEntryCentreX, kNameEntryScoreY);
            if (Font && Strings)
                Font->DrawTextScaled(Strings->EnterNameChoice, kNameEntryCentreX, kNameEntryChoiceY,
                                     70, kChoice);
        }
        if (m.Flag == scrMsgLowScore) DrawGameEndLine(kLowScoreCentreX, kFinalScoreY);
    }
    if (Buttons) {
        Buttons->DrawButton(btnYes);
        Buttons->DrawButton(btnNo);
    }
}

// --- Screen changes --------------------------------------------------------------------------

void TForm1::FollowScreen() {
    const uint64_t screen = ScreenOf(Shell.Word, recordLeft_ > 0);
    const bool changed = shownScreen_ != 0 && screen != shownScreen_;
    shownScreen_ = screen;
    if (!changed || Options.ReducedMotion) return;
    if (!fadeFrom_) fadeFrom_ = std::make_unique<TPatternImage>();
    fadeLeft_ = device_->SnapshotFrame(*fadeFrom_) ? kCrossFade : 0.0;
}

void TForm1::AdvanceCrossFade(double delta) {
    if (fadeLeft_ <= 0 || !fadeFrom_) return;
    fadeLeft_ = std::max(0.0, fadeLeft_ - delta);
    if (fadeLeft_ > 0 && !fadeFrom_->ContentsLost() && !Options.ReducedMotion) return;
    fadeLeft_ = 0;
    fadeFrom_->FreeTextures(); // nothing held between changes
}

void TForm1::DrawCrossFade() {
    if (fadeLeft_ <= 0 || !fadeFrom_) return;
    const auto alpha = static_cast<uint32_t>(std::lround(255 * fadeLeft_ / kCrossFade));
    device_->DrawImageCol(fadeFrom_.get(), 0, 0, 0xFFFFFF | alpha << 24, 0,
                          fxBlend | fxfDiffuseAlpha);
}

// --- A new high score ------------------------------------------------------------------------

void TForm1::StartCelebration() {
    recordLeft_ = kCelebration;
    recordAge_ = 0.0;
    if (SoundBank) SoundBank->PlayRecord();
}

void TForm1::EndCelebration() {
    recordLeft_ = 0.0;
}

// Over the high-score table, under a dark veil: the banner pops up (with reduced motion it is
// simply there), the score counts up under it and twinkles burst from its stars; then the name
// entry's message follows.
void TForm1::AdvanceCelebration(double delta) {
    recordAge_ += delta;
    recordLeft_ = std::max(0.0, recordLeft_ - delta);
    // Twinkles out of the banner's stars every few units while it shows.
    if (Options.ReducedMotion || !ParticleEngine || !Pictures.Spark) return;
    const int cx = (kFieldLeft + kFieldRight) / 2, cy = kFieldTop + 170;
    const int before = static_cast<int>((recordAge_ - delta) / 3.0);
    const int now = static_cast<int>(recordAge_ / 3.0);
    for (int burst = before; burst < now && burst < 10; ++burst)
        for (int side = 0; side < 2; ++side)
            for (int i = 0; i < 5; ++i) {
                const double a = 2 * 3.14159265 * (i + 0.5 * (burst % 2)) / 5 - 1.57;
                const double speed = 3.0 + (burst * 7 + i * 3) % 4;
                ParticleEngine->AddSpark(
                    Pictures.Spark, 1, static_cast<float>(cx - 194 + 388 * side),
                    static_cast<float>(cy), static_cast<float>(std::cos(a) * speed),
                    static_cast<float>(std::sin(a) * speed), kGold, 14.0f);
            }
}

void TForm1::DrawCelebration() {
    const bool still = Options.ReducedMotion;
    if (TPatternImage* white = keys_->White(*device_))
        device_->DrawQuadCol(white, kFieldLeft, kFieldTop, kFieldRight, kFieldTop, kFieldRight,
                             kFieldBottom, kFieldLeft, kFieldBottom, kVeil, 0,
                             fxBlend | fxfDiffuseAlpha);
    const int cx = (kFieldLeft + kFieldRight) / 2, cy = kFieldTop + 170;
    const double t = std::min(1.0, recordAge_ / 4.0);
    const double pop = still ? 1.0 : (t < 1.0 ? 0.6 + 0.5 * t - 0.1 * t * t : 1.0);
    device_->DrawRotated(Pictures.Record, cx, cy, 64, static_cast<int32_t>(std::lround(256 * pop)),
                         0, fxBlend);
    if (Font) {
        const double shown = still ? 1.0 : std::min(1.0, recordAge_ / 15.0);
        const auto score =
            static_cast<int32_t>(std::lround(GameState.FinalScore * (1 - std::pow(1 - shown, 3))));
        Font->DrawTextScaled(std::to_string(score), static_cast<uint16_t>(cx + 2),
                             static_cast<uint16_t>(cy + 64 + 2), 200, 0xC0200A14);
        Font->DrawTextScaled(std::to_string(score), static_cast<uint16_t>(cx),
                             static_cast<uint16_t>(cy + 64), 200, kWhite);
    }
    if (ParticleEngine) ParticleEngine->Draw(0);
}
