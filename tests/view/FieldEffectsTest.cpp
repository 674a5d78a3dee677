// The field with its sound and effect listeners, the real sound bank (over a recording audio
// double) and the real particle engine: sounds, floating texts and effects of moves, lines,
// paint balls and bombs.
#include "tests/support/FieldTestSupport.h"

#include "fx/ParticleEngine.h"
#include "fx/SoundBank.h"
#include "layout/Layout.h"
#include "platform/Audio.h"
#include "render/Pictures.h"
#include "state/GameState.h"
#include "state/OptionsState.h"
#include "tests/support/RecordingAudio.h"
#include "view/FieldEffects.h"
#include "view/FieldPayoff.h"
#include "view/FieldSounds.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

class FieldEffects : public FieldTest {
protected:
    void SetUp() override {
        FieldTest::SetUp();
        // One folder per test and process: CTest runs the tests of this suite side by side.
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir = (std::filesystem::temp_directory_path() /
               ("vo-field-effects-" + std::string(info->name()) + "-" + std::to_string(getpid())))
                  .string();
        std::filesystem::create_directories(dir);
        std::ofstream list(dir + "/sounds.txt");
        for (const char* name :
             {"s_app", "s_disapp", "s_disapp2", "s_disapp3", "s_ballmove", "s_pin", "s_click",
              "s_hover", "s_press", "s_paint", "s_chain2", "s_chain3", "s_chain4", "s_chain5",
              "s_chain6", "s_big", "s_record", "s_multi"})
            list << name << "\t./sounds/" << name << ".ogg\t1.0\n";
        for (int n = 1; n <= 23; ++n)
            for (char t : {'a', 'b', 'c', 'd', 'h', 'f', 'r', 'o'})
                if (n <= 22 || (t != 'r' && t != 'o'))
                    list << '_' << t << n << "\t./sounds/_" << t << n << ".ogg\t1.0\n";
        list.close();
        std::string error;
        ASSERT_TRUE(bank.Load(dir + "/sounds.txt", dir, &error)) << error;
        SoundBank = &bank;
        ParticleEngine = &particles;
        field.AddListener(&sounds);
        field.AddListener(&effects);
        audio.ClearRecords();
    }
    void Step(double delta) override { field.Render(delta); }
    void TearDown() override {
        SoundBank = nullptr;
        ParticleEngine = nullptr;
        std::filesystem::remove_all(dir);
        FieldTest::TearDown();
    }
    int Plays(uint32_t handle) const { return audio.PlaysOf(handle); }
    int Plays(TSample s) const { return audio.PlaysOf(bank.Named(s)); }
    std::vector<std::string> Texts() const {
        std::vector<std::string> t;
        for (const TParticle& p : particles.Particles())
            if (p.Kind == pkText && p.Colour == 0xFFFFFF) t.push_back(p.Text);
        return t;
    }
    const TParticle* Text(const std::string& text) const {
        for (const TParticle& p : particles.Particles())
            if (p.Kind == pkText && p.Colour == 0xFFFFFF && p.Text == text) return &p;
        return nullptr;
    }

    std::string dir;
    TRecordingAudio audio;
    TSoundBank bank{&audio};
    TVOParticleEngine particles{nullptr, kPictureHeight};
    TFieldSounds sounds;
    TFieldEffects effects;
};

} // namespace

