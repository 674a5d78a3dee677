// The form by keyboard, pad and window: a whole game by keys, messages and the name entry by
// key, the focus ring, full screen, and SDL's own events through the App layer.
#include "tests/shell/FormFixture.h"

#include "fx/FrameTiming.h"
#include "fx/SoundBank.h"
#include "game/Random.h"
#include "platform/Files.h"
#include "platform/Registry.h"
#include "platform/Window.h"
#include "render/Pictures.h"
#include "render/RenderDevice.h"
#include "shell/FormKeys.h"
#include "shell/Guidance.h"
#include "shell/OptionsScreen.h"
#include "shell/Settings.h"
#include "ui/VOStrings.h"

#include "fx/ParticleEngine.h"
#include "state/GameEndScreens.h"
#include "state/GameState.h"
#include "state/HelpState.h"
#include "state/OptionsState.h"
#include "state/TablesState.h"
#include "ui/VOFont.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

#include <SDL.h>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#include <sanitizer/lsan_interface.h>
#define VO_LSAN_PAUSE 1
#endif
#endif

namespace {

// Leak checking is paused while it lives (only under LeakSanitizer).
struct TThirdPartyAllocations {
#ifdef VO_LSAN_PAUSE
    TThirdPartyAllocations() {
        __lsan_disable();
    }
    ~TThirdPartyAllocations() {
        __lsan_enable();
    }
#else
    TThirdPartyAllocations() = default;
#endif
    TThirdPartyAllocations(const TThirdPartyAllocations&) = delete;
    TThirdPartyAllocations& operator=(const TThirdPartyAllocations&) = delete;
};

// Events as SDL delivers them, for the App layer's own path from the window to the form.
void Send(SDL_Event e) {
    Application.Dispatch(&e);
}
void MouseButton(Uint32 type, int x, int y) {
    SDL_Event e{};
    e.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.x = x;
    e.button.y = y;
    Send(e);
}
void Click(int x, int y) {
    MouseButton(SDL_MOUSEBUTTONDOWN, x, y);
    MouseButton(SDL_MOUSEBUTTONUP, x, y);
}
void KeyEvent(SDL_Keycode key) {
    SDL_Event e{};
    e.type = SDL_KEYDOWN;
    e.key.keysym.sym = key;
    Send(e);
}
void PadButton(SDL_GameControllerButton button, bool down) {
    SDL_Event e{};
    e.type = down ? SDL_CONTROLLERBUTTONDOWN : SDL_CONTROLLERBUTTONUP;
    e.cbutton.button = static_cast<Uint8>(button);
    Send(e);
}
void PadAxis(SDL_GameControllerAxis axis, Sint16 value) {
    SDL_Event e{};
    e.type = SDL_CONTROLLERAXISMOTION;
    e.caxis.axis = static_cast<Uint8>(axis);
    e.caxis.value = value;
    Send(e);
}

} // namespace

TEST_F(Form, F11AndAltEnterSwitchFullScreenAtOnceAndTheCheckBoxFollows) {
    Start();
    Key(VK_RETURN, true);
    EXPECT_TRUE(Options.FullScreen);
    EXPECT_TRUE(form->Device().FullScreen());
    EXPECT_EQ(Shell.Word, scrPlaying); // no message, no restart
    EXPECT_EQ(TRegistry().ReadInteger("Fullscreen"), 1);
    Frames(2);
    EXPECT_FALSE(form->Device().ReadFrame().empty()); // drawing goes on after the switch

    // The check box shows the live state and switches it at once too.
    ClickButton(btnOptions);
    ClickAt(kFullScreenBox.X + 10, kFullScreenBox.Y + 10);
    EXPECT_FALSE(Options.FullScreen);
    EXPECT_FALSE(form->Device().FullScreen());
    EXPECT_EQ(Shell.Word, scrOptions);
    ClickAt(kFullScreenBox.X + 10, kFullScreenBox.Y + 10);
    EXPECT_TRUE(Options.FullScreen);

    Key(VK_F11);
    EXPECT_FALSE(Options.FullScreen);
    EXPECT_FALSE(form->Device().FullScreen());
    EXPECT_EQ(TRegistry().ReadInteger("Fullscreen"), 0);
    Frames(2);
    EXPECT_FALSE(form->Device().ReadFrame().empty());
}

