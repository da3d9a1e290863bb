// What one LED frame costs the UI thread on the keyboard page: the skin's own key picture
// (its panel and every key button, over the main window's background) drawn off-screen by
// the SDL renderer after every key's tint changed, as the default full-speed wave does 20
// times a second; and, for a window that cannot be seen, the tints only being stored.

#include <SDL_image.h>
#include <SDL_ttf.h>
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "controls/device_key_button.h"
#include "device/page/led_button_tint.h"
#include "duilib/render/sdl/sdl_render_backend.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_container.h"
#include "duilib/window_impl_base.h"
#include "pages/page_controls.h"
#include "platform/paths.h"
#include "platform/window_messages.h"

namespace {

using DuiLib::CPaintManagerUI;

// The key picture of the skin's keyboard page, where the main window places it.
std::string KeyPictureLayout() {
    std::ifstream file(platform::InstancePath() + "skin/XML/DeviceXml/keyboarddevice.xml");
    std::stringstream text;
    text << file.rdbuf();
    const std::string page = text.str();
    const size_t begin = page.find("<SelectPanel");
    const std::string end = "</SelectPanel>";
    const size_t last = page.find(end);
    if (begin == std::string::npos || last == std::string::npos) {
        return {};
    }
    return R"(<?xml version="1.0" encoding="utf-8"?>
<Window size="1000,640">
  <VerticalLayout bkimage="common/background.png" inset="120,50,0,0">
    <Container>)" +
           page.substr(begin, last + end.size() - begin) + R"(
    </Container>
  </VerticalLayout>
</Window>
)";
}

class PictureWindow : public DuiLib::WindowImplBase {
  public:
    explicit PictureWindow(std::wstring file) : file_(std::move(file)) {}

  protected:
    DuiLib::CDuiString GetSkinFile() override { return file_.c_str(); }
    LPCTSTR GetWindowClassName() const override { return L"KeyPictureBenchWnd"; }

  private:
    std::wstring file_;
};

void PumpUntilIdle() {
    MSG msg;
    while (platform::PeekMessage(&msg, PM_REMOVE)) {
        if (!CPaintManagerUI::TranslateMessage(&msg)) {
            platform::DispatchMessage(&msg);
        }
    }
}

void CollectKeys(DuiLib::CControlUI* control, std::vector<CDeviceKeyButtonUI*>& keys) {
    if (auto* key = dynamic_cast<CDeviceKeyButtonUI*>(control)) {
        keys.push_back(key);
    }
    if (auto* container = dynamic_cast<DuiLib::CContainerUI*>(control)) {
        for (int i = 0; i < container->GetCount(); ++i) {
            CollectKeys(container->GetItemAt(i), keys);
        }
    }
}

// The key picture in a shown window, painted by the SDL renderer without a display.
class KeyPicture {
  public:
    KeyPicture() {
        TTF_Init();
        IMG_Init(IMG_INIT_PNG);
        CPaintManagerUI::SetResourcePath(L"skin");
        DuiLib::CResourceManager::GetInstance()->LoadResource(L"res.xml");
        DuiLib::CResourceManager::GetInstance()->LoadLanguage(L"lan_en.xml");
        RegisterPageControls();
        CPaintManagerUI::SetRenderBackend(&backend_);
        const std::string file = "/tmp/velkaro_key_picture_bench.xml";
        std::ofstream(file) << KeyPictureLayout();
        window_ = std::make_unique<PictureWindow>(std::wstring(file.begin(), file.end()));
        window_->Create(nullptr, L"Velkaro", DuiLib::UI_WNDSTYLE_FRAME, 0, 0, 0, 1000, 640);
        window_->ShowWindow(true, false);
        PumpUntilIdle();
        CollectKeys(window_->GetPaintManager()->GetRoot(), keys_);
        // Legends as the keyboard page gives them.
        constexpr const wchar_t* kLegends[] = {L"Esc",  L"F1",   L"Q", L"W",  L"Shift",
                                               L"Ctrl", L"PgUp", L"9", L"\\", L"Enter"};
        for (size_t i = 0; i < keys_.size(); ++i) {
            keys_[i]->SetText(kLegends[i % std::size(kLegends)]);
        }
        PumpUntilIdle();
    }
    ~KeyPicture() {
        window_.reset();
        CPaintManagerUI::SetRenderBackend(nullptr);
    }

    const std::vector<CDeviceKeyButtonUI*>& Keys() const { return keys_; }
    DuiLib::CControlUI* Root() { return window_->GetPaintManager()->GetRoot(); }
    SDL_Surface* Pixels() { return backend_.PixelsOf(*window_->GetPaintManager()); }

    // A wave's frame: every key a colour of its own, shifted by `step`.
    void StoreFrame(int step) {
        for (size_t i = 0; i < keys_.size(); ++i) {
            const uint32_t hue = static_cast<uint32_t>(step * 7 + static_cast<int>(i) * 5) % 256;
            device::SetLedButtonTint(keys_[i], hue | (255 - hue) << 8 | (hue / 2) << 16, 230, true);
        }
    }

  private:
    DuiLib::sdl::SdlRenderBackend backend_{false};
    std::unique_ptr<PictureWindow> window_;
    std::vector<CDeviceKeyButtonUI*> keys_;
};

// One frame as the device-list entry's frame timer and the paint that follows make it.
// Kept out of line so that an instruction-counting profiler can be pointed at it.
[[gnu::noinline]] void ShownFrame(KeyPicture& picture, int step) {
    picture.StoreFrame(step);
    device::ShowLedTints(picture.Root());
    PumpUntilIdle();
}

void BM_KeyPictureFrameShown(benchmark::State& state) {
    KeyPicture picture;
    int step = 0;
    for (auto _ : state) {
        ShownFrame(picture, ++step);
    }
    state.counters["keys"] = static_cast<double>(picture.Keys().size());
    benchmark::DoNotOptimize(picture.Pixels());
}
BENCHMARK(BM_KeyPictureFrameShown)->Unit(benchmark::kMicrosecond);

// The same frame as the program meets it: the UI thread slept 50 ms since the last one, and
// other programs had the processor's caches meanwhile. They are filled with other data
// (more than the last level holds) before each frame, outside the timing.
void BM_KeyPictureFrameShownCold(benchmark::State& state) {
    KeyPicture picture;
    std::vector<uint64_t> other(size_t{64} << 20 >> 3);
    int step = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (size_t i = 0; i < other.size(); i += 8) {
            other[i] += static_cast<uint64_t>(step);
        }
        benchmark::DoNotOptimize(other.data());
        state.ResumeTiming();
        ShownFrame(picture, ++step);
    }
    benchmark::DoNotOptimize(picture.Pixels());
}
BENCHMARK(BM_KeyPictureFrameShownCold)->Unit(benchmark::kMicrosecond);

void BM_KeyTintsStoredHidden(benchmark::State& state) {
    KeyPicture picture;
    int step = 0;
    for (auto _ : state) {
        picture.StoreFrame(++step);
    }
}
BENCHMARK(BM_KeyTintsStoredHidden)->Unit(benchmark::kMicrosecond);

}  // namespace
