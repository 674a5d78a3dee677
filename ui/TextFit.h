#pragma once
// Setting text into a room: the scale message texts take, and the lines a tip wraps into. The
// game lays its text out with these and the generator checks with them that every text of every
// language fits (the build fails otherwise), so both measure alike: `width(text, scale)` is the
// text's width in picture pixels at `scale` percent, each character's advance scaled and rounded
// as the font draws it.
#include "layout/Layout.h" // the places, and the screen flags of the messages

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

namespace textfit {

// Rows of text at `scale` percent of a font whose cells are `cellHeight` high: the cell's
// scaled height, never closer than the message boxes' 15 pixels.
inline int LinePitch(int cellHeight, int scale) {
    return std::max(15, (cellHeight * scale + 99) / 100);
}

// Where a message's text may go: centred on CentreX, at most Width wide, its rows from Top with
// the last row's cell ending by Bottom.
struct TRoom {
    int CentreX = kMessageCentreX;
    int Width = 0;
    int Top = kMessageTextY;
    int Bottom = kMessageTextBottom;
};

// The room of the message with flag `flag`: the name entry's text keeps clear of the wreath on
// its left and of the typed name below it, the low score's of the crying ball and of the final
// score.
inline TRoom MessageRoom(uint32_t flag) {
    TRoom r;
    int left = kMessageRoomLeft;
    if (flag == scrMsgEnterName) {
        r.CentreX = kNameEntryCentreX;
        left = kNameEntryTextLeft;
        r.Bottom = kPlayerNameY - 1;
    } else if (flag == scrMsgLowScore) {
        r.CentreX = kLowScoreCentreX;
        left = kLowScoreTextLeft;
        r.Bottom = kFinalScoreY - 1;
    }
    r.Width = 2 * std::min(r.CentreX - left, kMessageRoomRight - r.CentreX);
    return r;
}

// The first of `scales` (largest first) at which every line is at most `room` wide and all the
// lines fit `height` pixels; 0 when none does.
template <class Width>
int FitScale(const std::vector<std::string>& lines, int room, int height, int cellHeight,
             const std::vector<int>& scales, const Width& width) {
    for (int scale : scales) {
        if (static_cast<int>(lines.size()) * LinePitch(cellHeight, scale) > height) continue;
        if (std::all_of(lines.begin(), lines.end(),
                        [&](const std::string& l) { return width(l, scale) <= room; }))
            return scale;
    }
    return 0;
}

inline std::vector<int> MessageScales() {
    return {std::begin(kMessageScales), std::end(kMessageScales)};
}

// The widest figure a game summary's row shows: a time of hours, or a score of eight digits.
inline const char* const kSummaryWidestFigure = "00:00:00";

// The scale of a game summary's rows: the first of kSummaryScales at which every label, a gap of
// a figure's width and the widest figure fit a column; 0 when none does.
template <class Width>
int SummaryScale(const std::vector<std::string>& labels, const Width& width) {
    for (int scale : kSummaryScales)
        if (std::all_of(labels.begin(), labels.end(), [&](const std::string& l) {
                return width(l, scale) + width("0", scale) + width(kSummaryWidestFigure, scale) <=
                       kSummaryColumnWidth;
            }))
            return scale;
    return 0;
}

// `text` broken at spaces into lines at most `room` wide at `scale` (a word wider than the room
// stands on a line of its own).
template <class Width>
std::vector<std::string> Wrap(const std::string& text, int room, int scale, const Width& width) {
    std::vector<std::string> lines;
    std::string line;
    size_t at = 0;
    while (at < text.size()) {
        const size_t end = std::min(text.find(' ', at), text.size());
        const std::string word = text.substr(at, end - at);
        at = end + 1;
        if (word.empty()) continue;
        std::string longer = line;
        if (!longer.empty()) longer += ' ';
        longer += word;
        if (!line.empty() && width(longer, scale) > room) {
            lines.push_back(line);
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

// A tip wrapped into the tips' box: at kTipTextScale, or a step smaller where it would take
// more than kTipMaxLines lines there. Empty when it does not fit at all.
template <class Width>
std::vector<std::string> WrapTip(const std::string& text, int* scaleOut, const Width& width) {
    const int room = kTipBox.Right - kTipBox.Left - 2 * kTipPadding;
    for (int scale : {kTipTextScale, kTipTextScale - 5, kTipTextScale - 10}) {
        std::vector<std::string> lines = Wrap(text, room, scale, width);
        const bool fits = std::all_of(lines.begin(), lines.end(), [&](const std::string& l) {
            return width(l, scale) <= room;
        });
        if (fits && static_cast<int>(lines.size()) <= kTipMaxLines) {
            if (scaleOut) *scaleOut = scale;
            return lines;
        }
    }
    return {};
}

} // namespace textfit
