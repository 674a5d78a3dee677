// The frame handler: clocks, the logo and loading delegation, and the screens by the screen-state
// word, drawn in a fixed order over the common layer.
#include "shell/Form.h"

#include "fx/ParticleEngine.h"
#include "game/GameField.h"
#include "game/HighScores.h"
#include "layout/Layout.h"
#include "render/PatternImage.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "state/FrameClocks.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/PointerState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"
#include "ui/Buttons.h"
#include "ui/VOFont.h"
#include "ui/VOStrings.h"

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
    {scrMsgExit, &TVOStrings::Exit_Caption, &TVOStrings::Exit_Text, kMessageCentreX},
    {scrMsgNew, &TVOStrings::New_Caption, &TVOStrings::New_Text, kMessageCentreX},
    {scrMsgOld, &TVOStrings::Old_Caption, &TVOStrings::Old_Text, kMessageCentreX},
    {scrMsgClear, &TVOStrings::Clear_Caption, &TVOStrings::Clear_Text, kMessageCentreX},
    {scrMsgEnterName, &TVOStrings::EnterName_Caption, &TVOStrings::EnterName_Text,
     kNameEntryCentreX},
    {scrMsgLowScore, &TVOStrings::LowScore_Caption, &TVOStrings::LowScore_Text, kLowScoreCentreX},
    {scrMsgFullScreen, &TVOStrings::FullScreen_Caption, &TVOStrings::FullScreen_Text,
     kMessageCentreX},
    {scrMsgResetStats, &TVOStrings::ResetStats_Caption, &TVOStrings::ResetStats_Text,
     kMessageCentreX},
};

constexpr uint32_t kMarkedRowTint = 0x5533CCFF; // 0xAABBGGRR: a soft gold wash behind the new row
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
    // The caret blinks over 8 units: 0 -> 2, then back to a small value at or below 0.
    Clocks.CaretClock += delta / 4;
    if (Clocks.CaretClock >= 2) Clocks.CaretClock = 2 - Clocks.CaretClock;
    // The small logo plays its 38 frames once, rests on the last until the clock passes 500.
    Clocks.AnimClock += static_cast<float>(delta);
    if (Clocks.AnimClock < 38) Clocks.SmallLogoFrame = static_cast<int32_t>(Clocks.AnimClock);
    if (Clocks.AnimClock > 500) Clocks.AnimClock = 0;

    // The loading step draws and presents its own frames. After it failed the program is
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
    if (!HasFlag(Shell.Word, scrHighScores)) Tables.MarkedRow = 255;
    CountPlayTime(delta);
    keys_->Frame();

    // The effects move on before anything is drawn.
    if (ParticleEngine) ParticleEngine->Update(delta);
    device_->BeginFrame();

    // The logo over the background.
    if (Shell.Word == scrLogo) {
        DrawQuadrants(Pictures.Background);
        LogoStep(delta);
    }

    // The common layer under every screen: background, empty grid, buttons, small logo.
    if (Shell.Word != scrLogo && Shell.Word != scrLoading) {
        DrawQuadrants(Pictures.Ingame);
        for (int c = 0; c < kFieldCells; ++c)
            for (int r = 0; r < kFieldCells; ++r)
                device_->DrawImage(Pictures.Field, CellLeft(c), CellTop(r), 3, fxBlend);
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
    if (HasFlag(Shell.Word, scrPlaying)) DrawPlaying(delta);
    if (FieldShowsNoGame()) DrawInvitation();

    // The message box over all of them.
    if (HasFlag(Shell.Word, scrMessageBox)) DrawMessageBox();

    // The keyboard's focus marks, over everything but the pointer.
    keys_->Draw(*device_);

    // In full screen the game draws its own pointer, while the mouse is in use.
    if (device_->FullScreen() && !keys_->CursorShown() && keys_->Focused() < 0)
        device_->DrawImage(Pictures.Cursor, Pointer.X, Pointer.Y, 0, fxBlend);

    device_->EndFrame();
    device_->PresentFrame();
}

void TForm1::DrawOptions() {
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
    if (Buttons) Buttons->DrawAll(); // over the panel
}

void TForm1::DrawHighScores() {
    DrawScreenHead(Strings ? Strings->HighScores : std::string());
    const uint8_t page = Tables.HighScorePage % kHighScoreModes;
    device_->DrawImage(Pictures.HighMode, kTableTitle.X, kTableTitle.Y, page, fxBlend);
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
        Font->DrawNumber(e.Score, kTableScoreRight, y, kWhite);
    }
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

void TForm1::DrawPlaying(double delta) {
    if (field_) {
        field_->UpdateHover(Pointer.X, Pointer.Y);
        field_->Render(delta);
    }
    if (Font) {
        Font->DrawTextCentered(std::to_string(GameState.Score), kScore.X, kScore.Y, kRed);
        const std::string* names[3] = {nullptr, nullptr, nullptr};
        if (Strings) {
            names[0] = &Strings->Kids;
            names[1] = &Strings->Normal;
            names[2] = &Strings->Proff;
        }
        const std::string* mode = names[GameState.CurrentMode % 3];
        if (mode) Font->DrawTextScaled(*mode, kModeName.X, kModeName.Y, 75, kWhite);
    }
    if (ParticleEngine) ParticleEngine->Draw(0);
}

void TForm1::DrawMessageBox() {
    device_->DrawImage(Pictures.Inform, kMessageBox.X, kMessageBox.Y, 0, fxBlend);
    for (const TMessageKind& m : kMessages) {
        if (!HasFlag(Shell.Word, m.Flag)) continue;
        if (m.Flag == scrMsgEnterName)
            device_->DrawImage(Pictures.Lau, kMessagePicture.X, kMessagePicture.Y,
                               static_cast<int>(Clocks.AnimClock) % 2, fxBlend);
        if (m.Flag == scrMsgLowScore)
            device_->DrawImage(Pictures.Cry, kMessagePicture.X, kMessagePicture.Y,
                               static_cast<int>(Clocks.AnimClock) % 10, fxBlend);
        if (Font && Strings) {
            Font->DrawTextScaled(Strings->*m.Caption, m.CentreX, kMessageCaptionY, 70, kRed);
            Font->DrawTextBlock(Strings->*m.Text, m.CentreX, kMessageTextY, 70, kYellow);
        }
        if (m.Flag == scrMsgEnterName && Font)
            Font->DrawTextCaret(Tables.PlayerName, kNameEntryCentreX, kPlayerNameY, 85, kWhite,
                                Clocks.CaretClock > 1);
        if (m.Flag == scrMsgEnterName) DrawGameEndLine(kNameEntryCentreX, kFinalScoreY);
        if (m.Flag == scrMsgLowScore) DrawGameEndLine(kLowScoreCentreX, kFinalScoreY);
    }
    if (Buttons) {
        Buttons->DrawButton(btnYes);
        Buttons->DrawButton(btnNo);
    }
}
