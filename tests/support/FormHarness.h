#pragma once
// Runs the real main form in-process: offscreen drawing, a fake clock, a recording audio double,
// the generated game data, and the player's files in a scratch folder.
#include "game/GameField.h"
#include "game/HighScores.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "render/PatternImage.h"
#include "shell/Form.h"
#include "shell/Language.h"
#include "shell/Log.h"
#include "state/GameState.h"
#include "state/ShellState.h"
#include "state/TablesState.h"
#include "tests/support/FakeClock.h"
#include "tests/support/RecordingAudio.h"
#include "ui/Buttons.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <unistd.h>
#include <vector>

class FormHarness : public ::testing::Test {
protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string("vo-form-") + info->test_suite_name() + "-" + info->name() +
                           "-" + std::to_string(getpid());
        std::replace(name.begin(), name.end(), '/', '_'); // parameterised tests
        dir_ = (std::filesystem::temp_directory_path() / name).string();
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        setenv("XDG_CONFIG_HOME", (dir_ + "/config").c_str(), 1);
        // The folders are fixed once a process: the registry file a test before left goes.
        std::filesystem::remove(TRegistry().File());
        paths::SetDataDir(VO_GAME_DATA_DIR);
        ResetShellState();
        HighScores = THighScoreTable{};
        logLines.clear();
        Log.Observer = [this](const std::string& line) { logLines.push_back(line); };
    }
    void TearDown() override {
        form.reset();
        language::SetCurrent("en");
        Log.Observer = nullptr;
        paths::SetDataDir("");
        std::filesystem::remove_all(dir_);
    }

    std::string ConfigFile() const { return dir_ + "/Config.bin"; }
    std::string LogFile() const { return dir_ + "/Log.txt"; }

    void MakeForm() {
        TFormOptions o;
        o.Offscreen = true;
        o.Clock = &clock;
        o.Audio = &audio;
        o.LogFile = LogFile();
        o.ConfigFile = ConfigFile();
        o.Density = density;
        form = std::make_unique<TForm1>(o);
    }
    // Creates the form and runs the logo and the loading step until the first screen.
    void Start() {
        MakeForm();
        ASSERT_TRUE(form->FormCreate());
        for (int i = 0; i < 400 && (Shell.Word == scrLogo || Shell.Word == scrLoading); ++i)
            form->FrameTimer1RealTime(1.0);
        ASSERT_NE(Shell.Word, scrLogo);
        ASSERT_NE(Shell.Word, scrLoading);
    }
    // Ends the form the way the program does: FormDestroy, then the components.
    void Stop() { form.reset(); }

    void Frames(int n, double delta = 0.5) {
        for (int i = 0; i < n; ++i) form->FrameTimer1RealTime(delta);
    }
    void Move(int x, int y) { form->FormMouseMove(0, x, y); }
    void Press(int x, int y, int button = 0) {
        Move(x, y);
        form->FormMouseDown(button, 0, x, y);
    }
    void Release(int x, int y, int button = 0) {
        Move(x, y);
        form->FormMouseUp(button, 0, x, y);
    }
    void ClickAt(int x, int y) {
        Press(x, y);
        Release(x, y);
    }
    // The middle of button `index`.
    void ClickButton(int index) {
        ASSERT_TRUE(Buttons);
        const TButton& b = Buttons->Items.at(static_cast<size_t>(index));
        ASSERT_TRUE(b.Image);
        ClickAt(b.X + b.Image->PatternWidth / 2, b.Y + b.Image->PatternHeight / 2);
    }
    static int CellX(int x) { return kFieldLeft + kCellPitch * x + 26; }
    static int CellY(int y) { return kFieldTop + kCellPitch * y + 26; }
    void Key(uint16_t vk, bool alt = false) {
        uint16_t k = vk;
        form->FormKeyDown(k, alt ? ssAlt : 0);
    }
    void Type(const std::string& text) {
        for (char c : text) form->FormKeyPress(c);
    }
    // Lets the field finish its turn (frames of half a unit).
    void SettleField() {
        for (int i = 0; i < 200 && GameField && GameField->TurnTimer != kTurnIdle; ++i) Frames(1);
    }

    TFakeClock clock;
    int density = 1; // of the next form
    TRecordingAudio audio;
    std::unique_ptr<TForm1> form;
    std::vector<std::string> logLines;

private:
    std::string dir_;
};
