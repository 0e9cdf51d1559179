// Files: opening by mapped path, whole-file reads, text decoding, the state
// file, and telling the player about files that cannot be read or written.
#include "host/files.h"

#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "host/file_layout.h"
#include "host/kzglfwgame.h"

namespace {

constexpr int kReadBlock = 4096;
// One fixed name, so a save that was killed leaves at most this file, which
// the next save replaces.
const char kTempSuffix[] = ".tmp";
// A state file the game could not take whole is kept under this suffix.
const char kKeptSuffix[] = ".bad";
// As many links as the system itself follows in one lookup.
constexpr int kMaxLinks = 40;

const char kDataScheme[] = "zarnik://data/";

struct SchemeDirectory {
    const char* prefix;
    const char* directory;
};
// The data scheme follows the file layout; these two stay beside it.
const SchemeDirectory kOtherSchemes[] = {
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

// Reads to the end in blocks, stopping at the first short read; false when
// the file could not be read to its end.
bool ReadWhole(std::FILE* file, std::vector<unsigned char>* bytes) {
    for (;;) {
        const size_t old_size = bytes->size();
        bytes->resize(old_size + kReadBlock);
        const size_t got = std::fread(bytes->data() + old_size, 1, kReadBlock, file);
        bytes->resize(old_size + got);
        if (got < static_cast<size_t>(kReadBlock)) return !std::ferror(file);
    }
}

bool IsFolder(std::FILE* file) {
    struct stat status;
    return fstat(fileno(file), &status) == 0 && S_ISDIR(status.st_mode);
}

// The outermost folder on the way to `file` that does not exist, or `file`
// itself: a missing data folder is then told once, not once per asset.
std::string MissingPart(const std::string& file) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1)) {
        struct stat status;
        if (stat(file.substr(0, slash).c_str(), &status) != 0 && errno == ENOENT) return file.substr(0, slash + 1);
    }
    return file;
}

