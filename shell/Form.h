#pragma once
// TForm1: the main form. It owns the frame timer and the render device, creates everything else
// during start-up and loading, runs the frame handler, and turns input into commands.
#include "platform/App.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class IAudio;
class IClock;
class TFrameTimer;
class TGameField;
class TPatternImage;
class TRegistry;
class TRenderDevice;
class TSoundBank;
class TVOFont;
class TVOParticleEngine;
class TVOStrings;
class TButtons;
struct TCatalogueEntry;

// How a form is built. The defaults are the real game; tests draw offscreen with a fake clock and
// a recording audio double.
struct TFormOptions {
    bool Offscreen = false;      // draw into memory instead of a window
    IClock* Clock = nullptr;     // null: the system clock
    IAudio* Audio = nullptr;     // null: the form opens the real audio output
    TApplication* App = nullptr; // null: the global Application (ignored offscreen)
    std::string LogFile = "Log.txt";
    std::string ConfigFile = "Config.bin";
};

// Logo and loading progress (the logo phases run 0 letters, 1 flare, 2 shine).
struct TLogoState {
    uint8_t Phase = 0;
    double LogoClock = 0.0; // -20 at start, capped at 32
    double FlareClock = 0.0;
    double ShineClock = 0.0;
    double LoadProgress = 0.0; // 195 is a full bar
};

class TForm1 final : public IFormEvents {
public:
    explicit TForm1(TFormOptions options = {});
    ~TForm1() override; // FormDestroy, then the components
    TForm1(const TForm1&) = delete;
    TForm1& operator=(const TForm1&) = delete;

    // The start sequence; false when the program cannot go on (no window).
    bool FormCreate();
    void FormDestroy();
    void RenderDevice1DeviceLost();
    // The frame handler: the frame timer's OnRealTime.
    void FrameTimer1RealTime(double delta);

    // IFormEvents
    void FormMouseMove(uint32_t shift, int32_t x, int32_t y) override;
    void FormMouseDown(int32_t button, uint32_t shift, int32_t x, int32_t y) override;
    void FormMouseUp(int32_t button, uint32_t shift, int32_t x, int32_t y) override;
    void FormKeyDown(uint16_t& key, uint32_t shift) override;
    void FormKeyPress(char& key) override;
    void FormCloseQuery(bool& canClose) override;
    void ApplicationActivate() override;
    void ApplicationDeactivate() override;

    // Commands of the buttons and the answers.
    void CmdNewGame();
    void CmdKids();
    void CmdNormal();
    void CmdProfessional();
    void RequestNewGame();
    void StartNewGame();
    void CmdOptions();
    void CmdInstructions();
    void CmdHighScores();
    void CmdExit();
    void CmdPreviousTable();
    void CmdNextTable();
    void CmdBack();
    void CmdClearTable();
    void CmdPreviousPage();
    void CmdNextPage();
    void CmdMusicDown();
    void CmdMusicUp();
    void CmdSoundDown();
    void CmdSoundUp();
    void CmdToggleFullScreen();
    void CmdPreviousLanguage();
    void CmdNextLanguage();
    void CmdYes();
    void CmdNo();

    // Settings file.
    void ReadSettings();
    bool WriteSettings();

    // Logo and loading.
    void LogoStep(double delta);
    void LoadingStep();

    TFrameTimer& FrameTimer() { return *frameTimer_; }
    TRenderDevice& Device() { return *device_; }
    TLogoState& Logo() { return logo_; }
    bool Terminated() const { return terminated_; }
    // True once the settings file has been read: only then is it written at the end.
    bool SettingsLoaded() const { return settingsLoaded_; }
    // The loading step stopped (a missing string table or font) and the program is ending.
    bool LoadingFailed() const { return loadingFailed_; }

private:
    void Terminate();
    void OpenMessage(uint32_t flag);
    void StorePlayerName();
    void MarkScreenButton(int index);
    void ShowScreen(uint32_t word, int button);
    void LogLoaded(const TCatalogueEntry& entry);
    void LoadPicture(const TCatalogueEntry& entry);
    void ProgressLoad(const TCatalogueEntry& entry);
    void DrawBackdrop();
    void DrawProgressBar(int32_t revealRight);
    int32_t ProgressBarRight() const;
    void DrawQuadrants(TPatternImage* image);
    void DrawScreenHead(const std::string& title);
    void DrawOptions();
    void DrawHighScores();
    void DrawPlaying(double delta);
    void DrawMessageBox();
    void AddButtons();
    bool InitialiseDevice();
    bool StartAudio();
    void FailLoading(const std::string& message);

    TFormOptions options_;
    TApplication* app_ = nullptr;
    std::unique_ptr<TFrameTimer> frameTimer_;
    std::unique_ptr<TRenderDevice> device_;
    std::unique_ptr<IAudio> ownedAudio_;
    IAudio* audio_ = nullptr;
    std::unique_ptr<TGameField> field_;
    std::unique_ptr<TVOParticleEngine> particles_;
    std::unique_ptr<TSoundBank> sounds_;
    std::unique_ptr<TButtons> buttons_;
    std::unique_ptr<TVOFont> font_;
    std::unique_ptr<TVOStrings> strings_;
    std::vector<std::unique_ptr<TPatternImage>> pictures_;
    TLogoState logo_;
    int32_t pressCellX_ = 0, pressCellY_ = 0;
    // The Options screen's language choice (language::ChoiceIndex), read when the buttons are
    // made; a change is stored at once and takes effect at the next start.
    int languageChoice_ = 0;
    void StepLanguage(int step);
    bool created_ = false;
    bool destroyed_ = false;
    bool terminated_ = false;
    bool settingsLoaded_ = false;
    bool loadingFailed_ = false;
};

extern TForm1* Form1;
