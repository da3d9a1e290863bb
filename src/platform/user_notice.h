#pragma once
// Problems the user must hear of, beyond the trace: a damaged file set aside and replaced
// by defaults, a save that failed, a resource or SDK that could not be loaded. A notice is
// a language key naming the kind of problem (empty for a text shown as it stands) and an
// English detail naming the file and the reason.
//
// Every notice is written to stderr at once. The main window, once it exists, installs a
// sink and shows what reaches it in its own message box; notices told before any sink
// exists are held (a few) and handed to the first sink installed. A notice already told
// to the current sink is not told again, so a file damaged on every read is said once.

#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct UserNotice {
    std::wstring key;     // language key of the headline, or empty
    std::wstring detail;  // what happened, naming the file and the reason
    bool operator==(const UserNotice&) const = default;
};

void TellUser(std::wstring_view key, std::wstring_view detail);

class UserNoticeSink {
  public:
    virtual ~UserNoticeSink() = default;
    // Called on the thread that told; a window sink posts itself a message.
    virtual void Tell(const UserNotice& notice) = 0;
};

// Installs `sink` (or none) as the process's notice sink and returns the previous one.
// The held notices go to the new sink before this returns; the memory of what was told
// starts afresh with each sink.
UserNoticeSink* SetUserNoticeSink(UserNoticeSink* sink);

// Installs itself as the notice sink for its lifetime (tests).
class UserNoticeCapture final : public UserNoticeSink {
  public:
    UserNoticeCapture();
    ~UserNoticeCapture() override;
    UserNoticeCapture(const UserNoticeCapture&) = delete;
    UserNoticeCapture& operator=(const UserNoticeCapture&) = delete;

    void Tell(const UserNotice& notice) override;
    std::vector<UserNotice> Notices() const;
    // True when a told notice's key or detail holds `fragment`.
    bool Contains(std::wstring_view fragment) const;

  private:
    UserNoticeSink* previous_ = nullptr;
    std::vector<UserNotice> notices_;
    mutable std::mutex mutex_;
};

}  // namespace platform
