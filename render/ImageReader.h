#pragma once
// TBitmapEx: the picture reader behind every texture. Loads itself from a TGA, JPEG or BMP file
// chosen by the file name's extension (".tga" in any case: TGA; ".jpg" in any case: JPEG;
// anything else: BMP) and writes uncompressed top-first TGA files (or BMP for other extensions).
// A missing file is not an error: it yields the 64 x 64 "NO IMAGE" placeholder. A file the open
// data pack holds is read from the pack (platform/DataPack.h).
//
// After a TGA load the bitmap has 32 bits per pixel for 32-bit files and 24 for 24-bit ones;
// JPEG gives 24 bits; a BMP keeps what the BMP reader gives (32 bits when it has alpha).
// On any failure the bitmap keeps what it had and `error` gets the message. The four refusals
// of a TGA header use exactly these messages:
//   "TGA graphics is not in True-Color", "Color-mapped TGA is not supported",
//   "Invalid TGA Bit-depth!", "Mirrored TGA is not supported!".
// Damaged or truncated data gives a message naming the file.
#include "platform/Bitmap.h"

#include <cstddef>
#include <cstdint>
#include <string>

// A side beyond this is no picture of the game (a damaged or hostile header) and is refused
// before anything is allocated; the generator lays its pictures out within it.
inline constexpr int32_t kMaxPictureSide = 4096;

class TBitmapEx : public TBitmap {
public:
    bool LoadFromFile(const std::string& fileName, std::string* error = nullptr) override;
    // ".tga": uncompressed type 2, descriptor 0x20; refuses depths other than 24 and 32 with
    // "Invalid pixel format!". Other extensions: BMP.
    bool SaveToFile(const std::string& fileName, std::string* error = nullptr) const override;

    // The readers on their own, for data already in memory. `name` only labels messages.
    bool LoadTGAFromMemory(const uint8_t* data, size_t size, const std::string& name,
                           std::string* error = nullptr);
    bool LoadJPEGFromMemory(const uint8_t* data, size_t size, const std::string& name,
                            std::string* error = nullptr);

    // The "NO IMAGE" placeholder: 64 x 64, 32 bits, an orange diagonal-cross hatch on white with
    // the words in black on orange at (5, 25). Its pixels are opaque (alpha 255).
    void MakePlaceholder();
};
