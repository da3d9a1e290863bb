#include "platform/audio/audio_sdk.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/audio/sim_audio_sdk.h"
#include "platform/no_destructor.h"

namespace platform::audio {
namespace {

std::atomic<AudioSdk*> g_installed{nullptr};
std::atomic<bool> g_isInstalled{false};

AudioSdk* DefaultSdk() {
    static const NoDestructor<std::unique_ptr<AudioSdk>> sdk([]() -> std::unique_ptr<AudioSdk> {
        const char* choice = std::getenv("VELKARO_HID");
        if (choice != nullptr && std::strcmp(choice, "sim") == 0) {
            return std::make_unique<SimAudioSdk>();
        }
        return nullptr;
    }());
    return sdk->get();
}

}  // namespace

AudioSdk* LoadAudioSdk() {
    return g_isInstalled.load() ? g_installed.load() : DefaultSdk();
}

AudioSdk* InstallAudioSdk(AudioSdk* sdk) {
    g_isInstalled.store(true);
    return g_installed.exchange(sdk);
}

bool AudioSdkInstalled() {
    return g_isInstalled.load();
}

ScopedAudioSdk::ScopedAudioSdk(AudioSdk* sdk)
    : previous_(g_installed.load()), previousInstalled_(g_isInstalled.load()) {
    InstallAudioSdk(sdk);
}

ScopedAudioSdk::~ScopedAudioSdk() {
    g_installed.store(previous_);
    g_isInstalled.store(previousInstalled_);
}

}  // namespace platform::audio
