#pragma once
// The pixel converters: each turns Count 32-bit picture pixels (bytes blue, green, red, alpha)
// into Count texels of one texture format at Dest (little-endian, no alignment needed). Channels
// are narrowed by rounding to the nearest representable level. Converters that ignore alpha take
// the fourth byte as padding.
//
// The converters are part of the program; the library name and the load step remain so that
// start-up can name and check them as it always has.
#include <cstdint>
#include <string>

using TPixConvLine = void (*)(const void* source, void* dest, int32_t count);

void pconvLine24to24(const void* source, void* dest, int32_t count); // X8R8G8B8, 4 bytes
void pconvLine24to16(const void* source, void* dest, int32_t count); // R5G6B5, 2 bytes
void pconvLine24to15(const void* source, void* dest, int32_t count); // X1R5G5B5, 2 bytes
void pconvLine24to12(const void* source, void* dest, int32_t count); // X4R4G4B4, 2 bytes
void pconvLine24to8(const void* source, void* dest, int32_t count);  // R3G3B2, 1 byte
void pconvLine32to15(const void* source, void* dest, int32_t count); // A1R5G5B5, 2 bytes
void pconvLine32to12(const void* source, void* dest, int32_t count); // A4R4G4B4, 2 bytes
void pconvLine32to8(const void* source, void* dest, int32_t count);  // A8R3G3B2, 2 bytes
// A8R8G8B8: the pixels as they are.
void pconvLineCopy32(const void* source, void* dest, int32_t count);

// The row converter for a texture format (21..27, 29, 30); null for any other.
TPixConvLine PixConvForFormat(int32_t format);

// The converters' library name, "PixConv.dll" from start-up; start-up assigns it again.
extern std::string PixConvLibraryName;
// Makes the converters available; true once they are (always, being built in).
bool LoadPixConv();
