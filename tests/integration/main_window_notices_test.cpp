// Problems the user must hear of reach the program's own message box: told on any thread,
// before or after the window exists, all pending ones in one box.

#include <filesystem>
#include <thread>

#include "app/main_wnd/notice_sink.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_control.h"
#include "platform/registry.h"
#include "platform/text_convert.h"
#include "platform/user_notice.h"
#include "platform/window_handles.h"
#include "platform/window_messages.h"
#include "shell_fixture.h"
#include "support/message_box_reader.h"

namespace shell_testing {
namespace {

TEST_F(ShellTest, DamagedFilesAndFailedSavesAreShownInOneMessageBox) {
    const std::string store = platform::Registry::StorePath();
    std::filesystem::create_directories(std::filesystem::path(store).parent_path());
    testing_support::WriteTextFile(store, "{ broken");

    testing_support::MessageBoxReader reader;
    CreateMainWindow();  // reads the stored language from the damaged store
    std::thread([] {
        platform::TellUser(L"message_save_failed", L"/data/Velkaro/b.Json could not be saved");
    }).join();
    ASSERT_TRUE(PumpUntil([&] { return !reader.Texts().empty(); }, 5000));
    PumpFor(100);

    ASSERT_EQ(reader.Texts().size(), 1u) << "one box for what was pending together";
    // Under headlines in the window's language: with the stored choice lost, the first.
    const std::wstring& text = reader.Texts()[0];
    EXPECT_NE(text.find(L"设置文件已损坏。\n" + platform::Utf8Decode(store)), std::wstring::npos)
        << platform::Utf8Encode(text);
    EXPECT_NE(text.find(platform::Utf8Decode(store + ".corrupt")), std::wstring::npos);
    EXPECT_NE(text.find(L"无法保存设置。\n/data/Velkaro/b.Json"), std::wstring::npos);

    // Told once: the same notice again opens no second box.
    platform::TellUser(L"message_save_failed", L"/data/Velkaro/b.Json could not be saved");
    PumpFor(100);
    EXPECT_EQ(reader.Texts().size(), 1u);
}

}  // namespace
}  // namespace shell_testing
