// Files: opening by mapped path, whole-file reads, text decoding and the
// state file.
#include "host/files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/kzglfwgame.h"

namespace {

constexpr int kReadBlock = 4096;
const char kStatePath[] = "./.zarnikstate";

struct SchemeDirectory {
    const char* prefix;
    const char* directory;
};
const SchemeDirectory kSchemes[] = {
    {"zarnik://data/", "./data/"},
    {"zarnik://internal/", "./internal/"},
    {"zarnik://external/", "./external/"},
};

bool StartsWith(const String& text, const char* prefix) {
    const int n = static_cast<int>(std::strlen(prefix));
    if (text.Length() < n) return false;
    for (int i = 0; i < n; ++i) {
        if (text[i] != static_cast<unsigned char>(prefix[i])) return false;
    }
    return true;
}

int IndexOf(const String& text, const char* needle, int from = 0) {
    const int n = static_cast<int>(std::strlen(needle));
    for (int i = from; i + n <= text.Length(); ++i) {
        int k = 0;
        while (k < n && text[i + k] == static_cast<unsigned char>(needle[k])) ++k;
        if (k == n) return i;
    }
    return -1;
}

std::string ToUtf8(const String& text) {
    std::string bytes;
    text.AppendUtf8(bytes);
    return bytes;
}

// Reads to the end in blocks, stopping at the first short read.
std::vector<unsigned char> ReadWhole(std::FILE* file) {
    std::vector<unsigned char> bytes;
    for (;;) {
        const size_t old_size = bytes.size();
        bytes.resize(old_size + kReadBlock);
        const size_t got = std::fread(bytes.data() + old_size, 1, kReadBlock, file);
        bytes.resize(old_size + got);
        if (got < static_cast<size_t>(kReadBlock)) return bytes;
    }
}

String DecodeFile(std::FILE* file) {
    const std::vector<unsigned char> bytes = ReadWhole(file);
    std::fclose(file);
    return String::Load(bytes.data(), static_cast<int>(bytes.size()));
}

// Writes the whole text to a new file beside the state file and makes it
// durable, then renames it over the state file, so the old state survives
// any failure on the way. Returns 0, -1 (nothing could be written) or -2
// (short write).
int ReplaceStateFile(const std::string& path, const std::string& bytes) {
    std::string temp_path = path + ".XXXXXX";
    const int fd = mkstemp(temp_path.data());
    if (fd < 0) return -1;
    // Same permissions as a file created the ordinary way.
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);

    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n <= 0) break;
        written += static_cast<size_t>(n);
    }
    const bool complete = written == bytes.size() && fsync(fd) == 0;
    if (close(fd) != 0 || !complete) {
        unlink(temp_path.c_str());
        return -2;
    }
    if (rename(temp_path.c_str(), path.c_str()) != 0) {
        unlink(temp_path.c_str());
        return -1;
    }
    return 0;
}

}  // namespace

String kz_data_FixDataPath(String path) {
    const int i = IndexOf(path, ":/");
    if (i != -1 && IndexOf(path, "/") == i + 1) return path;
    if (StartsWith(path, "./") || StartsWith(path, "/")) return path;
    return String("zarnik://data/") + path;
}

String KzGlfwGame::PathToFilePath(String path) {
    if (!StartsWith(path, "zarnik:")) return path;
    for (const SchemeDirectory& scheme : kSchemes) {
        if (StartsWith(path, scheme.prefix)) {
            return String(scheme.directory) + path.Substring(static_cast<int>(std::strlen(scheme.prefix)));
        }
    }
    return String();
}

std::FILE* KzGame::OpenFile(String path, String mode) {
    const String file_path = PathToFilePath(path);
    if (file_path.Length() == 0) return nullptr;
    const std::string name = ToUtf8(file_path);
    // A character 0 would silently cut the name short and open another file.
    if (name.find('\0') != std::string::npos) return nullptr;
    return std::fopen(name.c_str(), ToUtf8(mode).c_str());
}

String KzGame::LoadString(String path) {
    std::FILE* file = OpenFile(path, String("rb"));
    if (!file) return String();
    return DecodeFile(file);
}

unsigned char* KzGame::LoadData(String path, int* plength) {
    std::FILE* file = OpenFile(path, String("rb"));
    if (!file) return nullptr;
    const std::vector<unsigned char> bytes = ReadWhole(file);
    std::fclose(file);
    const int length = static_cast<int>(bytes.size());
    // malloc(0) may give null; a zero-length file still gets a buffer.
    auto* data = static_cast<unsigned char*>(std::malloc(bytes.empty() ? 1 : bytes.size()));
    if (!data) return nullptr;
    if (length > 0) std::memcpy(data, bytes.data(), bytes.size());
    *plength = length;
    gc_ext_malloced(length);
    return data;
}

int KzGame::SaveState(String state) {
    const String path = PathToFilePath(String(kStatePath));
    if (path.Length() == 0) return -1;
    std::string bytes;
    state.AppendUtf8(bytes);
    return ReplaceStateFile(ToUtf8(path), bytes);
}

String KzGame::LoadState() {
    std::FILE* file = OpenFile(String(kStatePath), String("rb"));
    if (!file) return String();
    return DecodeFile(file);
}
