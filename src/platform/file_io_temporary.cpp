#include "platform/file_io_temporary.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <string_view>

namespace platform {
namespace {

constexpr std::string_view kTag = ".velkaro-";
constexpr size_t kRandomLength = 6;
constexpr int kNameAttempts = 16;
constexpr std::string_view kAlphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

std::string RandomSuffix() {
    unsigned char bytes[kRandomLength] = {};
    if (::getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) {
        // Only uniqueness matters, and a taken name is retried.
        const auto seed = static_cast<unsigned>(::getpid()) ^ static_cast<unsigned>(::clock());
        for (size_t i = 0; i < kRandomLength; ++i)
            bytes[i] = static_cast<unsigned char>(seed >> (i * 5));
    }
    std::string suffix;
    for (unsigned char byte : bytes)
        suffix += kAlphabet[byte % kAlphabet.size()];
    return suffix;
}

bool IsRandomSuffix(std::string_view text) {
    return text.size() == kRandomLength &&
           text.find_first_not_of(kAlphabet) == std::string_view::npos;
}

// Without privileges an unnamed file gets its name through its /proc link.
std::string ProcFdPath(int fd) {
    return "/proc/self/fd/" + std::to_string(fd);
}

bool LinkUnnamed(int fd, const std::string& name) {
    return ::linkat(AT_FDCWD, ProcFdPath(fd).c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) ==
           0;
}

void SyncFolder(const std::string& folder) {
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
}

// Ours and named as a temporary of `target` (this scheme's in any case, the earlier
// "<target>.XXXXXX" only for the file being written: elsewhere such a name may well be a
// user's own file).
bool IsTemporaryName(std::string_view name, std::string_view target) {
    if (name.size() > kTag.size() + kRandomLength &&
        name.substr(name.size() - kRandomLength - kTag.size(), kTag.size()) == kTag &&
        IsRandomSuffix(name.substr(name.size() - kRandomLength)))
        return true;
    return name.size() == target.size() + 1 + kRandomLength && name.starts_with(target) &&
           name[target.size()] == '.' && IsRandomSuffix(name.substr(target.size() + 1));
}

// Removes `name` when it is a regular file that no living writer holds locked.
void RemoveIfAbandoned(int dir, const char* name) {
    const int fd = ::openat(dir, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat held {};
    struct stat named {};
    if (::fstat(fd, &held) == 0 && S_ISREG(held.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
        ::fstatat(dir, name, &named, AT_SYMLINK_NOFOLLOW) == 0 && named.st_ino == held.st_ino &&
        named.st_dev == held.st_dev) {
        ::unlinkat(dir, name, 0);
    }
    ::close(fd);
}

}  // namespace

TemporaryFile::TemporaryFile(const std::string& path)
    : folder_(FolderOf(path)), base_(BaseOf(path)) {
    if (!OpenAnonymous() && !OpenNamed())
        return;
    // Held until the file is closed: the mark of a temporary someone is still writing.
    // Named, there is a moment before the lock when a cleanup could take it for stale;
    // the write then fails as any other would.
    ::flock(fd_, LOCK_EX);
}

TemporaryFile::~TemporaryFile() {
    if (!name_.empty())
        ::unlink(name_.c_str());
    if (fd_ >= 0)
        ::close(fd_);
}

bool TemporaryFile::Fail(int error) {
    error_ = error != 0 ? error : EIO;
    return false;
}

bool TemporaryFile::OpenAnonymous() {
    if (::access("/proc/self/fd", X_OK) != 0)
        return false;
    fd_ = ::open(folder_.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0666);
    return fd_ >= 0;
}

bool TemporaryFile::OpenNamed() {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::string name = folder_ + "/" + base_ + std::string(kTag) + RandomSuffix();
        // open() rather than mkstemp(): the mode then follows the umask like any new file.
        fd_ = ::open(name.c_str(), O_CREAT | O_EXCL | O_RDWR | O_CLOEXEC, 0666);
        if (fd_ >= 0) {
            name_ = std::move(name);
            return true;
        }
        if (errno != EEXIST)
            return Fail(errno);
    }
    return Fail(EEXIST);
}

bool TemporaryFile::NameAnonymous(std::string* name) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        *name = folder_ + "/" + base_ + std::string(kTag) + RandomSuffix();
        if (LinkUnnamed(fd_, *name))
            return true;
        if (errno != EEXIST)
            break;
    }
    const int error = errno;
    name->clear();
    return Fail(error);
}

bool TemporaryFile::Publish(const std::string& path, bool replace) {
    if (fd_ < 0)
        return Fail(EBADF);
    const bool anonymous = name_.empty();
    if (!replace) {
        const bool linked =
            anonymous ? LinkUnnamed(fd_, path) : ::link(name_.c_str(), path.c_str()) == 0;
        if (!linked)
            return Fail(errno);
    } else {
        // rename() is what replaces a file in one step, and it needs a name to move.
        if (anonymous && !NameAnonymous(&name_))
            return false;
        if (::rename(name_.c_str(), path.c_str()) != 0)
            return Fail(errno);
        name_.clear();
    }
    if (!name_.empty()) {
        ::unlink(name_.c_str());
        name_.clear();
    }
    error_ = 0;
    SyncFolder(FolderOf(path));
    return true;
}

void RemoveStaleTemporaries(const std::string& path) {
    const std::string target = BaseOf(path);
    DIR* dir = ::opendir(FolderOf(path).c_str());
    if (dir == nullptr)
        return;
    while (const dirent* entry = ::readdir(dir)) {
        if (IsTemporaryName(entry->d_name, target))
            RemoveIfAbandoned(::dirfd(dir), entry->d_name);
    }
    ::closedir(dir);
}

}  // namespace platform
