// English: the complete list of the words drawn into pictures. The string table's English is in
// Texts.cpp.
#include "tools/artgen/Translations.h"

namespace artgen {

const TTextTable& EnglishTexts() {
    static const TTextTable t = {
        {"Btn.NewGame", "New Game"},
        {"Btn.Kids", "Kids"},
        {"Btn.Normal", "Normal"},
        {"Btn.Professional", "Professional"},
        {"Btn.Options", "Options"},
        {"Btn.HowToPlay", "How to Play"},
        {"Btn.HighScores", "High Scores"},
        {"Btn.Exit", "Exit"},
        {"Btn.Back", "Back"},
        {"Btn.Clear", "Clear"},
        {"Btn.Yes", "Yes"},
        {"Btn.No", "No"},
        {"Btn.Previous", "Previous"},
        {"Btn.Next", "Next"},
        {"Table.TopTen", "TOP TEN"},
        {"Table.Statistics", "STATISTICS"},
        {"Opt.Sound", "Sound"},
        {"Opt.Music", "Music"},
        {"Opt.FullScreen", "Full screen"},
        {"Opt.NextStart", "(from the next start)"},
        {"Opt.Language", "Language"},
        {"Opt.System", "System language"},
        {"Opt.LanguageNote", "(applies at once)"},
        {"Game.Score", "SCORE"},
        {"Game.Next", "NEXT"},
        {"Game.Loading", "Loading"},
        {"Colour.1", "red"},
        {"Colour.2", "green"},
        {"Colour.3", "blue"},
        {"Colour.4", "yellow"},
        {"Colour.5", "violet"},
        {"Colour.6", "cyan"},
        {"Colour.7", "white"},
        {"Help0.Title", "Moving the balls"},
        {"Help0.1", "Click a ball to pick it up: it starts to bounce."},
        {"Help0.2", "Click an empty cell to send it there. The ball rolls over free cells only - "
                    "up, down, left or right, never diagonally - and takes the shortest way."},
        {"Help0.3", "A red cross marks a cell it cannot reach. Dragging a ball works too; the "
                    "right mouse button puts it back down."},
        {"Help1.3", "Each move that makes no line brings new balls, shown in advance in the Next "
                    "tray. When there is no room left for them, the game is over."},
        {"Help0.Keys", "Keyboard: the arrow keys move a cursor over the board, Space or Enter "
                       "picks up and sends, Escape drops. F1 help, F11 full screen, M mute, "
                       "Ctrl+N new game."},
        {"Help1.Title", "Lines and points"},
        {"Help1.1", "Line up five or more balls of one colour in a row, a column or a diagonal: "
                    "they vanish and score. No new balls arrive after a move that clears a line."},
        {"Help1.Five", "Five in a line"},
        {"Help1.Six", "Six in a line"},
        {"Help1.Seven", "Seven in a line"},
        {"Help1.Cross", "Two lines of five crossing"},
        {"Help1.2", "Chain bonus: clear lines on consecutive moves. The second line in a row "
                    "earns its points once more, the third twice more, and so on - until a move "
                    "clears nothing."},
        {"Help2.Title", "Special balls"},
        {"Help2.1", "Two-colour balls count for both of their colours at once."},
        {"Help2.2", "The rainbow ball carries every colour: it fits any line."},
        {"Help2.3", "Multipliers fit any colour too, and multiply the points of their line by 3, "
                    "6 or 9."},
        {"Help2.Colours", "Tell the colours apart"},
        {"Help2.Symbols", "Each colour also wears its own faint symbol: heart, triangle, ring, "
                          "star, diamond, cross and square."},
        {"Help3.Title", "Paint balls and bombs"},
        {"Help3.1", "A paint ball plays like a ball of its colour - until you move it next to "
                    "other balls. Then it bursts and, a moment later, paints every ball around "
                    "it in its colour."},
        {"Help3.2", "Move a bomb next to other balls and it blows up the whole 3 x 3 block around "
                    "it - other bombs go off too. Blasted balls score nothing."},
        {"Help3.3", "When a paint ball or a bomb goes off, no new balls arrive that turn. Moved "
                    "to a spot with no neighbours, it simply stays there."},
        {"Help4.Title", "Three ways to play"},
        {"Help4.Start", "Balls at the start"},
        {"Help4.Turn", "New balls each turn"},
        {"Help4.Colours", "Colours"},
        {"Help4.Specials", "Special balls"},
        {"Help4.Undo", "Undo"},
        {"Help4.KidsStart", "3 balls"},
        {"Help4.KidsTurn", "2 balls"},
        {"Help4.KidsColours", "7 at the start, then 6"},
        {"Help4.KidsSpecials", "Two-colour, rainbow"},
        {"Help4.KidsUndo", "Back to the start"},
        {"Help4.NormalStart", "6 balls"},
        {"Help4.NormalTurn", "3 balls"},
        {"Help4.NormalColours", "6"},
        {"Help4.NormalSpecials", "+ bombs, paint, x3 x6 x9"},
        {"Help4.NormalUndo", "The last move"},
        {"Help4.ProStart", "9 balls"},
        {"Help4.ProTurn", "4 balls"},
        {"Help4.ProColours", "All 7 arrive"},
        {"Help4.ProSpecials", "+ bombs, paint, x3 x6 x9"},
        {"Help4.ProUndo", "None"},
        {"Help4.Footer", "Undo with Ctrl+Z, Backspace or the Undo button. Fewer balls arrive as "
                         "the board fills up; each mode keeps its own table of the ten best "
                         "scores."},
        // Reduced motion, the symbols, the first-game tips and the payoff.
        {"Opt.ReducedMotion", "Reduced motion"},
        {"Opt.Symbols", "Symbols on balls"},
        {"Opt.Tips", "First-game tips"},
        {"Opt.Off", "Off"},
        {"Opt.On", "On"},
        {"Opt.Faint", "Faint"},
        {"Opt.Clear", "Clear"},
        {"Game.Record", "New high score!"},
    };
    return t;
}

} // namespace artgen
