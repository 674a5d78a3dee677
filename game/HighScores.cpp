#include "game/HighScores.h"

#include <algorithm>
#include <cstring>

const std::array<const char*, kHighScoreRows> DefaultHighScoreNames = {
    "Aurelia", "Bastian", "Cordelia", "Dorian", "Elowen",
    "Florian", "Greta",   "Henrik",   "Isolde", "Jasper",
};

std::string THighScoreEntry::NameText() const {
    return std::string(Name, std::min<size_t>(NameLength, sizeof(Name)));
}

void THighScoreEntry::SetName(const std::string& name) {
    const size_t n = std::min(name.size(), sizeof(Name));
    std::memcpy(Name, name.data(), n);
    NameLength = static_cast<uint8_t>(n);
}

int32_t THighScoreEntry::Points() const {
    return Score == 65535 && FullScore > 65535 ? FullScore : Score;
}

void THighScoreEntry::SetPoints(int32_t score) {
    Score = static_cast<uint16_t>(std::clamp(score, 0, 65535));
    FullScore = score > 65535 ? score : 0;
}

void THighScoreTable::ToBytes(uint8_t* out) const {
    for (const auto& block : Blocks) {
        for (const auto& e : block) {
            out[0] = e.NameLength;
            std::memcpy(out + 1, e.Name, 16);
            out[17] = e.Pad;
            out[18] = static_cast<uint8_t>(e.Score & 0xFF);
            out[19] = static_cast<uint8_t>(e.Score >> 8);
            out += 20;
        }
    }
}

void THighScoreTable::FromBytes(const uint8_t* in) {
    for (auto& block : Blocks) {
        for (auto& e : block) {
            e.NameLength = in[0];
            std::memcpy(e.Name, in + 1, 16);
            e.Pad = in[17];
            e.Score = static_cast<uint16_t>(in[18] | (in[19] << 8));
            e.FullScore = 0;
            in += 20;
        }
    }
}

THighScoreBlock FreshHighScoreBlock() {
    THighScoreBlock block{};
    for (int i = 0; i < kHighScoreRows; ++i) {
        block[static_cast<size_t>(i)].SetName(DefaultHighScoreNames[static_cast<size_t>(i)]);
        block[static_cast<size_t>(i)].Score = static_cast<uint16_t>(1000 - 100 * i);
    }
    return block;
}

THighScoreTable FreshHighScoreTable() {
    THighScoreTable table;
    for (auto& block : table.Blocks) block = FreshHighScoreBlock();
    return table;
}

int InsertHighScore(THighScoreBlock& block, int32_t score) {
    int p = 0;
    for (int i = kHighScoreRows - 1; i >= 0; --i) {
        if (block[static_cast<size_t>(i)].Points() >= score) {
            p = i + 1;
            break;
        }
    }
    if (p >= kHighScoreRows) return kNotEntered;
    for (int i = kHighScoreRows - 2; i >= p; --i) {
        block[static_cast<size_t>(i) + 1] = block[static_cast<size_t>(i)];
    }
    block[static_cast<size_t>(p)].SetPoints(score);
    return p;
}
