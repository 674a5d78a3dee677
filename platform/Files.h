#pragma once
// Whole-file reading and crash-safe writing of the player's files, and the local time of day.
// Every file is opened without blocking (a FIFO or a device in a file's place is refused, never
// waited on), reads are bounded, and written files never follow a symlink.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads the whole file; false (with the reason) when it does not exist, is no regular file (a
// FIFO, a device, a folder; symlinks are followed to what they name) or holds more than
// `limit` bytes.
// With `followSymlinks` false a symlink in the file's place is refused too (errno ELOOP).
bool ReadFileBytes(const std::string& file, std::vector<uint8_t>& bytes, std::string* error,
                   size_t limit = size_t{1} << 20, bool followSymlinks = true);
// True when `file` names a regular file (symlinks followed); a FIFO or a device is not one.
bool IsRegularFile(const std::string& file);
// Writes to "<file>.tmp" (created exclusively, never through a symlink), flushes it to disk,
// renames it over `file` and flushes the folder, so that a failed or interrupted write leaves
// the old file intact. False (with the reason) on any failure; no temporary file is left.
bool WriteFileAtomically(const std::string& file, const std::vector<uint8_t>& bytes,
                         std::string* error);
// Renames `file` to `aside` (replacing what is there; a symlink is moved, not followed) and
// flushes the folder: a file the game cannot use is kept under another name before anything
// replaces it. False (with the reason) when it cannot be moved.
bool MoveFileAside(const std::string& file, const std::string& aside, std::string* error);
// Removes "<file>.tmp" left by a write that was interrupted (a killed program); a symlink there
// is removed, not followed. Only for a program that holds the instance lock.
void RemoveStaleTemporary(const std::string& file);

// The steps of WriteFileAtomically, each of which can fail: creating the temporary file, each
// write into it, flushing it to disk, renaming it over the file, flushing the folder.
// MoveFileAside has a Begin, a Rename and a SyncFolder step, named by the aside file.
enum class TWriteStage { Begin, Create, Write, Flush, Rename, SyncFolder };
// Called at the start of every WriteFileAtomically (Begin) and before each of its steps, with the
// file being written: a non-zero result makes that step fail with that errno, as a read-only or
// full folder would, whoever runs the program (permissions do not stop root). For the tests'
// fault injection and crash points (tests/support/WriteFaults.h); the default, null, fails
// nothing. A failing SyncFolder step is not reported: the file is in place by then.
using TWriteStageHook = int (*)(TWriteStage stage, const std::string& file);
void SetWriteStageHook(TWriteStageHook hook);

// The local time of day, "HH:MM:SS".
std::string TimeOfDayText();
