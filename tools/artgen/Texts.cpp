#include "tools/artgen/Texts.h"

#include "tools/artgen/Translations.h"

#include <algorithm>

namespace artgen {

TTexts::TTexts(const std::string& language) {
    strings_ = {{"MainCaption", "Velm Orra"},
                {"Options", "Options"},
                {"HighScores", "High Scores"},
                {"Help", "How to Play"},
                {"Kids", "Kids"},
                {"Normal", "Normal"},
                {"Proff", "Professional"},
                {"NewGameHint", "Click New Game to play"},
                {"DemoLabel", "Demo: press any key to play"},
                {"FinalScore", "Your score: %s"},
                {"FinalPlace", "Place %s of 10"},
                {"Statistics", "Statistics"},
                // A chain's callout ("%s" the chain's length) and the first-game tips, one text
                // each; the game wraps them to the tips' box.
                {"Chain", "Chain ×%s"},
                {"Tip_Start", "Line up five balls of one colour to clear them. Click a ball to "
                              "pick it up."},
                {"Tip_Select", "The lit cells show where this ball can go: click one. It rolls "
                               "over free cells only."},
                // How to pick a ball up and send it, worded for the keys, a game controller
                // and a touch screen (the plain keys are the mouse's wording).
                {"Tip_Start_Keys", "Line up five balls of one colour to clear them. Arrows "
                                   "move, Space picks up a ball."},
                {"Tip_Start_Pad", "Line up five balls of one colour to clear them. The D-pad "
                                  "moves, A picks up a ball."},
                {"Tip_Start_Touch", "Line up five balls of one colour to clear them. Tap a "
                                    "ball to pick it up."},
                {"Tip_Select_Keys", "The lit cells show where this ball can go: move there, "
                                    "press Space. It rolls over free cells only."},
                {"Tip_Select_Pad", "The lit cells show where this ball can go: move there, "
                                   "press A. It rolls over free cells only."},
                {"Tip_Select_Touch", "The lit cells show where this ball can go: tap one or "
                                     "drag the ball. It rolls over free cells only."},
                {"Tip_Line", "Five in a line score 50, longer lines more. Lines on moves in a "
                             "row earn a chain bonus."},
                {"Tip_Undo", "Taken back! Kids: as often as you like. Normal: the last move "
                             "only. The same balls come again."},
                {"Tip_TwoColour", "A two-colour ball counts for both of its colours."},
                {"Tip_Rainbow", "The rainbow ball fits a line of any colour."},
                {"Tip_Paint", "Move a paint ball next to others: it bursts and paints its "
                              "neighbours its colour."},
                {"Tip_Multiplier", "A multiplier fits any colour and multiplies its line's "
                                   "points by 3, 6 or 9."},
                {"Tip_Bomb", "Move a bomb next to other balls: it blows up the 3 × 3 block "
                             "around it."},
                {"GameOverReason", "No room for new balls"},
                {"EnterNameChoice", "Yes: play again     No: see the table"},
                // Over the demo while the window has lost the focus; on the logo screen.
                {"Paused", "Paused"},
                {"PressAnyKey", "Press any key"},
                // The game summary's mark of a new personal best (in place of its row's label).
                {"NewBest", "New best!"},
                // The tables' replays and the last game's seed ("%s"): kReplayTextRoom wide at
                // kReplayTextScale.
                {"ReplayLegend", "» a replay, green when verified: click to watch"},
                {"ReplayHead", "Replay"},
                {"ReplayKeys", "Space: pause   F: faster   Esc: stop"},
                {"ReplayPaused", "Paused"},
                {"LastSeed", "Seed of the last game: %s"},
                // Today's daily result: its score and the streak, in that order.
                {"DailyResult", "Today's game: %s points, streak %s   C: copy"}};
    lists_ = {
        {"Places", {"1st", "2nd", "3rd", "4th", "5th", "6th", "7th", "8th", "9th", "10th"}},
        {"StatisticsRows",
         {"Games played", "Games finished", "Best score", "Average score", "Lines cleared",
          "Longest chain", "Best single move", "Time played"}},
        // The game summary's rows: the game's figures, then the mode's best final score.
        {"SummaryRows", {"Lines", "Longest chain", "Best move", "Moves", "Time", "Your best"}},
    };
    // Line widths: scale 70 of the font; the boxes centred on x 530 take about 50 characters,
    // the name entry (x 550, beside the wreath) about 36 and the low score (x 600, beside the
    // crying ball) about 26. The name entry keeps to two lines: the typed name follows at y 265.
    dialogs_ = {
        {"Exit", "Leave Velm Orra?", {"Your scores and settings are kept.", "", "Quit now?"}},
        {"New",
         "Start a new game?",
         {"The game in progress will be lost.", "", "Start a new one anyway?"}},
        {"Old",
         "Welcome back!",
         {"Your last game was saved.", "", "Would you like to go on with it?"}},
        {"Clear",
         "Clear this table?",
         {"All names and scores of this table", "return to the starting ones.", "",
          "This cannot be undone."}},
        {"EnterName", "A new high score!", {"Well played! Type your name", "and press Enter."}},
        {"LowScore",
         "Game over",
         {"No room for more balls.", "Not enough for the", "table this time.", "Play again?"}},
        {"FullScreen",
         "Display changed",
         {"The new display mode is used", "from the next start.", "", "Quit Velm Orra now?"}},
        {"ResetStats",
         "Reset statistics?",
         {"Every figure of this mode", "returns to zero.", "", "This cannot be undone."}},
        // The Exit message while a game is in progress.
        {"ExitKeep",
         "Leave Velm Orra?",
         {"Your game is kept: the next start", "offers to go on with it.", "", "Quit now?"}},
    };
    Translate(language);
}

// Every key of another language replaces the English text; a dialog's lines come as one text
// with "\n" between them. Keys the language lacks keep their English.
void TTexts::Translate(const std::string& language) {
    if (language == "en") return;
    for (auto& [key, value] : strings_)
        if (const std::string* t = Lookup(language, key)) value = *t;
    auto split = [](const std::string& t, std::vector<std::string>& lines) {
        lines.clear();
        size_t start = 0;
        while (start <= t.size()) {
            const size_t end = std::min(t.find('\n', start), t.size());
            lines.push_back(t.substr(start, end - start));
            start = end + 1;
        }
    };
    for (auto& [key, lines] : lists_)
        if (const std::string* t = Lookup(language, key)) split(*t, lines);
    for (TDialogText& d : dialogs_) {
        if (const std::string* t = Lookup(language, d.Name + "_Caption")) d.Caption = *t;
        if (const std::string* t = Lookup(language, d.Name + "_Text")) split(*t, d.Lines);
    }
}

std::vector<std::string> TTexts::Keys() const {
    std::vector<std::string> keys;
    for (const auto& [key, value] : strings_) keys.push_back(key);
    for (const auto& [key, lines] : lists_) keys.push_back(key);
    for (const TDialogText& d : dialogs_) {
        keys.push_back(d.Name + "_Caption");
        keys.push_back(d.Name + "_Text");
    }
    return keys;
}

std::string TTexts::StringsFile() const {
    std::string out;
    // The game reads single bytes: every text goes out in Windows-1252.
    auto line = [&out](const std::string& s) { out += ToCp1252(s) + "\r\n"; };
    line("; Velm Orra - texts shown by the game.");
    line("; \"$Key\" takes the next line as its text; \"@Key\" takes the lines between { and }.");
    line("");
    for (const auto& [key, value] : strings_) {
        line("$" + key);
        line(value);
    }
    for (const auto& [key, lines] : lists_) {
        line("@" + key);
        line("{");
        for (const std::string& l : lines) line(l);
        line("}");
    }
    for (const TDialogText& d : dialogs_) {
        line("");
        line("$" + d.Name + "_Caption");
        line(d.Caption);
        line("@" + d.Name + "_Text");
        line("{");
        for (const std::string& l : d.Lines) line(l);
        line("}");
    }
    return out;
}

const std::string& TTexts::String(const std::string& key) const {
    static const std::string none;
    for (const auto& [k, value] : strings_)
        if (k == key) return value;
    return none;
}

const std::vector<std::string>* TTexts::List(const std::string& key) const {
    for (const auto& [k, lines] : lists_)
        if (k == key) return &lines;
    return nullptr;
}

const std::string& TTexts::Caption(const std::string& dialog) const {
    static const std::string none;
    for (const TDialogText& d : dialogs_)
        if (d.Name == dialog) return d.Caption;
    return none;
}

const std::vector<std::string>& TTexts::Lines(const std::string& dialog) const {
    static const std::vector<std::string> none;
    for (const TDialogText& d : dialogs_)
        if (d.Name == dialog) return d.Lines;
    return none;
}

namespace {

// Sound family of picture number n (1-based): the colour for plain and paint balls, "multi" for
// the two-colour, rainbow and multiplier balls, "bomb" for the bomb.
std::string Family(int n) {
    if (n >= 1 && n <= 7) return "c" + std::to_string(n);
    if (n >= 12 && n <= 18) return "c" + std::to_string(n - 11);
    if (n == 22) return "bomb";
    return "multi";
}

} // namespace

std::vector<TSoundEntry> SoundList() {
    std::vector<TSoundEntry> list = {
        {"s_app", "sounds/appear.ogg"},
        {"s_disapp", "sounds/clear1.ogg"},
        {"s_disapp2", "sounds/clear2.ogg"},
        {"s_disapp3", "sounds/clear3.ogg"},
        {"s_ballmove", "sounds/roll.ogg"},
        {"s_pin", "sounds/turn.ogg"},
        {"s_click", "sounds/click.ogg"},
        {"s_hover", "sounds/hover.ogg"},
        {"s_press", "sounds/key.ogg"},
        {"s_paint", "sounds/paint.ogg"},
        // The payoff: a chain of two to six lines and longer, a big moment, a new high score, a
        // multiplier ball's bonus.
        {"s_chain2", "sounds/chain2.ogg"},
        {"s_chain3", "sounds/chain3.ogg"},
        {"s_chain4", "sounds/chain4.ogg"},
        {"s_chain5", "sounds/chain5.ogg"},
        {"s_chain6", "sounds/chain6.ogg"},
        {"s_big", "sounds/big.ogg"},
        {"s_record", "sounds/record.ogg"},
        {"s_multi", "sounds/multiply.ogg"},
    };
    const char variants[4] = {'a', 'b', 'c', 'd'};
    for (int n = 1; n <= 23; ++n) {
        const std::string family = n == 23 ? "bomb" : Family(n);
        for (char v : variants) {
            std::string file = "sounds/sel_" + (family == "bomb" ? std::string("multi") : family) +
                               "_" + v + ".ogg";
            if (n == 23 && v == 'a') file = "sounds/a_bomb.ogg";
            list.push_back({std::string("_") + v + std::to_string(n), file});
        }
        list.push_back({"_h" + std::to_string(n),
                        n == 23 ? "sounds/h_bomb.ogg" : "sounds/hover_" + family + ".ogg"});
        list.push_back({"_f" + std::to_string(n), "sounds/Bomb_boom.ogg"});
        if (n <= 22) {
            list.push_back({"_r" + std::to_string(n), "sounds/land.ogg"});
            list.push_back({"_o" + std::to_string(n), "sounds/shatter.ogg"});
        }
    }
    return list;
}

std::string SoundsFile() {
    std::string out;
    for (const TSoundEntry& e : SoundList()) out += e.Name + "\t./" + e.File + "\t1.0\r\n";
    return out;
}

} // namespace artgen
