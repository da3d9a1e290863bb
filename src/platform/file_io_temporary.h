#pragma once
// The temporary file a whole-file write goes through, beside the file it becomes.
//
// Where the file system allows, it has no name while it is written (O_TMPFILE), so a
// program killed in the middle leaves nothing behind; it is named only for the instant
// of the rename over the old file. Elsewhere it is named "<name>.velkaro-XXXXXX" from the
// start. Either way it is locked (flock) while this program holds it: a named temporary
// nobody holds a lock on was left by a program that died, and the next write to its
// folder removes it.

#include <string>

namespace platform {

class TemporaryFile {
  public:
    // Creates the temporary in the folder of `path`; Valid() is false when that fails.
    explicit TemporaryFile(const std::string& path);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    bool Valid() const { return fd_ >= 0; }
    int Fd() const { return fd_; }
    // errno of the last failure, 0 when there was none.
    int Error() const { return error_; }

    // Gives the written file the name `path`: over the old file (`replace`), or only when
    // the name is free, so that an existing file is never replaced. False, with Error()
    // set (EEXIST for a taken name), and nothing changed on failure.
    bool Publish(const std::string& path, bool replace);

  private:
    bool Fail(int error);
    bool OpenAnonymous();
    bool OpenNamed();
    bool NameAnonymous(std::string* name);

    std::string folder_;
    std::string base_;
    std::string name_;  // the named temporary's path; empty while anonymous
    int fd_ = -1;
    int error_ = 0;
};

// Removes from the folder of `path` the temporaries nobody holds: those of this scheme,
// and "<name>.XXXXXX" of `path` itself as earlier builds named them.
void RemoveStaleTemporaries(const std::string& path);

}  // namespace platform