TEST_F(FieldEffects, RemovalSoundsAndTextsFollowTheScore) {
    for (int x = 0; x < 5; ++x) Put(x, 4, 2);
    field.ClearMatches();
    EXPECT_EQ(Plays(TSample::Disapp), 1);
    ASSERT_NE(Text("+50"), nullptr);
    // Centre (2, 4): x 303 + 52 * 2, y 31 + 51 * 4 (texts use a 51-pixel row pitch).
    EXPECT_FLOAT_EQ(Text("+50")->X, 407.0f);
    EXPECT_FLOAT_EQ(Text("+50")->Y, 235.0f);
    EXPECT_EQ(particles.Particles().size(), 5u + 2u); // five pops and the text with its shadow

    for (int x = 0; x < 6; ++x) Put(x, 0, 2);
    field.ClearMatches();
    EXPECT_EQ(Plays(TSample::Disapp2), 1);

    for (int i = 0; i < 5; ++i) {
        Put(i, 2, 3);
        Put(2, i, 3);
    }
    field.ClearMatches();
    EXPECT_EQ(Plays(TSample::Disapp3), 1);

    // +50x6 on the second line-making move: 300 plus a 50 chain bonus, unmultiplied.
    particles.ClearAnimations();
    field.ChainCount = 1;
    for (int x = 0; x < 4; ++x) Put(x, 8, 4);
    Put(4, 8, 20);
    GameState.Score = 0;
    field.ClearMatches();
    EXPECT_EQ(GameState.Score, 350);
    EXPECT_NE(Text("+50x6"), nullptr);
    ASSERT_NE(Text("+50 Chain Bonus"), nullptr);
    EXPECT_FLOAT_EQ(Text("+50 Chain Bonus")->X, 220.0f + 52 * 2);
    EXPECT_EQ(Plays(TSample::Disapp3), 2);
    EXPECT_EQ(Plays(TSample::Chain2), 1); // the second line-making move in a row rises
    EXPECT_EQ(Plays(TSample::Multiply), 1);

    // 13 units times 9 is above 100: no removal sound, only the big moment's (nine balls at once)
    // and the multiplier's sparkle.
    audio.ClearRecords();
    field.ChainCount = 0;
    for (int i = 0; i < 5; ++i) {
        Put(i, 6, 1);
        Put(2, 2 + i, 1);
    }
    field.Cell(0, 6) = BallKinds[21];
    field.ClearMatches();
    ASSERT_EQ(audio.Plays.size(), 2u);
    EXPECT_EQ(Plays(TSample::Big), 1);
    EXPECT_EQ(Plays(TSample::Multiply), 1);
}

// A bigger move lands harder: a longer line, a multiplier or a longer chain throws more sparks,
// floats its points larger and sends a ring out; from two steps up the field shakes.
TEST_F(FieldEffects, ABiggerMoveLandsHarder) {
    TFieldPayoff payoff;
    field.AddListener(&payoff);
    struct TLanding {
        size_t Sparks = 0, Glows = 0;
        uint16_t PointsScale = 0;
        bool Shakes = false;
    };
    const auto clear = [&](int balls, uint8_t chain, int multiplier) {
        particles.Clear();
        payoff.MoveUndone(); // no shake left over
        field.ChainCount = chain;
        for (int x = 0; x < balls; ++x) Put(x, 4, 2);
        if (multiplier > 0) field.Cell(0, 4) = BallKinds[static_cast<size_t>(multiplier)];
        field.ClearMatches();
        TLanding l;
        for (const TParticle& p : particles.Particles()) {
            l.Sparks += p.Kind == pkSpark;
            l.Glows += p.Kind == pkGlow;
            if (p.Kind == pkText && p.Text.rfind("+", 0) == 0 && p.Colour == 0xFFFFFF)
                l.PointsScale = std::max(l.PointsScale, p.TextScale);
        }
        l.Shakes = payoff.Shaking();
        return l;
    };
    const TLanding five = clear(5, 0, 0), six = clear(6, 0, 0), chained = clear(5, 2, 0),
                   multiplied = clear(5, 0, 20), eight = clear(8, 0, 0);
    EXPECT_EQ(five.PointsScale, 100);
    EXPECT_FALSE(five.Shakes);
    for (const TLanding& bigger : {six, chained, multiplied, eight}) {
        EXPECT_GT(bigger.Sparks, five.Sparks);
        EXPECT_GT(bigger.PointsScale, five.PointsScale);
        EXPECT_GT(bigger.Glows, five.Glows); // the ring (or the big moment's)
    }
    EXPECT_GT(eight.Sparks, six.Sparks);
    EXPECT_GT(eight.PointsScale, six.PointsScale);
    EXPECT_FALSE(six.Shakes);
    EXPECT_TRUE(chained.Shakes); // the third line in a row
    EXPECT_TRUE(eight.Shakes);
    field.RemoveListener(&payoff);
}

