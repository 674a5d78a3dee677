#pragma once
// The generated pictures, kept in memory until they are checked against the catalogue and
// written. A picture made of frames is laid out like the textures it will be cut into: as many
// frames across as one texture row holds; slots after the last frame repeat the last frame, which
// is what the game shows for a clamped pattern number anyway.
#include "tools/artgen/Canvas.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace artgen {

struct TPicture {
    std::string File;     // relative to the data folder, e.g. "graphics/balls/1_0.tga"
    int PatternWidth = 0; // the whole picture's size for a single-pattern picture
    int PatternHeight = 0;
    int Frames = 1; // frames drawn (the picture may hold more patterns)
    std::shared_ptr<TCanvas> Image;
};

class TPictureSet {
public:
    // Frames must all have the pattern size; `across` is the number of frames per picture row.
    void AddFrames(const std::string& file, std::vector<TCanvas>& frames, int across);
    void AddWhole(const std::string& file, TCanvas&& image);
    const TPicture* Find(const std::string& file) const;
    const std::map<std::string, TPicture>& All() const { return pictures_; }
    // A text that does not fit where it is drawn (a label wider than its button, a help page
    // running into its buttons): the generator fails on any.
    void NoteMisfit(const std::string& what) { misfits_.push_back(what); }
    const std::vector<std::string>& Misfits() const { return misfits_; }

private:
    std::map<std::string, TPicture> pictures_;
    std::vector<std::string> misfits_;
};

// Patterns a picture holds: (width div pattern width) x (height div pattern height).
int PatternCount(int width, int height, int patternWidth, int patternHeight);

// Checks every catalogue entry against the set: the file is there, its pattern size matches,
// it holds at least MinPatterns patterns and each pattern fits the texture. Returns the problems
// found, one line each (empty when all is well).
std::vector<std::string> CheckAgainstCatalogue(const TPictureSet& set);

// Frames per picture row for a catalogue file: the frames one texture row holds (at least 1).
int AcrossFor(const std::string& file);
// Pattern size of a catalogue file (0 x 0 for whole pictures and unknown files).
void PatternSizeFor(const std::string& file, int& width, int& height);
// `count` empty frames of a catalogue file's pattern size, at the current density.
std::vector<TCanvas> FramesFor(const std::string& file, int count);

} // namespace artgen