TEST_F(Form, AWholeGameByKeyboard) {
    Start();
    SettleField();
    TGameField& f = *GameField;
    TFormKeys& k = form->Keys();
    EXPECT_FALSE(k.CursorShown());
    Key(VK_RIGHT); // the first arrow shows the cursor where it was, without moving it
    ASSERT_TRUE(k.CursorShown());
    EXPECT_EQ(k.CursorX(), 4);
    Keys({VK_HOME, VK_PRIOR, VK_LEFT, VK_UP}); // the corner, and no wrap past it
    EXPECT_EQ(k.CursorX(), 0);
    EXPECT_EQ(k.CursorY(), 0);
    Keys({VK_END, VK_NEXT, VK_RIGHT});
    EXPECT_EQ(k.CursorX(), 8);
    EXPECT_EQ(k.CursorY(), 8);

    // Pick and send, twice, with the turns played out between.
    for (int move = 0; move < 2; ++move) {
        int fx, fy, tx, ty;
        ASSERT_TRUE(FindMove(fx, fy, tx, ty));
        const TCell ball = f.Cell(fx, fy);
        CursorTo(fx, fy);
        Key(VK_SPACE);
        ASSERT_TRUE(f.Selected);
        EXPECT_EQ(f.SelX, fx);
        CursorTo(tx, ty);
        Frames(2); // the hover search shows the path
        EXPECT_NE(f.PathMarks(tx, ty), 0);
        Key(VK_RETURN);
        EXPECT_TRUE(f.Moving);
        SettleField();
        EXPECT_EQ(f.Cell(tx, ty), ball);
    }
    EXPECT_TRUE(GameState.GameTouched);

    // A walled-in target shows the blocked mark and Enter there drops the selection.
    f.Clear();
    f.Cell(0, 0) = BallKinds[1];
    f.Cell(7, 8) = BallKinds[2];
    f.Cell(8, 7) = BallKinds[3];
    CursorTo(0, 0);
    Key(VK_RETURN);
    ASSERT_TRUE(f.Selected);
    CursorTo(8, 8);
    Frames(2);
    EXPECT_EQ(f.PathMarks(8, 8), kBlockedMark);
    Key(VK_RETURN);
    EXPECT_FALSE(f.Selected);
    EXPECT_FALSE(f.Moving);
    EXPECT_EQ(f.Cell(0, 0), BallKinds[1]);

    // Escape drops a selection; the mouse hides the cursor, the next arrow brings it back.
    CursorTo(0, 0);
    Key(VK_SPACE);
    ASSERT_TRUE(f.Selected);
    Key(VK_ESCAPE);
    EXPECT_FALSE(f.Selected);
    Move(CellX(3), CellY(5));
    EXPECT_FALSE(k.CursorShown());
    Key(VK_DOWN);
    EXPECT_TRUE(k.CursorShown());
    EXPECT_EQ(k.CursorX(), 0); // where the keys left it, not under the idle pointer
    EXPECT_EQ(k.CursorY(), 0);

    // Ctrl+N asks first in a touched game; Escape answers No and the game goes on. The cursor
    // sits on a cell under the box's Yes button: the pointer it placed there must not light
    // Yes up as if the mouse hovered it (nor any button on another screen).
    Key('N');
    EXPECT_EQ(Shell.Word, scrPlaying); // N alone is no shortcut
    CursorTo(2, 6);
    Keys({'N'}, ssCtrl);
    EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgNew);
    std::vector<int32_t> lit;
    Buttons->OnDraw = [&](int32_t index, int32_t pattern) {
        if (pattern == 1) lit.push_back(index);
    };
    Frames(2);
    Key(VK_ESCAPE);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(f.Cell(0, 0), BallKinds[1]);
    Frames(1);
    EXPECT_EQ(k.CursorX(), 2); // back on the field the cursor's cell is hovered again
    EXPECT_EQ(f.HoverX, 2);
    EXPECT_EQ(f.HoverY, 6);
    Buttons->OnDraw = nullptr;
    EXPECT_TRUE(lit.empty());
}

TEST_F(Form, MessagesAnswerByKey) {
    Start();
    for (uint16_t no : {uint16_t(VK_ESCAPE), uint16_t('N')}) {
        Keys({'Q'}, ssCtrl); // quitting asks, as closing the window does
        ASSERT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgExit);
        Key(VK_F1); // the menu's shortcuts wait for the answer
        EXPECT_EQ(Shell.Word, scrPlaying + scrMessageBox + scrMsgExit);
        Key(no);
        EXPECT_EQ(Shell.Word, scrPlaying);
        EXPECT_FALSE(form->Terminated());
    }
    // The ring over Yes and No: Tab to No, Enter presses it rather than answering Yes.
    ClickButton(7); // Exit
    Keys({VK_TAB, VK_TAB});
    EXPECT_EQ(form->Keys().Focused(), btnNo);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrPlaying);
    ClickButton(7);
    Key('Y');
    EXPECT_TRUE(form->Terminated());
}

