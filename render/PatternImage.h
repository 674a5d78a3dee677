#pragma once
// TPatternImage: one picture cut into equally sized patterns (animation frames, button states,
// glyph cells, background quarters) packed into one or more textures of a fixed size. Patterns are
// numbered across the picture row by row and fill the textures in the same order.
//
// Density is the picture's texels per picture pixel (1, or 2 for the dense set drawn at twice the
// resolution). Pattern sizes are in picture pixels whatever the density: what is drawn from the
// set covers the same place; only the textures hold Density x Density texels a pixel.
//
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// The results of the operations below: 0 done, or a negative code that names what failed. Codes
// that share a value are told apart by the operation that returns them.
constexpr int32_t piDone = 0;
constexpr int32_t piLockFailed = -1; // a texture would not lock or unlock
constexpr int32_t piWasEmpty = -1;   // FreeTextures: nothing was loaded
constexpr int32_t piBadFormat = -2;  // a texture format not accepted
// Pattern or texture sizes, count or density that do not fit, a picture not of 32 bits, or
// CreateTextures on a set already loaded.
constexpr int32_t piBadSizes = -3;
constexpr int32_t piNotLoaded = -3;    // nothing loaded, or a texture index out of range
constexpr int32_t piLoaded = -4;       // the loaders: the set is loaded already
constexpr int32_t piNoTextures = -4;   // CreateTextures: no device, or creating a texture failed
constexpr int32_t piNoConverters = -6; // the pixel converters are unavailable
constexpr int32_t piUnreadable = -7;   // the picture file cannot be read

class IGfxDevice;
class IGfxTexture;
class TBitmap;
class TBitmapEx;

// The texture and texture coordinates of one pattern, for the render device. Corners: 0 top-left,
// 1 top-right, 2 bottom-left, 3 bottom-right (after mirror and flip).
struct TPatternSelection {
    IGfxTexture* Texture = nullptr;
    float U[4] = {};
    float V[4] = {};
};

class TPatternImage {
public:
    TPatternImage() = default;
    TPatternImage(const TPatternImage&) = delete;
    TPatternImage& operator=(const TPatternImage&) = delete;
    // Moved whole (its textures with it): a set loaded beside another takes its place at once.
    TPatternImage(TPatternImage&&) = default;
    TPatternImage& operator=(TPatternImage&&) = default;

    // Sizes in picture pixels; the file holds Density texels a pixel each way. At a density
    // above 1 the textures are cut to the patterns they hold (a texture of Density times the
    // given size would mostly pad), a single texture to the rows its patterns fill. A pattern size
    // of 0 means the picture's own width or height (in picture pixels). A picture reader error (a
    // damaged file) is reported as piUnreadable with the reader's message in `error` when given;
    // the set stays empty. A missing file loads the "NO IMAGE" placeholder.
    int32_t LoadFromFile(IGfxDevice* device, const std::string& fileName, int32_t patternWidth,
                         int32_t patternHeight, int32_t textureWidth, int32_t textureHeight,
                         int32_t format, std::string* error = nullptr);
    // One pattern: the whole picture, on a texture rounded up to powers of two.
    int32_t LoadAuto(IGfxDevice* device, const std::string& fileName, int32_t format,
                     std::string* error = nullptr);
    // The same with the picture already read from `fileName` (32 bits a pixel, as TBitmapEx reads
    // it; a TPictureReader reads it ahead): `whole` loads it as LoadAuto does. The file is read
    // again only by Reload.
    int32_t LoadFromPicture(IGfxDevice* device, const TBitmap& picture, const std::string& fileName,
                            bool whole, int32_t patternWidth, int32_t patternHeight,
                            int32_t textureWidth, int32_t textureHeight, int32_t format);
    int32_t FreeTextures();

    // A set loaded from a file lets the device drop its copies of the texels; after a device
    // loss took the textures' contents with it, Reload reads the file again into the same
    // textures (pointers to the set and its textures stay valid). Reload: piDone; piNotLoaded when
    // the set was not loaded from a file; piUnreadable when the file cannot be read now (the
    // textures stay blank); or a copy's code.
    bool ContentsLost() const;
    int32_t Reload(std::string* error = nullptr);

    // Clamps the pattern index to 0..PatternCount-1; false for an empty set.
    bool SelectPattern(int32_t pattern, bool mirror, bool flip, TPatternSelection& out) const;

    // Sizes in texels; the pattern size in picture pixels is the texel size over Density.
    int32_t CreateTextures(IGfxDevice* device, int32_t textureWidth, int32_t textureHeight,
                           int32_t patternWidth, int32_t patternHeight, int32_t textureCount,
                           int32_t format);
    // On success `pitch` is the row length in bytes and `bits` points at texel (0, 0).
    int32_t LockTexture(int32_t index, int32_t& pitch, uint8_t*& bits);
    int32_t UnlockTexture(int32_t index);

    bool Loaded = false;
    int32_t Density = 1;                         // set before loading; kept by FreeTextures
    int32_t PatternWidth = 0, PatternHeight = 0; // picture pixels
    int32_t TextureWidth = 0, TextureHeight = 0; // texels
    int32_t PatternCount = 0;
    int32_t Columns = 0, Rows = 0;
    int32_t PatternsPerTexture = 0;
    int32_t Format = 0;
    std::vector<std::shared_ptr<IGfxTexture>> Textures;
    // Set before loading: the textures keep their system copies after the upload, so that a
    // device made anew (another density) can upload them again; DropSystemCopies lets them go.
    bool KeepSystemCopies = false;
    void DropSystemCopies();

private:
    // The common part of the loaders; `automatic` takes the sizes from the picture, which Load
    // reads from the file unless `picture` is given.
    int32_t Load(IGfxDevice* device, const std::string& fileName, bool automatic,
                 int32_t patternWidth, int32_t patternHeight, int32_t textureWidth,
                 int32_t textureHeight, int32_t format, std::string* error,
                 const TBitmap* picture = nullptr);
    // Converts every pattern of a 32-bit picture into its texture slot.
    int32_t CopyPatterns(const TBitmap& picture);
    // Reads a picture as 32-bit texels; piUnreadable with the reason when it cannot be read.
    static int32_t ReadPicture(const std::string& fileName, TBitmapEx& picture, std::string* error);

    int32_t texelPatternWidth_ = 0, texelPatternHeight_ = 0;
    std::string source_; // the file the set was loaded from; empty for sets filled in code
};

// Smallest power of two not below n (n >= 1).
int32_t NextPow2(int32_t n);
