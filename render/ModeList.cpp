#include "render/ModeList.h"

#include "platform/Gfx.h"

#include <utility>

bool FormatInDepthClass(int32_t format, int32_t bitCount) {
    if (bitCount == 16) return format == D3DFMT_R5G6B5 || format == D3DFMT_X1R5G5B5;
    if (bitCount == 32) return format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8;
    return false;
}

TModeList::~TModeList() {
    Clear();
}

bool TModeList::EnumModes(IGfxSystem* system, int32_t width, int32_t height, int32_t bitCount) {
    Clear();
    if (!system) return false;
    const uint32_t count = system->GetAdapterModeCount(0);
    for (uint32_t i = 0; i < count; ++i) {
        TGfxDisplayMode mode;
        if (system->EnumAdapterModes(0, i, mode) != GFX_OK) {
            Clear();
            return false;
        }
        if (int64_t{mode.Width} == width && int64_t{mode.Height} == height &&
            FormatInDepthClass(mode.Format, bitCount))
            AddMode(width, height, int32_t(mode.RefreshRate), mode.Format);
    }
    return true;
}

void TModeList::AddMode(int32_t width, int32_t height, int32_t refreshRate, int32_t format) {
    auto record = std::make_unique<TModeRecord>();
    record->Width = width;
    record->Height = height;
    record->RefreshRate = refreshRate;
    record->Format = format;
    record->Next = std::move(First);
    First = std::move(record);
}

int32_t TModeList::Count() const {
    int32_t n = 0;
    for (const TModeRecord* r = First.get(); r; r = r->Next.get()) ++n;
    return n;
}

bool TModeList::Clear() {
    if (!First) return false;
    // Unlinked one by one, so that a long list is not freed by deep recursion.
    while (First) First = std::move(First->Next);
    return true;
}

void TModeList::SortByRate() {
    if (Count() < 2) return;
    // Passes that swap neighbours whose rates are in ascending order until none is left: a
    // stable sort, highest rate first.
    bool swapped = true;
    while (swapped) {
        swapped = false;
        for (TModeRecord* r = First.get(); r && r->Next; r = r->Next.get()) {
            TModeRecord* next = r->Next.get();
            if (r->RefreshRate < next->RefreshRate) {
                std::swap(r->Width, next->Width);
                std::swap(r->Height, next->Height);
                std::swap(r->RefreshRate, next->RefreshRate);
                std::swap(r->Format, next->Format);
                swapped = true;
            }
        }
    }
}

TModeRecord* TModeList::ChooseMode(TRefreshRate rate) {
    const int32_t count = Count();
    if (count < 1) return nullptr;
    SortByRate();
    auto at = [this](int32_t index) {
        TModeRecord* r = First.get();
        while (index-- > 0) r = r->Next.get();
        return r;
    };
    switch (rate) {
    case rr_custom:
        for (TModeRecord* r = First.get(); r; r = r->Next.get())
            if (r->RefreshRate == CustomRate) return r;
        return at(count - 1);
    case rr_default:
    case rr_lowest:
        return at(count - 1);
    case rr_highest:
        return at(0);
    case rr_higher:
        return at(count < 3 ? 0 : 1);
    case rr_average:
    default:
        return at(count / 2);
    }
}