TEST_F(Form, NameEntryKeepsEnterBackspaceAndLetters) {
    Start();
    GameState.Score = 5000;
    ShowGameEnd({GameState.CurrentMode, GameState.Score, GameField->InsertHighScore()});
    ASSERT_TRUE(HasFlag(Shell.Word, scrMsgEnterName));
    Key(VK_BACK); // the whole proposed name, which stands selected
    EXPECT_EQ(Tables.PlayerName, "");
    for (char c : std::string("MYN")) {
        Keys({static_cast<uint16_t>(c)});
        Type(std::string(1, c));
    }
    EXPECT_TRUE(HasFlag(Shell.Word, scrMsgEnterName)); // Y and N are letters here, M no mute
    EXPECT_FALSE(SoundBank->Muted());
    Key(VK_BACK);
    EXPECT_EQ(Tables.PlayerName, "MY");
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrHighScores);
    EXPECT_EQ(HighScores.Blocks[1][Tables.NewEntryRow].NameText(), "MY");
    Key(VK_ESCAPE); // Back from the table
    EXPECT_EQ(Shell.Word, scrMenu);

    // With the ring over Yes, Enter presses Yes: the name is stored and a new game starts.
    GameState.Score = 5000;
    ShowGameEnd({GameState.CurrentMode, GameState.Score, GameField->InsertHighScore()});
    ASSERT_TRUE(HasFlag(Shell.Word, scrMsgEnterName));
    Key(VK_TAB);
    ASSERT_EQ(form->Keys().Focused(), btnYes);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrPlaying);
    EXPECT_EQ(HighScores.Blocks[1][Tables.NewEntryRow].NameText(), "MY"); // proposed again
}

TEST_F(Form, TheFocusRingWalksEachScreensButtons) {
    Start();
    TFormKeys& k = form->Keys();
    // Playing: the Undo and Hint buttons, then the whole menu top to bottom (the lit mode's
    // button too: every screen has a fixed count of stops).
    EXPECT_EQ(k.RingOrder(), (std::vector<int32_t>{btnUndo, btnHint, 0, 1, 2, 3, 4, 5, 6, 7}));
    Key(VK_TAB);
    EXPECT_EQ(k.Focused(), btnUndo);
    Keys({VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN});
    EXPECT_EQ(k.Focused(), btnOptions);
    Key(VK_RETURN);
    ASSERT_EQ(Shell.Word, scrOptions);
    // Options: the volume rows left to right, the language row, the three switches, Back, then
    // the menu.
    const std::vector<int32_t> options{18,
                                       19,
                                       20,
                                       21,
                                       btnLanguagePrevious,
                                       btnLanguageNext,
                                       btnReducedMotion,
                                       btnBallSymbols,
                                       btnTips,
                                       13,
                                       0,
                                       1,
                                       2,
                                       3,
                                       4,
                                       5,
                                       6,
                                       7};
    EXPECT_EQ(k.RingOrder(), options);
    EXPECT_EQ(k.Focused(), 18); // the new screen's first stop
    const int32_t music = Options.MusicVolume, sound = Options.SoundVolume;
    Key(VK_RIGHT);
    EXPECT_EQ(Options.MusicVolume, music + 10);
    Keys({VK_TAB, VK_TAB, VK_LEFT});
    EXPECT_EQ(Options.SoundVolume, sound - 10);
    Keys({VK_TAB}, ssShift);
    EXPECT_EQ(k.Focused(), 19);
    // M mutes and unmutes; the volumes stay.
    Key('M');
    EXPECT_TRUE(SoundBank->Muted());
    EXPECT_EQ(Options.MusicVolume, music + 10);
    Key('M');
    EXPECT_FALSE(SoundBank->Muted());
    // Space presses the focused button, as everywhere (not the full-screen box).
    Key(VK_SPACE);
    EXPECT_EQ(Options.MusicVolume, music + 20);
    EXPECT_FALSE(Options.FullScreen);
    EXPECT_EQ(Shell.Word, scrOptions);
    // On a switch Right and Left pick its sides; the volumes stay.
    while (k.Focused() != btnReducedMotion) Key(VK_TAB);
    Keys({VK_RIGHT, VK_RIGHT});
    EXPECT_TRUE(Options.ReducedMotion);
    Key(VK_LEFT);
    EXPECT_FALSE(Options.ReducedMotion);
    EXPECT_EQ(Options.MusicVolume, music + 20);
    // A lit button takes Enter and does nothing; the ring stays on it.
    while (k.Focused() != btnOptions) Key(VK_TAB);
    Key(VK_RETURN);
    EXPECT_EQ(Shell.Word, scrOptions);
    EXPECT_EQ(k.Focused(), btnOptions);
    Key(VK_ESCAPE);
    EXPECT_EQ(Shell.Word, scrPlaying);

    // Help: Prev is hidden on the first page; Left and Right turn pages.
    Key(VK_F1);
    ASSERT_EQ(Shell.Word, scrHelp);
    EXPECT_EQ(k.RingOrder().front(), 12); // the help screen's Back, before Next on its row
    Key(VK_RIGHT);
    EXPECT_EQ(Help.Page, 1);
    EXPECT_EQ(k.RingOrder(),
              (std::vector<int32_t>{btnPrevPage, 12, btnNextPage, 0, 1, 2, 3, 4, 5, 6, 7}));
    Key(VK_LEFT);
    EXPECT_EQ(Help.Page, 0);
    Key(VK_ESCAPE);
    EXPECT_EQ(Shell.Word, scrPlaying);

    // The mouse hides the ring; a press of the pad's Back (Options) and Start (New Game).
    Move(10, 10);
    EXPECT_EQ(k.Focused(), -1);
    Key(VK_GAMEPAD_VIEW);
    EXPECT_EQ(Shell.Word, scrOptions);
    Key(VK_GAMEPAD_MENU);
    EXPECT_EQ(Shell.Word, scrPlaying); // an untouched game starts anew at once
}

