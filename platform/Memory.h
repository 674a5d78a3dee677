#pragma once
// The process's use of memory beyond what the game holds: the allocator's free pages.

// Big blocks (textures, pictures being read) get pages of their own, which go back to the system
// as soon as they are freed; otherwise they may sit in the middle of the heap after the logo's
// pictures are released. Call once, first thing.
void KeepBigBlocksApart();
// Gives the allocator's free pages back to the system (after a phase that freed much).
void ReturnFreeMemory();