TEST_F(FieldEffects, PinSoundsOnStraightAndBentPaths) {
    Put(0, 0, 1);
    field.TravelDirX = field.TravelDirY = 0;
    ClickCell(0, 0);
    ClickCell(4, 0); // straight: start and settling
    EXPECT_EQ(Plays(bank.Named(TSample::BallMove)), 1);
    EXPECT_EQ(audio.Plays.back().Loop, -1); // "s_ballmove" loops
    ASSERT_TRUE(RunUntilIdle(0.25));
    for (int i = 0; i < 8; ++i) Frame(0.25); // the settling step after the arrival
    EXPECT_EQ(Plays(TSample::Pin), 2);
    EXPECT_EQ(Plays(bank.ArrivalSound(0)), 1);
    EXPECT_NE(std::find(audio.Stops.begin(), audio.Stops.end(), bank.Named(TSample::BallMove)),
              audio.Stops.end());

    audio.ClearRecords();
    field.Preview.fill(BallKinds[7]);
    field.BallsPerTurn = 0; // no new balls in the way
    Put(1, 1, 2);
    Put(0, 1, 2);
    Put(2, 1, 2);
    ClickCell(1, 1);
    ClickCell(2, 3); // (1,1) down... blocked on the sides: down to (1,3), then right: one corner
    ASSERT_TRUE(field.Moving);
    ASSERT_TRUE(RunUntilIdle(0.25));
    for (int i = 0; i < 8; ++i) Frame(0.25);
    EXPECT_EQ(Plays(TSample::Pin), 3);
}

TEST_F(FieldEffects, SelectionSoundsCycleFromVariantA) {
    Put(3, 3, 5); // picture 4
    ClickCell(3, 3);
    std::vector<int> variants;
    for (int i = 0; i < 400; ++i) {
        const size_t before = audio.Plays.size();
        Frame(0.25);
        for (size_t k = before; k < audio.Plays.size(); ++k)
            for (int v = 0; v < 4; ++v)
                if (audio.Plays[k].Sample == bank.Selection(v, 4)) variants.push_back(v);
    }
    ASSERT_GE(variants.size(), 6u);
    for (size_t i = 0; i < variants.size(); ++i) EXPECT_EQ(variants[i], static_cast<int>(i % 4));

    // A new click on the ball starts again at a.
    ClickCell(3, 3);
    ClickCell(3, 3);
    variants.clear();
    for (int i = 0; i < 60 && variants.empty(); ++i) {
        const size_t before = audio.Plays.size();
        Frame(0.25);
        for (size_t k = before; k < audio.Plays.size(); ++k)
            for (int v = 0; v < 4; ++v)
                if (audio.Plays[k].Sample == bank.Selection(v, 4)) variants.push_back(v);
    }
    ASSERT_FALSE(variants.empty());
    EXPECT_EQ(variants[0], 0);
}

TEST_F(FieldEffects, SelectedBombLoopsItsSoundUntilTheNextClick) {
    Put(2, 2, kindEntryBomb);
    Put(6, 6, 1);
    ClickCell(2, 2);
    ASSERT_EQ(audio.Plays.size(), 1u);
    EXPECT_EQ(audio.Plays[0].Sample, bank.Selection(0, 22));
    EXPECT_EQ(audio.Plays[0].Loop, -1);
    for (int i = 0; i < 100; ++i) Frame(0.25); // a selected bomb makes no selection sound
    EXPECT_EQ(audio.Plays.size(), 1u);
    ClickCell(6, 6);
    EXPECT_EQ(audio.Stops.back(), bank.Selection(0, 22));
}

TEST_F(FieldEffects, HoverSoundNeedsTenQuietUnits) {
    Put(1, 1, 3);
    Put(5, 5, kindEntryBomb);
    PointAt(1, 1);
    for (int i = 0; i < 40; ++i) Frame(0.25); // 10 units: not yet above 10
    EXPECT_EQ(Plays(bank.HoverSound(2)), 0);
    Frame(0.25);
    EXPECT_EQ(Plays(bank.HoverSound(2)), 1);
    for (int i = 0; i < 80; ++i) Frame(0.25); // the same ball again: silent
    EXPECT_EQ(Plays(bank.HoverSound(2)), 1);
    PointAt(5, 5);
    for (int i = 0; i < 41; ++i) Frame(0.25);
    EXPECT_EQ(Plays(bank.HoverSound(21)), 1);
    EXPECT_EQ(Plays(bank.HoverSound(22)), 1); // the bomb's own hover sound as well
}

TEST_F(FieldEffects, SpawnPlaysAppearSoundAndGrowingPops) {
    field.NewGame(1);
    EXPECT_EQ(Plays(TSample::App), 1);
    int growing = 0;
    for (const TParticle& p : particles.Particles()) growing += p.Kind == pkPop && p.Grow;
    EXPECT_EQ(growing, 6);
}

