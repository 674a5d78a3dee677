#include "tools/artgen/Output.h"

#include "render/Catalogue.h"
#include "render/ImageReader.h"

#include <algorithm>

namespace artgen {

namespace {

// A clear-symbols twin is laid out as its catalogue file.
const TCatalogueEntry* CatalogueEntryFor(const std::string& file) {
    for (const auto* list :
         {&StartupCatalogue(), &IngameCatalogue(), &OptionsCatalogue(), &EffectsCatalogue()})
        for (const TCatalogueEntry& e : *list)
            if (e.File == file || ClearSymbolsFile(e.File) == file) return &e;
    return nullptr;
}

} // namespace

int PatternCount(int width, int height, int patternWidth, int patternHeight) {
    if (patternWidth <= 0 || patternHeight <= 0) return 0;
    return (width / patternWidth) * (height / patternHeight);
}

int AcrossFor(const std::string& file) {
    const TCatalogueEntry* e = CatalogueEntryFor(file);
    if (!e || e->Whole || e->PatternWidth <= 0) return 1;
    return std::max(1, e->TextureWidth / e->PatternWidth);
}

void PatternSizeFor(const std::string& file, int& width, int& height) {
    const TCatalogueEntry* e = CatalogueEntryFor(file);
    width = (e && !e->Whole) ? e->PatternWidth : 0;
    height = (e && !e->Whole) ? e->PatternHeight : 0;
}

std::vector<TCanvas> FramesFor(const std::string& file, int count) {
    int pw = 0, ph = 0;
    PatternSizeFor(file, pw, ph);
    std::vector<TCanvas> frames;
    frames.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i) frames.emplace_back(pw, ph);
    return frames;
}

void TPictureSet::AddFrames(const std::string& file, std::vector<TCanvas>& frames, int across) {
    if (frames.empty()) return;
    const int pw = frames[0].Width(), ph = frames[0].Height();
    const int count = static_cast<int>(frames.size());
    across = std::clamp(across, 1, count);
    // A long strip of frames at a higher density takes more frames a row rather than grow past
    // the side the game reads (the patterns keep their order either way).
    while (across < count &&
           (count + across - 1) / across * ph * frames[0].Density() > kMaxPictureSide)
        ++across;
    const int rows = (count + across - 1) / across;
    auto sheet = std::make_shared<TCanvas>(pw * across, ph * rows);
    cairo_t* cr = sheet->Cr();
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    for (int slot = 0; slot < across * rows; ++slot) {
        const TCanvas& f = frames[static_cast<size_t>(std::min(slot, count - 1))];
        const double x = (slot % across) * pw, y = (slot / across) * ph;
        cairo_save(cr);
        cairo_rectangle(cr, x, y, pw, ph);
        cairo_clip(cr);
        cairo_set_source_surface(cr, f.Surface(), x, y);
        cairo_paint(cr);
        cairo_restore(cr);
    }
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    pictures_[file] = TPicture{file, pw, ph, count, sheet};
}

void TPictureSet::AddWhole(const std::string& file, TCanvas&& image) {
    const int w = image.Width(), h = image.Height();
    pictures_[file] = TPicture{file, w, h, 1, std::make_shared<TCanvas>(std::move(image))};
}

const TPicture* TPictureSet::Find(const std::string& file) const {
    auto it = pictures_.find(file);
    return it == pictures_.end() ? nullptr : &it->second;
}

std::vector<std::string> CheckAgainstCatalogue(const TPictureSet& set) {
    std::vector<std::string> problems;
    for (const auto* list :
         {&StartupCatalogue(), &IngameCatalogue(), &OptionsCatalogue(), &EffectsCatalogue()})
        for (const TCatalogueEntry& e : *list) {
            const TPicture* p = set.Find(e.File);
            if (!p) {
                problems.push_back(e.File + ": not generated");
                continue;
            }
            const int w = p->Image->Width(), h = p->Image->Height();
            const int pw = e.Whole ? w : e.PatternWidth, ph = e.Whole ? h : e.PatternHeight;
            if (!e.Whole && (p->PatternWidth != pw || p->PatternHeight != ph))
                problems.push_back(e.File + ": drawn with " + std::to_string(p->PatternWidth) +
                                   " x " + std::to_string(p->PatternHeight) +
                                   " frames, the catalogue cuts " + std::to_string(pw) + " x " +
                                   std::to_string(ph));
            const int count = PatternCount(w, h, pw, ph);
            if (count < e.MinPatterns)
                problems.push_back(e.File + ": holds " + std::to_string(count) +
                                   " patterns, the game draws " + std::to_string(e.MinPatterns));
            if (!e.Whole && (pw > e.TextureWidth || ph > e.TextureHeight))
                problems.push_back(e.File + ": pattern " + std::to_string(pw) + " x " +
                                   std::to_string(ph) + " does not fit its " +
                                   std::to_string(e.TextureWidth) + " x " +
                                   std::to_string(e.TextureHeight) + " texture");
        }
    return problems;
}

} // namespace artgen
