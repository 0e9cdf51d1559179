#include "host/picture_decoder.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include <stb/stb_image.h>

DecodedPicture DecodePictureFile(const std::string& file) {
    DecodedPicture picture;
    std::FILE* stream = std::fopen(file.c_str(), "rb");
    if (!stream) return picture;
    picture.pixels = stbi_load_from_file(stream, &picture.width, &picture.height, &picture.depth, 0);
    std::fclose(stream);
    if (picture.pixels && (picture.width <= 0 || picture.height <= 0)) {
        std::free(picture.pixels);
        picture.pixels = nullptr;
    }
    return picture;
}

PictureDecoder::PictureDecoder(bool withWorker) : withWorker_(withWorker && TARVOLAN_DECODE_THREAD) {}

PictureDecoder::~PictureDecoder() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        DropAll();
    }
    if (worker_.joinable()) worker_.join();
}

void PictureDecoder::Queue(const std::vector<std::string>& files) {
    std::unique_lock<std::mutex> lock(mutex_);
    DropAll();
    for (const std::string& file : files) {
        auto job = std::make_shared<Job>();
        job->file = file;
        jobs_.push_back(job);
    }
    if (!withWorker_ || working_ || jobs_.empty()) return;
#if TARVOLAN_DECODE_THREAD
    // A worker that ran out of work has left its loop; a new one takes over.
    if (worker_.joinable()) worker_.join();
    working_ = true;
    worker_ = std::thread(&PictureDecoder::Work, this);
#endif
}

bool PictureDecoder::Take(const std::string& file, DecodedPicture* picture) {
    std::unique_lock<std::mutex> lock(mutex_);
    const auto found =
        std::find_if(jobs_.begin(), jobs_.end(), [&](const std::shared_ptr<Job>& job) { return job->file == file; });
    if (found == jobs_.end()) return false;
    const std::shared_ptr<Job> job = *found;
    jobs_.erase(found);
    if (job->stage == Stage::kQueued) {
        job->stage = Stage::kDecoding;
        Decode(job, lock);
    }
    decoded_.wait(lock, [&] { return job->stage == Stage::kDone; });
    *picture = job->picture;
    return picture->pixels != nullptr;
}

// Called with the lock held.
void PictureDecoder::DropAll() {
    for (const std::shared_ptr<Job>& job : jobs_) {
        if (job->stage == Stage::kDone) std::free(job->picture.pixels);
        job->dropped = true;
    }
    jobs_.clear();
}

void PictureDecoder::Decode(const std::shared_ptr<Job>& job, std::unique_lock<std::mutex>& lock) {
    lock.unlock();
    DecodedPicture picture = DecodePictureFile(job->file);
    lock.lock();
    job->stage = Stage::kDone;
    if (job->dropped) {
        std::free(picture.pixels);
        return;
    }
    job->picture = picture;
    decoded_.notify_all();
}

void PictureDecoder::Work() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        const auto next = std::find_if(jobs_.begin(), jobs_.end(),
                                       [](const std::shared_ptr<Job>& job) { return job->stage == Stage::kQueued; });
        if (next == jobs_.end()) break;
        const std::shared_ptr<Job> job = *next;
        job->stage = Stage::kDecoding;
        Decode(job, lock);
    }
    working_ = false;
}
