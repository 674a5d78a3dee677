#pragma once
// Reading one part of a regular file by its position: the members of a data pack, read without
// reading the rest.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads exactly `size` bytes of `file` from byte `offset` into `bytes`. False (with the reason)
// when the file does not exist, is no regular file (a FIFO, a device, a folder) or ends before
// offset + size. `fileSize`, when given, receives the file's whole size whenever the file could
// be opened. Safe to call from several threads at once: each call opens the file itself.
bool ReadFileRange(const std::string& file, uint64_t offset, size_t size,
                   std::vector<uint8_t>& bytes, std::string* error, uint64_t* fileSize = nullptr);