TEST_F(FieldEffects, BombBlastThrowsDebrisAndBooms) {
    Put(4, 4, kindEntryBomb);
    Put(3, 3, 1);
    Put(5, 4, 9); // picture 8
    RandSeed(5);
    EXPECT_TRUE(field.ExplodeBomb(4, 4, kindBomb));
    int debris = 0, flashes = 0;
    for (const TParticle& p : particles.Particles()) {
        debris += p.Kind == pkDebris;
        flashes += p.Kind == pkFlash;
        if (p.Kind == pkDebris && p.X == 324.0f + 52 * 5) {
            EXPECT_EQ(p.VY, 0.0f); // same row as the bomb: thrown sideways only
            EXPECT_GT(p.VX, 0.0f);
        }
        if (p.Kind == pkDebris && p.X == 324.0f + 52 * 3) {
            EXPECT_LT(p.VY, 0.0f); // up and to the left
        }
    }
    EXPECT_EQ(debris, 2);
    EXPECT_EQ(flashes, 1);
    EXPECT_EQ(Plays(bank.BlastHitSound(0)), 1);
    EXPECT_EQ(Plays(bank.BlastHitSound(8)), 1);
    EXPECT_EQ(Plays(bank.BlastSound(22)), 1);
}

TEST_F(FieldEffects, PaintBallStartsSplashesOnItsNeighbours) {
    Put(3, 3, 1);
    Put(4, 3, 2);
    Put(4, 4, 16); // paint of colour 5 arrived here
    EXPECT_TRUE(field.ApplyPaintBall(4, 4, field.Cell(4, 4).Kind));
    int splashes = 0;
    for (const TParticle& p : particles.Particles())
        if (p.Kind == pkAnimation) {
            ++splashes;
            EXPECT_EQ(p.Frames, 18);
            EXPECT_FLOAT_EQ(p.VY, 2.0f);
        }
    EXPECT_EQ(splashes, 2);
    EXPECT_EQ(Plays(TSample::Paint), 1);
    EXPECT_EQ(field.PaintColour, 5);
}

// The loudest moment the game can make, mixed by the real audio layer (SDL_mixer on SDL's dummy
// output, which takes the mix in real time) from the generated sounds: a bomb destroys eight
// balls while a seven-ball line clears, music and sound at 100. The sum before the output
// limiter passes full scale; nothing that leaves it reaches full scale.
TEST(FieldSoundMix, ABombAndALineAtFullVolumeNeverClampTheOutput) {
    ResetShellState();
    Shell.Word = scrPlaying;
    Options.MusicVolume = Options.SoundVolume = 100;
    const std::string data = VO_GAME_DATA_DIR;
    std::unique_ptr<IAudio> audio = CreateSdlAudio();
    ASSERT_TRUE(audio->Init(1, 44100, 0, nullptr));
    audio->Start();
    TSoundBank bank(audio.get());
    std::string error;
    ASSERT_TRUE(bank.Load(data + "/sounds.txt", data, &error)) << error;
    SoundBank = &bank;
    TGameField field(9, 9);
    GameField = &field;
    TFieldSounds sounds;
    field.AddListener(&sounds);
    field.Cell(4, 4) = BallKinds[kindEntryBomb];
    const int around[8][2] = {{3, 3}, {4, 3}, {5, 3}, {3, 4}, {5, 4}, {3, 5}, {4, 5}, {5, 5}};
    for (int i = 0; i < 8; ++i)
        field.Cell(around[i][0], around[i][1]) = BallKinds[static_cast<size_t>(1 + i % 7)];
    for (int x = 0; x < 7; ++x) field.Cell(x, 0) = BallKinds[1];
    bank.StartMusic(data + "/music/theme.ogg");
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    audio->TakeMixMeter();
    EXPECT_TRUE(field.ExplodeBomb(4, 4, kindBomb));
    EXPECT_EQ(field.ClearMatches(), 7);
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
    const TMixMeter m = audio->TakeMixMeter();
    GameField = nullptr;
    SoundBank = nullptr;
    EXPECT_GT(m.PeakIn, 1.0f) << "the moment would clamp without the limiter";
    EXPECT_EQ(m.Clamped, 0);
    EXPECT_LE(m.PeakOut, 0.8913f);
    EXPECT_LT(m.MinGain, 1.0f);
}
