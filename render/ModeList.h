#pragma once
// TModeList and TModeRecord: the full-screen display modes of one size in one colour-depth class,
// and the choice of one of them by the device's refresh-rate setting.
//
// Colour-depth classes: 16 bits accepts R5G6B5 (23) and X1R5G5B5 (24); 32 bits accepts X8R8G8B8
// (22) and A8R8G8B8 (21); any other bit count accepts nothing.
#include "render/RenderTypes.h"

#include <cstdint>
#include <memory>

class IGfxSystem;

struct TModeRecord {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t RefreshRate = -1; // Hz as the adapter reports it; 0 = the adapter's default
    int32_t Format = 0;
    std::unique_ptr<TModeRecord> Next;
};

class TModeList {
public:
    TModeList() = default;
    ~TModeList();
    TModeList(const TModeList&) = delete;
    TModeList& operator=(const TModeList&) = delete;

    // Rebuilds the list from adapter 0: every mode of exactly width x height in the class of
    // bitCount, in reverse enumeration order. True when the adapter's list was read to its end
    // (matching or not); false, with the list empty, when reading it failed.
    bool EnumModes(IGfxSystem* system, int32_t width, int32_t height, int32_t bitCount);
    // Puts a new record at the head.
    void AddMode(int32_t width, int32_t height, int32_t refreshRate, int32_t format);
    int32_t Count() const;
    // Frees every record; false if the list was already empty.
    bool Clear();
    // Orders the records by refresh rate, highest first; equal rates keep their order.
    void SortByRate();
    // The chosen record (owned by the list) or null when the list is empty: rr_custom the first
    // with CustomRate (else the lowest), rr_default and rr_lowest the lowest, rr_highest the
    // highest, rr_higher the second highest (the highest below three records), rr_average and
    // anything else the middle one (index Count div 2 from the highest).
    TModeRecord* ChooseMode(TRefreshRate rate);

    std::unique_ptr<TModeRecord> First;
    int32_t CustomRate = 0;
};

// True when a display format belongs to the colour-depth class of bitCount (16 or 32).
bool FormatInDepthClass(int32_t format, int32_t bitCount);
