#include "platform/file_io.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/file_io_temporary.h"
#include "platform/text_convert.h"
#include "platform/user_notice.h"

namespace platform {
namespace {

// Far more than any user keeps; past it a damaged file is left where it is.
constexpr int kMaxDamagedCopies = 1000;

class FileDescriptor {
  public:
    explicit FileDescriptor(int fd) : fd_(fd) {}
    ~FileDescriptor() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int get() const { return fd_; }

  private:
    int fd_;
};

// errno of the failure; a write that stores nothing without an error counts as a full disk.
int WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return errno;
        if (n == 0)
            return ENOSPC;
        bytes.remove_prefix(static_cast<size_t>(n));
    }
    return ::fsync(fd) == 0 ? 0 : errno;
}

std::string DamagedCopyPath(const std::string& path, int n) {
    return path + ".corrupt" + (n == 1 ? std::string() : "." + std::to_string(n));
}

// The copy that already holds `bytes`, or else the first free copy number (0 for none).
int FindDamagedCopy(const std::string& path, std::string_view bytes, std::string* kept) {
    for (int n = 1; n <= kMaxDamagedCopies; ++n) {
        const std::string copy = DamagedCopyPath(path, n);
        int error = 0;
        const auto existing = ReadWholeFile(copy, &error);
        if (existing && *existing == bytes) {
            *kept = copy;
            return 0;
        }
        if (!existing && error == ENOENT)
            return n;
    }
    return 0;
}

// Writes `bytes` under the first free copy name from `n` on; the copy's path or empty.
std::string WriteDamagedCopy(const std::string& path, std::string_view bytes, int n) {
    TemporaryFile temp(path);
    if (!temp.Valid() || WriteAll(temp.Fd(), bytes) != 0)
        return {};
    for (; n <= kMaxDamagedCopies; ++n) {
        const std::string copy = DamagedCopyPath(path, n);
        if (temp.Publish(copy, false))
            return copy;
        if (temp.Error() != EEXIST)
            return {};
    }
    return {};
}

void TellSaveFailed(const std::string& path, int error) {
    TellUser(L"message_save_failed",
             Utf8Decode(path + " could not be saved (" + std::strerror(error) +
                        "); the file on disk is unchanged."));
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& path, int* errorCode) {
    auto fail = [&](int code) -> std::optional<std::string> {
        if (errorCode != nullptr)
            *errorCode = code;
        return std::nullopt;
    };
    FileDescriptor fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0)
        return fail(errno);
    struct stat info {};
    if (::fstat(fd.get(), &info) != 0)
        return fail(errno);
    if (!S_ISREG(info.st_mode))
        return fail(EISDIR);
    std::string bytes;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd.get(), buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return fail(errno);
        if (n == 0)
            break;
        bytes.append(buffer, static_cast<size_t>(n));
    }
    if (errorCode != nullptr)
        *errorCode = 0;
    return bytes;
}

bool WriteFileAtomic(const std::string& path, std::string_view bytes, int* errorCode) {
    int error = EINVAL;
    if (!path.empty()) {
        RemoveStaleTemporaries(path);
        TemporaryFile temp(path);
        error = temp.Valid() ? WriteAll(temp.Fd(), bytes) : temp.Error();
        if (error == 0 && !temp.Publish(path, true))
            error = temp.Error();
    }
    if (errorCode != nullptr)
        *errorCode = error;
    if (error != 0)
        TellSaveFailed(path, error);
    return error == 0;
}

bool SetDamagedFileAside(const std::string& path, std::string_view bytes, std::string_view reason) {
    std::string kept;
    if (const int free = FindDamagedCopy(path, bytes, &kept); free != 0)
        kept = WriteDamagedCopy(path, bytes, free);
    const std::string what = path + " could not be read (" + std::string(reason) + "); ";
    if (kept.empty()) {
        TellUser(L"message_file_damaged",
                 Utf8Decode(what + "no copy of it could be kept, so it is left as it is."));
        return false;
    }
    TellUser(L"message_file_damaged",
             Utf8Decode(what + "it is kept as " + kept + " and replaced by defaults."));
    return true;
}

}  // namespace platform
