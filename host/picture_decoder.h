// Pictures decoded ahead of need: the files a loader will ask for are queued,
// a worker thread decodes them in queue order, and the one who needs a picture
// takes it, waiting if the worker is on it and decoding it there and then if
// nobody has begun it. Without a worker (the browser has no threads) every
// picture is decoded when it is taken, in the order asked, exactly as without
// a queue.
//
// The worker touches no String, no collected object and no output: the files
// are plain file-system names, and a picture that cannot be decoded is only
// marked so; the one who asks then takes the ordinary path, which tells why.
#pragma once

#include <condition_variable>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Pixels as stb_image gives them: rows top first, 1 to 4 bytes per pixel, a
// malloc buffer that whoever takes it owns.
struct DecodedPicture {
    unsigned char* pixels = nullptr;
    int width = 0;
    int height = 0;
    int depth = 0;
};

// The file decoded the same way the ordinary load does; no pixels when it
// cannot be opened or decoded, or has no pixels.
DecodedPicture DecodePictureFile(const std::string& file);

class PictureDecoder {
public:
    // Without threads in the build (TARVOLAN_DECODE_THREAD 0) there is never a
    // worker, whatever `withWorker` asks.
    explicit PictureDecoder(bool withWorker);
    ~PictureDecoder();
    PictureDecoder(const PictureDecoder&) = delete;
    PictureDecoder& operator=(const PictureDecoder&) = delete;

    // Replaces what is queued: pictures decoded but not taken are freed. The
    // same file may be queued more than once; each is taken once.
    void Queue(const std::vector<std::string>& files);
    // The oldest queued picture of `file`; false when none is queued or it
    // could not be decoded (nothing is then taken from the caller's view).
    bool Take(const std::string& file, DecodedPicture* picture);

private:
    enum class Stage { kQueued, kDecoding, kDone };
    struct Job {
        std::string file;
        Stage stage = Stage::kQueued;
        bool dropped = false;  // no longer queued: its decoder frees the pixels
        DecodedPicture picture;
    };

    void DropAll();
    void Work();
    // Decodes a job already claimed (stage kDecoding) with the lock released.
    void Decode(const std::shared_ptr<Job>& job, std::unique_lock<std::mutex>& lock);

    const bool withWorker_;
    std::mutex mutex_;
    std::condition_variable decoded_;
    std::vector<std::shared_ptr<Job>> jobs_;
    bool working_ = false;
    std::thread worker_;
};
