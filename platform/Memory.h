#pragma once
// The process's use of memory beyond what the game holds: the allocator's free pages, and what
// happens when memory runs short.
#include <cstddef>

// Big blocks (textures, pictures being read) get pages of their own, which go back to the system
// as soon as they are freed; otherwise they may sit in the middle of the heap after the logo's
// pictures are released. Call once, first thing.
void KeepBigBlocksApart();
// Gives the allocator's free pages back to the system (after a phase that freed much).
void ReturnFreeMemory();

// A reserve held from the start and given up the first time memory runs short, so that the
// program can still say why and end cleanly (exception handling, the log, the message).
void HoldMemoryReserve();
// Memory ran short: an allocation failed somewhere (a library's, a picture's, a thread's stack).
// Gives up the reserve; the start and the loading end the program at their next step.
void NoteMemoryShort();
bool MemoryRanShort();
// True when `bytes` more can be had right now (taken and given back at once). Some libraries (the
// Vorbis decoder) do not check their own allocations: they are called only with this much room.
bool MemoryAvailable(size_t bytes);
// A malloc, calloc and realloc for libraries that can take their allocator (SDL): a failure
// notes the shortage, gives up the reserve and tries once more.
void* ShortOfMemoryMalloc(size_t bytes);
void* ShortOfMemoryCalloc(size_t count, size_t bytes);
void* ShortOfMemoryRealloc(void* block, size_t bytes);