// The file a path finally names, following symbolic links (a relative one
// from its own folder), so that saving replaces a link's target and keeps the
// link. A path that names nothing yet is its own answer.
bool FollowLinks(std::string* path) {
    for (int depth = 0; depth < kMaxLinks; ++depth) {
        struct stat status;
        if (lstat(path->c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return true;
        char target[PATH_MAX];
        const ssize_t n = readlink(path->c_str(), target, sizeof target);
        if (n < 0) return false;
        if (n == static_cast<ssize_t>(sizeof target)) {
            errno = ENAMETOOLONG;
            return false;
        }
        const std::string link(target, static_cast<size_t>(n));
        const size_t folder_end = path->rfind('/');
        *path = link[0] == '/' || folder_end == std::string::npos ? link : path->substr(0, folder_end + 1) + link;
    }
    errno = ELOOP;
    return false;
}

bool WriteAll(int fd, const std::string& bytes) {
    size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        written += static_cast<size_t>(n);
    }
    return true;
}

// Writes the whole text to the one temporary file beside `path` and makes it
// durable, then renames it over `path`, so the old state survives any
// failure on the way. The temporary takes the old file's permissions.
// Returns 0, -1 (nothing could be written) or -2 (short write), with the
// reason in `error`.
int ReplaceFile(const std::string& path, const std::string& bytes, int* error) {
    const std::string temp_path = path + kTempSuffix;
    // A temporary left by a save that was cut short is replaced, never
    // written through: by now it might be a link to another file.
    unlink(temp_path.c_str());
    const int fd = open(temp_path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) {
        *error = errno;
        return -1;
    }
    struct stat old_file;
    if (stat(path.c_str(), &old_file) == 0 && S_ISREG(old_file.st_mode)) fchmod(fd, old_file.st_mode & 07777);

    bool complete = WriteAll(fd, bytes) && fsync(fd) == 0;
    if (!complete) *error = errno;
    if (close(fd) != 0 && complete) {
        *error = errno;
        complete = false;
    }
    if (!complete) {
        unlink(temp_path.c_str());
        return -2;
    }
    if (rename(temp_path.c_str(), path.c_str()) != 0) {
        *error = errno;
        unlink(temp_path.c_str());
        return -1;
    }
    return 0;
}

// Creates the missing folders on the way to `file`, each readable by its
// owner only, as a player's own data should be. False with errno set when
// one cannot be made.
bool MakeFoldersFor(const std::string& file) {
    for (size_t slash = file.find('/', 1); slash != std::string::npos; slash = file.find('/', slash + 1)) {
        if (mkdir(file.substr(0, slash).c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    return true;
}

String StatePath() { return String(CurrentFileLayout().stateFile.c_str()); }

}  // namespace

String kz_data_FixDataPath(String path) {
    const int i = IndexOf(path, ":/");
    if (i != -1 && IndexOf(path, "/") == i + 1) return path;
    if (StartsWith(path, "./") || StartsWith(path, "/")) return path;
    return String(kDataScheme) + path;
}

Array<String> kz_data_FixDataPaths(Array<String> paths) {
    Array<String> fixed(paths.Length());
    for (int i = 0; i < paths.Length(); ++i) fixed[i] = kz_data_FixDataPath(paths[i]);
    return fixed;
}

String KzGlfwGame::PathToFilePath(String path) {
    if (!StartsWith(path, "zarnik:")) return path;
    if (StartsWith(path, kDataScheme)) {
        return String(CurrentFileLayout().dataFolder.c_str()) + path.Substring(static_cast<int>(std::strlen(kDataScheme)));
    }
    for (const SchemeDirectory& scheme : kOtherSchemes) {
        if (StartsWith(path, scheme.prefix)) {
            return String(scheme.directory) + path.Substring(static_cast<int>(std::strlen(scheme.prefix)));
        }
    }
    return String();
}

bool KzGame::FileSystemName(String path, std::string* name) {
    const String file_path = PathToFilePath(path);
    if (file_path.Length() == 0) {
        errno = ENOENT;
        return false;
    }
    *name = ToUtf8(file_path);
    // A character 0 would silently cut the name short and open another file.
    if (name->find('\0') != std::string::npos) {
        errno = EINVAL;
        return false;
    }
    return true;
}

std::vector<std::string> KzGame::FileSystemNames(Array<String> paths) {
    std::vector<std::string> names;
    for (const String& path : paths) {
        std::string name;
        if (FileSystemName(path, &name)) names.push_back(name);
    }
    return names;
}

std::FILE* KzGame::OpenFile(String path, String mode) {
    std::string name;
    if (!FileSystemName(path, &name)) return nullptr;
    return std::fopen(name.c_str(), ToUtf8(mode).c_str());
}

std::FILE* KzGame::OpenForReading(String path, bool tellMissing) {
    std::FILE* file = OpenFile(path, String("rb"));
    if (file && !IsFolder(file)) return file;
    if (file) {
        std::fclose(file);
        errno = EISDIR;
    }
    const int error = errno;
    if (error == ENOENT && !tellMissing) return nullptr;
    const String file_path = PathToFilePath(path);
    if (error == ENOENT && file_path.Length() > 0) {
        TellFileFailure("read", MissingPart(ToUtf8(file_path)), std::strerror(error));
    } else {
        TellUnreadable(path, std::strerror(error));
    }
    return nullptr;
}

void KzGame::TellUnreadable(String path, const char* reason) {
    const String file_path = PathToFilePath(path);
    TellFileFailure("read", ToUtf8(file_path.Length() > 0 ? file_path : path), reason);
}

void KzGame::TellFileFailure(const char* action, const std::string& file, const char* reason) {
    const std::string line = std::string("cannot ") + action + " " + file + ": " + reason + "\n";
    if (_toldFileFailures.insert(line).second) std::fputs(line.c_str(), stderr);
}

bool KzGame::ReadFile(String path, bool tellMissing, std::vector<unsigned char>* bytes) {
    std::FILE* file = OpenForReading(path, tellMissing);
    if (!file) return false;
    const bool whole = ReadWhole(file, bytes);
    const int error = errno;
    std::fclose(file);
    if (!whole) TellUnreadable(path, std::strerror(error));
    return whole;
}

String KzGame::LoadString(String path) {
    std::vector<unsigned char> bytes;
    if (!ReadFile(path, true, &bytes)) return String();
    return String::Load(bytes.data(), static_cast<int>(bytes.size()));
}

unsigned char* KzGame::LoadData(String path, int* plength) {
    std::vector<unsigned char> bytes;
    if (!ReadFile(path, true, &bytes)) return nullptr;
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
    const String path = PathToFilePath(StatePath());
    if (path.Length() == 0) return -1;
    std::string bytes;
    state.AppendUtf8(bytes);
    const std::string file = ToUtf8(path);
    std::string target = file;
    if (!MakeFoldersFor(file) || !FollowLinks(&target)) {
        TellFileFailure("write", file, std::strerror(errno));
        return -1;
    }
    int error = 0;
    const int result = ReplaceFile(target, bytes, &error);
    if (result != 0) TellFileFailure("write", target, std::strerror(error));
    return result;
}

void KzGame::KeepState() {
    std::vector<unsigned char> bytes;
    if (!ReadFile(StatePath(), false, &bytes)) return;
    const std::string kept = ToUtf8(PathToFilePath(StatePath())) + kKeptSuffix;
    int error = 0;
    if (ReplaceFile(kept, std::string(bytes.begin(), bytes.end()), &error) != 0) {
        TellFileFailure("keep the state file as", kept, std::strerror(error));
    }
}

String KzGame::LoadState() {
    std::vector<unsigned char> bytes;
    // No state file is the first run: nothing to tell.
    if (!ReadFile(StatePath(), false, &bytes)) return String();
    return String::Load(bytes.data(), static_cast<int>(bytes.size()));
}
