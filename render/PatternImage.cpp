#include "render/PatternImage.h"

#include "platform/Gfx.h"
#include "render/ImageReader.h"
#include "render/PixConv.h"

#include <algorithm>
#include <cstring>

namespace {

// More textures than any picture of the game needs by far; a bigger count means damaged sizes.
constexpr int32_t kMaxTextureCount = 65536;

bool AcceptedFormat(int32_t format) {
    return format >= D3DFMT_A8R8G8B8 && format <= D3DFMT_X4R4G4B4 && format != D3DFMT_A8;
}

} // namespace

int32_t NextPow2(int32_t n) {
    int32_t p = 1;
    while (p < n && p < (1 << 30)) p <<= 1;
    return p;
}

int32_t TPatternImage::LoadFromFile(IGfxDevice* device, const std::string& fileName,
                                    int32_t patternWidth, int32_t patternHeight,
                                    int32_t textureWidth, int32_t textureHeight, int32_t format,
                                    std::string* error) {
    return Load(device, fileName, false, patternWidth, patternHeight, textureWidth, textureHeight,
                format, error);
}

int32_t TPatternImage::LoadAuto(IGfxDevice* device, const std::string& fileName, int32_t format,
                                std::string* error) {
    return Load(device, fileName, true, 0, 0, 0, 0, format, error);
}

int32_t TPatternImage::LoadFromPicture(IGfxDevice* device, const TBitmap& picture,
                                       const std::string& fileName, bool whole,
                                       int32_t patternWidth, int32_t patternHeight,
                                       int32_t textureWidth, int32_t textureHeight,
                                       int32_t format) {
    if (picture.BitsPerPixel() != 32) return piBadSizes;
    return Load(device, fileName, whole, patternWidth, patternHeight, textureWidth, textureHeight,
                format, nullptr, &picture);
}

int32_t TPatternImage::Load(IGfxDevice* device, const std::string& fileName, bool automatic,
                            int32_t patternWidth, int32_t patternHeight, int32_t textureWidth,
                            int32_t textureHeight, int32_t format, std::string* error,
                            const TBitmap* given) {
    if (Loaded) return piLoaded;
    if (!LoadPixConv()) return piNoConverters;
    if (!AcceptedFormat(format)) return piBadFormat;

    if (Density < 1 || Density > 4) return piBadSizes;
    TBitmapEx read;
    if (!given)
        if (const int32_t result = ReadPicture(fileName, read, error); result != 0) return result;
    const TBitmap& picture = given ? *given : read;

    const int32_t d = Density;
    if (automatic) {
        patternWidth = picture.Width();
        patternHeight = picture.Height();
        textureWidth = NextPow2(patternWidth);
        textureHeight = NextPow2(patternHeight);
    } else {
        if (patternWidth == 0) patternWidth = picture.Width() / d;
        if (patternHeight == 0) patternHeight = picture.Height() / d;
        if (patternWidth <= 0 || patternHeight <= 0 || patternWidth > textureWidth ||
            patternHeight > textureHeight)
            return piBadSizes;
        if (d > 1) {
            textureWidth = textureWidth / patternWidth * patternWidth;
            textureHeight = textureHeight / patternHeight * patternHeight;
        }
        // From here on in texels.
        patternWidth *= d;
        patternHeight *= d;
        textureWidth *= d;
        textureHeight *= d;
    }
    if (patternWidth <= 0 || patternHeight <= 0 || patternWidth > textureWidth ||
        patternHeight > textureHeight)
        return piBadSizes;

    // A picture smaller than one pattern (the "NO IMAGE" placeholder standing in for a missing
    // button, say) still gives one pattern, the picture in its top-left corner, so that what is
    // drawn from it keeps its size and can still be hit.
    const int32_t across = std::max(1, picture.Width() / patternWidth);
    const int32_t total = across * std::max(1, picture.Height() / patternHeight);
    int32_t perTexture = (textureWidth / patternWidth) * (textureHeight / patternHeight);
    if (d > 1 && !automatic && total < perTexture) {
        // One texture holds them all: as many rows (and columns) as the patterns fill.
        const int32_t columns = std::min(total, textureWidth / patternWidth);
        textureWidth = columns * patternWidth;
        textureHeight = (total + columns - 1) / columns * patternHeight;
        perTexture = (textureWidth / patternWidth) * (textureHeight / patternHeight);
    }
    const int32_t textureCount = total / perTexture + (total % perTexture ? 1 : 0);

    const int32_t created = CreateTextures(device, textureWidth, textureHeight, patternWidth,
                                           patternHeight, textureCount, format);
    if (created != 0) return created;
    PatternCount = total;
    const int32_t copied = CopyPatterns(picture);
    if (copied == 0) {
        source_ = fileName;
        if (!KeepSystemCopies) DropSystemCopies();
    }
    return copied;
}

