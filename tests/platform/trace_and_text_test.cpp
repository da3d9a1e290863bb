#include <gtest/gtest.h>

#include "platform/debug_trace.h"
#include "platform/text_convert.h"

namespace {

TEST(DebugTraceTest, CaptureSinkSeesTracesOnlyWhileInstalled) {
    {
        platform::TraceCapture capture;
        DebugTrace(L"读取 0x12\n");
        EXPECT_TRUE(capture.Contains(L"读取"));
        {
            platform::TraceCapture inner;
            DebugTrace(L"inner");
            EXPECT_FALSE(capture.Contains(L"inner"));
        }
        DebugTrace(L"after");
        EXPECT_EQ(capture.Lines().size(), 2u);
    }
    DebugTrace(L"nobody listens");  // must not crash with no capture installed
}

TEST(TextConvertTest, InvalidUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(platform::Utf8Decode("a\xff"
                                   "b"),
              L"a\xFFFD"
              L"b");
    EXPECT_EQ(platform::Utf8Decode("\xe4\xb8"), L"\xFFFD");      // truncated sequence
    EXPECT_EQ(platform::Utf8Decode("\xc0\xaf"), L"\xFFFD");      // overlong '/'
    EXPECT_EQ(platform::Utf8Decode("\xed\xa0\x80"), L"\xFFFD");  // surrogate
    EXPECT_EQ(platform::Utf8Encode(L"\U0001F600"), "\xf0\x9f\x98\x80");
    EXPECT_EQ(platform::Utf8Encode(std::wstring(1, static_cast<wchar_t>(0x110000))),
              "\xef\xbf\xbd");
}

}  // namespace
