#include "platform/user_notice.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(UserNoticeTest, ARepeatIsToldOnceAndANewSinkHearsItAgain) {
    { UserNoticeCapture earlierTests; }  // takes what other tests left held
    {
        UserNoticeCapture capture;
        TellUser(L"notice_file_damaged", L"/tmp/a.Json: not JSON");
        TellUser(L"notice_file_damaged", L"/tmp/a.Json: not JSON");
        TellUser(L"notice_save_failed", L"/tmp/a.Json: read-only");
        ASSERT_EQ(capture.Notices().size(), 2u);
        EXPECT_TRUE(capture.Contains(L"read-only"));
    }
    UserNoticeCapture next;
    TellUser(L"notice_file_damaged", L"/tmp/a.Json: not JSON");
    EXPECT_EQ(next.Notices().size(), 1u);
}

TEST(UserNoticeTest, NoticesToldBeforeAnySinkReachTheFirstSinkInstalled) {
    UserNoticeSink* previous = SetUserNoticeSink(nullptr);
    TellUser(L"", L"ConfLibInit called failed!");
    for (int i = 0; i < 20; ++i)
        TellUser(L"notice_file_damaged", L"file " + std::to_wstring(i));
    UserNoticeCapture capture;
    const std::vector<UserNotice> notices = capture.Notices();
    ASSERT_FALSE(notices.empty());
    EXPECT_EQ(notices.front().detail, L"ConfLibInit called failed!");
    EXPECT_LE(notices.size(), 8u) << "a flood before the window exists is cut short";
    SetUserNoticeSink(previous);
}

}  // namespace
}  // namespace platform