int32_t TPatternImage::ReadPicture(const std::string& fileName, TBitmapEx& picture,
                                   std::string* error) {
    std::string message;
    if (!picture.LoadFromFile(fileName, &message)) {
        // The reader's own header messages do not name the file; the others do.
        if (message.find(fileName) == std::string::npos) message = fileName + ": " + message;
        if (error) *error = message;
        return piUnreadable;
    }
    picture.SetBitsPerPixel(32);
    return piDone;
}

void TPatternImage::DropSystemCopies() {
    for (const auto& texture : Textures) texture->DropSystemCopy();
}

bool TPatternImage::ContentsLost() const {
    return std::any_of(Textures.begin(), Textures.end(),
                       [](const auto& texture) { return texture->ContentsLost(); });
}

// The patterns land where the first load put them; a picture that changed size since fills
// what it can (CopyPatterns stays inside both).
int32_t TPatternImage::Reload(std::string* error) {
    if (!Loaded || source_.empty()) return piNotLoaded;
    TBitmapEx picture;
    if (const int32_t read = ReadPicture(source_, picture, error); read != 0) return read;
    const int32_t copied = CopyPatterns(picture);
    if (copied == 0) DropSystemCopies();
    return copied;
}

int32_t TPatternImage::CopyPatterns(const TBitmap& picture) {
    const TPixConvLine convert = PixConvForFormat(Format);
    const int32_t bytesPerTexel = GfxFormatBytes(Format);
    const int32_t pw = texelPatternWidth_, ph = texelPatternHeight_;
    const int32_t across = std::max(1, picture.Width() / pw);
    int32_t p = 0;
    for (int32_t t = 0; t < int32_t(Textures.size()); ++t) {
        int32_t pitch = 0;
        uint8_t* bits = nullptr;
        if (const int32_t locked = LockTexture(t, pitch, bits); locked != 0) return locked;
        for (int32_t slot = 0; slot < PatternsPerTexture; ++slot, ++p) {
            const int32_t destX = (slot % Columns) * pw;
            const int32_t destY = (slot / Columns) * ph;
            const int32_t srcX = pw * (p % across);
            const int32_t srcY = ph * (p / across);
            if (p >= PatternCount) continue; // past the last pattern
            const int32_t n = std::min(pw, picture.Width() - srcX);
            const int32_t height = std::min(ph, picture.Height() - srcY);
            for (int32_t r = 0; r < height; ++r)
                convert(picture.ScanLine(srcY + r) + size_t(srcX) * 4,
                        bits + size_t(destY + r) * size_t(pitch) + size_t(destX) * bytesPerTexel,
                        n);
            // A filtering sampler reads half a texel past a pattern's edge. Where the texture
            // holds no pattern there, the edge texels go on into it one texel, so that what is
            // read there is the edge, not the empty texture (a dark seam across pictures drawn
            // in pieces, such as the backgrounds' quadrants, on some graphics processors).
            if (n <= 0 || height <= 0) continue;
            const bool lastColumn = slot % Columns == Columns - 1;
            const bool lastRow = slot / Columns == Rows - 1;
            const auto texel = [&](int32_t x, int32_t y) {
                return bits + size_t(y) * size_t(pitch) + size_t(x) * bytesPerTexel;
            };
            if (lastColumn && destX + n < TextureWidth)
                for (int32_t r = 0; r < height; ++r)
                    std::memcpy(texel(destX + n, destY + r), texel(destX + n - 1, destY + r),
                                size_t(bytesPerTexel));
            const int32_t rowTexels = n + (lastColumn && destX + n < TextureWidth ? 1 : 0);
            if (lastRow && destY + height < TextureHeight)
                std::memcpy(texel(destX, destY + height), texel(destX, destY + height - 1),
                            size_t(rowTexels) * size_t(bytesPerTexel));
        }
        if (const int32_t unlocked = UnlockTexture(t); unlocked != 0) return unlocked;
    }
    return 0;
}