// The real window path on SDL's offscreen video driver: a resized window letterboxes the
// picture, F11 goes full screen and back with the pointer mapped exactly, and a pad's events
// play like keys.
TEST_F(Form, AWindowOfAnySizeFullScreenAndAPad) {
    // The offscreen video driver loads the system's GL libraries, which keep allocations of
    // their own for the life of the process: not ours to report.
    [[maybe_unused]] const TThirdPartyAllocations driverAllocations;
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    std::string error;
    ASSERT_TRUE(Application.Initialize(&error)) << error;
    TFormOptions o;
    o.Clock = &clock;
    o.Audio = &audio;
    o.LogFile = LogFile();
    o.ConfigFile = ConfigFile();
    form = std::make_unique<TForm1>(o);
    ASSERT_TRUE(form->FormCreate());
    for (int i = 0; i < 400 && (Shell.Word == scrLogo || Shell.Word == scrLoading); ++i)
        form->FrameTimer1RealTime(1.0);
    ASSERT_EQ(Shell.Word, scrPlaying);
    SettleField();
    TGameField& f = *GameField;
    f.Clear();
    f.Cell(0, 0) = BallKinds[1];
    SDL_Window* window = SdlWindowOf(Application.MainWindow());
    ASSERT_TRUE(window);
    ASSERT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_RESIZABLE);

    // A tall window: bars above and below. A click in the top bar, straight above the ball,
    // lands nowhere; the same column inside the picture picks the ball.
    SDL_SetWindowSize(window, 800, 1000);
    Frames(1);
    const TRect tall = form->Device().PictureRectInWindow();
    EXPECT_EQ(tall.Top, 200);
    EXPECT_EQ(tall.Bottom, 800);
    Click(CellX(0), 190);
    EXPECT_FALSE(f.Selected);
    Click(CellX(0), 200 + CellY(0));
    EXPECT_TRUE(f.Selected);
    Click(CellX(0), 200 + CellY(0));
    ASSERT_FALSE(f.Selected);

    // F11: the display's size, the pointer scaled to it; F11 again: the tall window is back.
    KeyEvent(SDLK_F11);
    EXPECT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    int ww = 0, wh = 0;
    SDL_GetWindowSize(window, &ww, &wh);
    const TRect full = form->Device().PictureRectInWindow();
    EXPECT_EQ((full.Right - full.Left) * 600, (full.Bottom - full.Top) * 800);
    EXPECT_TRUE(full.Left == 0 || full.Top == 0);
    const double scale = (full.Right - full.Left) / 800.0;
    Frames(1);
    Click(full.Left + static_cast<int>(CellX(0) * scale),
          full.Top + static_cast<int>(CellY(0) * scale));
    EXPECT_TRUE(f.Selected);
    KeyEvent(SDLK_ESCAPE);
    EXPECT_FALSE(f.Selected);
    KeyEvent(SDLK_F11);
    EXPECT_FALSE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    SDL_GetWindowSize(window, &ww, &wh);
    EXPECT_EQ(ww, 800);
    EXPECT_EQ(wh, 1000);
    EXPECT_FALSE(Options.FullScreen);
    Frames(1);

    // The pad: the D-pad and the stick move the cursor, A picks, B drops; a pad that was never
    // opened going away changes nothing.
    SDL_Event removed{};
    removed.type = SDL_CONTROLLERDEVICEREMOVED;
    removed.cdevice.which = 99;
    Send(removed);
    TFormKeys& k = form->Keys();
    PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, true); // shows the cursor
    PadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT, false);
    ASSERT_TRUE(k.CursorShown());
    for (int i = 0; i < 9; ++i) {
        PadAxis(SDL_CONTROLLER_AXIS_LEFTX, -30000);
        PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 12000); // still pushed: no second move
        PadAxis(SDL_CONTROLLER_AXIS_LEFTX, 0);
        PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
        PadButton(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
    }
    EXPECT_EQ(k.CursorX(), 0);
    EXPECT_EQ(k.CursorY(), 0);
    PadButton(SDL_CONTROLLER_BUTTON_A, true);
    EXPECT_TRUE(f.Selected);
    PadButton(SDL_CONTROLLER_BUTTON_B, true);
    EXPECT_FALSE(f.Selected);
    // A window that changes size reports moves under a still pointer: no use of the mouse,
    // the keys keep their cursor.
    SDL_Event resized{};
    resized.type = SDL_WINDOWEVENT;
    resized.window.event = SDL_WINDOWEVENT_SIZE_CHANGED;
    Send(resized);
    SDL_Event moved{};
    moved.type = SDL_MOUSEMOTION;
    moved.motion.x = 370;
    moved.motion.y = 500;
    Send(moved);
    EXPECT_TRUE(k.CursorShown());
    PadButton(SDL_CONTROLLER_BUTTON_BACK, true);
    EXPECT_EQ(Shell.Word, scrOptions);
    EXPECT_EQ(Shell.BackState, scrPlaying);

    // A start in full screen: F11 brings the window back at its kept size (not at 800 x 600),
    // and that size stays kept.
    form.reset();
    ASSERT_TRUE(TRegistry().WriteInteger("WindowWidth", 640));
    ASSERT_TRUE(TRegistry().WriteInteger("WindowHeight", 480));
    ResetShellState();
    Options.FullScreen = true;
    form = std::make_unique<TForm1>(o);
    ASSERT_TRUE(form->FormCreate());
    for (int i = 0; i < 400 && (Shell.Word == scrLogo || Shell.Word == scrLoading); ++i)
        form->FrameTimer1RealTime(1.0);
    window = SdlWindowOf(Application.MainWindow());
    ASSERT_TRUE(SDL_GetWindowFlags(window) & SDL_WINDOW_FULLSCREEN_DESKTOP);
    KeyEvent(SDLK_F11);
    EXPECT_FALSE(Options.FullScreen);
    SDL_GetWindowSize(window, &ww, &wh);
    EXPECT_EQ(ww, 640);
    EXPECT_EQ(wh, 480);
    Application.ProcessMessages(); // the size change reaches the window's record
    form.reset();
    EXPECT_EQ(TRegistry().ReadInteger("WindowWidth"), 640);
    EXPECT_EQ(TRegistry().ReadInteger("WindowHeight"), 480);
    unsetenv("SDL_VIDEODRIVER");

    // A held direction repeats like a key: first after the delay, then at the interval, also
    // across the wrap of the millisecond counter.
    TPadRepeat r;
    const uint32_t t = 0xFFFFFF00u;
    EXPECT_EQ(r.Press(TPadButton::Right, t), VK_RIGHT);
    EXPECT_EQ(r.Due(t + TPadRepeat::kFirstDelay - 1), 0);
    EXPECT_EQ(r.Due(t + TPadRepeat::kFirstDelay), VK_RIGHT);
    EXPECT_EQ(r.Due(t + TPadRepeat::kFirstDelay + TPadRepeat::kInterval - 1), 0);
    EXPECT_EQ(r.Due(t + TPadRepeat::kFirstDelay + TPadRepeat::kInterval), VK_RIGHT);
    r.Release(TPadButton::Left);
    EXPECT_TRUE(r.Held());
    r.Release(TPadButton::Right);
    EXPECT_EQ(r.Due(t + 5000), 0);
}
