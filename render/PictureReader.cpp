#include "render/PictureReader.h"

#include "platform/Bitmap.h"

#include <algorithm>
#include <new>

TPictureReader::TPictureReader(std::vector<std::string> files, size_t ahead)
    : files_(std::move(files)), ahead_(std::max<size_t>(ahead, 1)), pictures_(files_.size()),
      thread_([this] { Run(); }) {}

TPictureReader::~TPictureReader() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stop_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void TPictureReader::Run() {
    struct TRelease {
        ~TRelease() { ReleasePictureThreadState(); }
    } release;
    for (size_t i = 0; i < files_.size(); ++i) {
        {
            std::unique_lock<std::mutex> lock(mutex_);
            changed_.wait(lock, [&] { return stop_ || i < taken_ + ahead_; });
            if (stop_) return;
        }
        auto picture = std::make_unique<TBitmapEx>();
        bool ok = false;
        try {
            ok = picture->LoadFromFile(files_[i]) && picture->SetBitsPerPixel(32);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (ok) pictures_[i] = std::move(picture);
            read_ = i + 1;
        }
        changed_.notify_all();
    }
}

std::unique_ptr<TBitmapEx> TPictureReader::Take(size_t index) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (index >= files_.size() || index < taken_) return nullptr;
    taken_ = index + 1;
    changed_.notify_all(); // room for the reader to go on
    changed_.wait(lock, [&] { return stop_ || read_ > index; });
    return std::move(pictures_[index]);
}

bool TPictureReader::WaitReady(size_t index, std::chrono::microseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (index >= files_.size()) return false;
    // The reader may be waiting for room: taking is what makes room.
    if (index >= taken_ + ahead_) return false;
    return changed_.wait_for(lock, timeout, [&] { return stop_ || read_ > index; }) &&
           read_ > index;
}