int32_t TPatternImage::FreeTextures() {
    const bool had = Loaded && !Textures.empty();
    Textures.clear();
    source_.clear();
    Loaded = false;
    PatternWidth = PatternHeight = TextureWidth = TextureHeight = 0;
    texelPatternWidth_ = texelPatternHeight_ = 0;
    PatternCount = Columns = Rows = PatternsPerTexture = Format = 0;
    return had ? piDone : piWasEmpty;
}

bool TPatternImage::SelectPattern(int32_t pattern, bool mirror, bool flip,
                                  TPatternSelection& out) const {
    out.Texture = nullptr;
    if (!Loaded || Textures.empty() || PatternCount < 1 || PatternsPerTexture < 1 || Columns < 1 ||
        Rows < 1)
        return false;
    pattern = std::clamp(pattern, 0, PatternCount - 1);
    const size_t texture = size_t(pattern / PatternsPerTexture);
    if (texture >= Textures.size()) return false;
    const int32_t slot = pattern % PatternsPerTexture;
    const int32_t column = slot % Columns;
    const int32_t row = (slot / Columns) % Rows;
    const int32_t pw = texelPatternWidth_, ph = texelPatternHeight_;
    const int32_t x0 = column * pw, y0 = row * ph;
    float uL = float(x0) / float(TextureWidth);
    float uR = float(x0 + pw) / float(TextureWidth);
    float vT = float(y0) / float(TextureHeight);
    float vB = float(y0 + ph) / float(TextureHeight);
    if (mirror) std::swap(uL, uR);
    if (flip) std::swap(vT, vB);
    out.Texture = Textures[texture].get();
    out.U[0] = uL, out.V[0] = vT; // top-left
    out.U[1] = uR, out.V[1] = vT; // top-right
    out.U[2] = uL, out.V[2] = vB; // bottom-left
    out.U[3] = uR, out.V[3] = vB; // bottom-right
    return true;
}

int32_t TPatternImage::CreateTextures(IGfxDevice* device, int32_t textureWidth,
                                      int32_t textureHeight, int32_t patternWidth,
                                      int32_t patternHeight, int32_t textureCount, int32_t format) {
    if (textureCount < 1 || textureCount > kMaxTextureCount || Loaded ||
        patternWidth > textureWidth || patternHeight > textureHeight || patternWidth < 0 ||
        patternHeight < 0 || textureWidth < 1 || textureHeight < 1)
        return piBadSizes;
    if (!device) return piNoTextures;
    Textures.clear();
    for (int32_t i = 0; i < textureCount; ++i) {
        std::shared_ptr<IGfxTexture> texture;
        if (device->CreateTexture(uint32_t(textureWidth), uint32_t(textureHeight), 1, 0, format,
                                  D3DPOOL_MANAGED, texture) != GFX_OK ||
            !texture) {
            FreeTextures();
            return piNoTextures;
        }
        Textures.push_back(std::move(texture));
    }
    Format = format;
    TextureWidth = textureWidth;
    TextureHeight = textureHeight;
    texelPatternWidth_ = patternWidth ? patternWidth : textureWidth;
    texelPatternHeight_ = patternHeight ? patternHeight : textureHeight;
    const int32_t d = std::max(1, Density);
    PatternWidth = texelPatternWidth_ / d;
    PatternHeight = texelPatternHeight_ / d;
    Columns = TextureWidth / texelPatternWidth_;
    Rows = TextureHeight / texelPatternHeight_;
    PatternsPerTexture = Columns * Rows;
    PatternCount = textureCount * PatternsPerTexture;
    Loaded = true;
    return 0;
}

int32_t TPatternImage::LockTexture(int32_t index, int32_t& pitch, uint8_t*& bits) {
    if (!Loaded || index < 0 || index >= int32_t(Textures.size())) return piNotLoaded;
    TGfxLockedRect rect;
    if (Textures[size_t(index)]->LockRect(0, rect, 0) != GFX_OK) return piLockFailed;
    pitch = rect.Pitch;
    bits = rect.Bits;
    return 0;
}

int32_t TPatternImage::UnlockTexture(int32_t index) {
    if (!Loaded || index < 0 || index >= int32_t(Textures.size())) return piNotLoaded;
    return Textures[size_t(index)]->UnlockRect(0) == GFX_OK ? piDone : piLockFailed;
}
