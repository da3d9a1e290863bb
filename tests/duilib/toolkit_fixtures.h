#pragma once
// Helpers for the toolkit tests: a skin folder of layout files, a notification recorder
// and a loop runner.

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "duilib/duilib.h"
#include "platform/text_convert.h"

namespace toolkit_test {

// A temporary folder that is the toolkit's resource path while it lives.
class SkinFolder {
  public:
    SkinFolder() {
        char pattern[] = "/tmp/velkaro_skin_XXXXXX";
        path_ = ::mkdtemp(pattern);
        previous_ = DuiLib::CPaintManagerUI::GetResourcePath();
        DuiLib::CPaintManagerUI::SetResourcePath(platform::Utf8Decode(path_ + "/").c_str());
    }
    ~SkinFolder() {
        DuiLib::CPaintManagerUI::SetResourcePath(previous_);
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    void Write(const std::string& name, const std::string& content) const {
        const std::filesystem::path file = std::filesystem::path(path_) / name;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << content;
    }
    const std::string& path() const { return path_; }

  private:
    std::string path_;
    DuiLib::CDuiString previous_;
};

struct Notice {
    std::wstring type;
    std::wstring sender;
    WPARAM wParam;
    LPARAM lParam;
};

class NotifyRecorder : public DuiLib::INotifyUI {
  public:
    void Notify(DuiLib::TNotifyUI& msg) override {
        notices.push_back({msg.sType.str(), msg.pSender ? msg.pSender->GetName().str() : L"",
                           msg.wParam, msg.lParam});
    }
    int Count(const std::wstring& type, const std::wstring& sender = L"") const {
        int n = 0;
        for (const auto& notice : notices) {
            n += notice.type == type && (sender.empty() || notice.sender == sender);
        }
        return n;
    }
    std::vector<Notice> notices;
};

// Runs the thread's message loop until `done` or two seconds pass.
template <typename Predicate>
bool PumpUntil(Predicate done) {
    using namespace std::chrono_literals;
    const auto deadline = std::chrono::steady_clock::now() + 2s;
    MSG msg;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        if (platform::PeekMessage(&msg, PM_REMOVE)) {
            if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
                platform::DispatchMessage(&msg);
            }
        } else {
            std::this_thread::sleep_for(1ms);
        }
    }
    return true;
}

// Handles everything queued now (timers excepted once nothing else is pending).
inline void PumpPending() {
    MSG msg;
    for (int i = 0; i < 1000 && platform::PeekMessage(&msg, PM_REMOVE); ++i) {
        if (msg.message == WM_QUIT) {
            platform::PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        if (!DuiLib::CPaintManagerUI::TranslateMessage(&msg)) {
            platform::DispatchMessage(&msg);
        }
    }
}

}  // namespace toolkit_test
