// Files decoded ahead of need: the files a loader will ask for are queued, a
// worker thread decodes them in queue order, and the one who needs a file
// takes it, waiting if the worker is on it and decoding it there and then if
// nobody has begun it. Without a worker (the browser has no threads) every
// file is decoded when it is taken, in the order asked, exactly as without a
// queue.
//
// The worker touches no String, no collected object and no output: the files
// are plain file-system names, and a file that cannot be decoded is only
// marked so; the one who asks then takes the ordinary path, which tells why.
//
// `Decoded` holds its bytes in `data`, a malloc buffer that whoever takes it
// owns, null when the file could not be decoded; `DecodeFile` makes one.
#pragma once

#include <algorithm>
#include <condition_variable>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

template <class Decoded, Decoded (*DecodeFile)(const std::string&)>
class AheadDecoder {
public:
    // Without threads in the build (TARVOLAN_DECODE_THREAD 0) there is never a
    // worker, whatever `withWorker` asks.
    explicit AheadDecoder(bool withWorker) : withWorker_(withWorker && TARVOLAN_DECODE_THREAD) {}
    ~AheadDecoder() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            DropAll();
        }
        if (worker_.joinable()) worker_.join();
    }
    AheadDecoder(const AheadDecoder&) = delete;
    AheadDecoder& operator=(const AheadDecoder&) = delete;

    // Replaces what is queued: files decoded but not taken are freed. The
    // same file may be queued more than once; each is taken once.
    void Queue(const std::vector<std::string>& files) {
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
        worker_ = std::thread(&AheadDecoder::Work, this);
#endif
    }

    // The oldest queued decoding of `file`; false when none is queued or it
    // could not be decoded (nothing is then taken from the caller's view).
    bool Take(const std::string& file, Decoded* decoded) {
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
        *decoded = job->decoded;
        return decoded->data != nullptr;
    }

private:
    enum class Stage { kQueued, kDecoding, kDone };
    struct Job {
        std::string file;
        Stage stage = Stage::kQueued;
        bool dropped = false;  // no longer queued: its decoder frees the bytes
        Decoded decoded;
    };

    // Called with the lock held.
    void DropAll() {
        for (const std::shared_ptr<Job>& job : jobs_) {
            if (job->stage == Stage::kDone) std::free(job->decoded.data);
            job->dropped = true;
        }
        jobs_.clear();
    }

    // Decodes a job already claimed (stage kDecoding) with the lock released.
    void Decode(const std::shared_ptr<Job>& job, std::unique_lock<std::mutex>& lock) {
        lock.unlock();
        Decoded decoded = DecodeFile(job->file);
        lock.lock();
        job->stage = Stage::kDone;
        if (job->dropped) {
            std::free(decoded.data);
            return;
        }
        job->decoded = decoded;
        decoded_.notify_all();
    }

    void Work() {
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

    const bool withWorker_;
    std::mutex mutex_;
    std::condition_variable decoded_;
    std::vector<std::shared_ptr<Job>> jobs_;
    bool working_ = false;
    std::thread worker_;
};
