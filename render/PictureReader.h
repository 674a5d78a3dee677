#pragma once
// TPictureReader: reads and decodes a list of pictures on a thread of its own, in order and a few
// ahead of their use, so that turning one into textures (which only the drawing thread does)
// overlaps with reading the next. It touches nothing but the files and its own pictures. Where the
// host runs no threads, each picture is read when it is taken.
#include "render/ImageReader.h"

#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TPictureReader {
public:
    // Starts reading `files` (names as TBitmapEx::LoadFromFile takes them), at most `ahead` of
    // the last one taken.
    explicit TPictureReader(std::vector<std::string> files, size_t ahead = 4);
    ~TPictureReader(); // stops after the picture being read
    TPictureReader(const TPictureReader&) = delete;
    TPictureReader& operator=(const TPictureReader&) = delete;

    // The picture of files[index] as TBitmapEx::LoadFromFile reads it (the "NO IMAGE" placeholder
    // for a missing file), at 32 bits a pixel; waits until it is read. Null when it could not be
    // read (a damaged file, no memory): the caller reads it again itself to learn why. Indices
    // are taken in rising order, each once.
    std::unique_ptr<TBitmapEx> Take(size_t index);
    // Waits at most `timeout` for files[index] to be read; true when it is (Take then does not
    // wait).
    bool WaitReady(size_t index, std::chrono::microseconds timeout);

private:
    void Run();
    std::unique_ptr<TBitmapEx> Read(size_t index) const;

    std::vector<std::string> files_;
    size_t ahead_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::unique_ptr<TBitmapEx>> pictures_;
    size_t read_ = 0;  // pictures read (or failed) so far
    size_t taken_ = 0; // one past the last index taken
    bool stop_ = false;
    std::thread thread_; // last: starts once everything above is ready; none without threads
};
