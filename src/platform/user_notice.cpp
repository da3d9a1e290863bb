#include "platform/user_notice.h"

#include <algorithm>
#include <cstdio>
#include <deque>

#include "platform/no_destructor.h"
#include "platform/text_convert.h"

namespace platform {
namespace {

// Enough for every file a start reads going wrong at once; beyond that the user has
// heard the point and stderr has the rest.
constexpr size_t kMaxHeld = 8;
// What a sink has been told, so that a repeat is dropped; old entries make way.
constexpr size_t kMaxRemembered = 256;

struct NoticeState {
    std::mutex mutex;
    UserNoticeSink* sink = nullptr;
    std::deque<UserNotice> held;
    std::vector<UserNotice> told;
};

NoticeState& State() {
    static NoDestructor<NoticeState> state;
    return *state;
}

void WriteToStderr(const UserNotice& notice) {
    const std::string line = "velkaro: " + Utf8Encode(notice.detail) + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    std::fflush(stderr);
}

}  // namespace

void TellUser(std::wstring_view key, std::wstring_view detail) {
    UserNotice notice{std::wstring(key), std::wstring(detail)};
    NoticeState& state = State();
    // Sinks are told under the lock, so a sink being replaced is never told after it has
    // gone; a sink must therefore not tell in turn (a window sink only queues and posts).
    std::lock_guard<std::mutex> lock(state.mutex);
    if (std::find(state.told.begin(), state.told.end(), notice) != state.told.end())
        return;
    if (state.told.size() == kMaxRemembered)
        state.told.erase(state.told.begin());
    state.told.push_back(notice);
    WriteToStderr(notice);
    if (state.sink != nullptr)
        state.sink->Tell(notice);
    else if (state.held.size() < kMaxHeld)
        state.held.push_back(notice);
}

UserNoticeSink* SetUserNoticeSink(UserNoticeSink* sink) {
    NoticeState& state = State();
    std::lock_guard<std::mutex> lock(state.mutex);
    UserNoticeSink* previous = state.sink;
    state.sink = sink;
    state.told.clear();
    if (sink != nullptr) {
        for (const UserNotice& notice : state.held) {
            state.told.push_back(notice);
            sink->Tell(notice);
        }
        state.held.clear();
    }
    return previous;
}

// Installed in the body: the held notices are told at once, into members that must exist.
UserNoticeCapture::UserNoticeCapture() {
    previous_ = SetUserNoticeSink(this);
}

UserNoticeCapture::~UserNoticeCapture() {
    SetUserNoticeSink(previous_);
}

void UserNoticeCapture::Tell(const UserNotice& notice) {
    std::lock_guard<std::mutex> lock(mutex_);
    notices_.push_back(notice);
}

std::vector<UserNotice> UserNoticeCapture::Notices() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return notices_;
}

bool UserNoticeCapture::Contains(std::wstring_view fragment) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::any_of(notices_.begin(), notices_.end(), [&](const UserNotice& notice) {
        return notice.key.find(fragment) != std::wstring::npos ||
               notice.detail.find(fragment) != std::wstring::npos;
    });
}

}  // namespace platform
