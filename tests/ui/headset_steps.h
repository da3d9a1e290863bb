#pragma once
// What the mouse pad's and the headset's page tests share: the page of one simulated
// device with the simulated audio driver, its tabs, where a person sees an upright band's
// thumb, the stored profile shown, and whether the LED buttons sit on the drawn device.

#include <json/json.h>

#include <string>
#include <string_view>

#include "platform/audio/sim_audio_sdk.h"
#include "ui/driver/ui_driver.h"

namespace ui {

class HeadsetPage {
  public:
    // The page of the one device `model` ("headset" or "mousepad"), started.
    explicit HeadsetPage(const std::string& language = "en", const std::string& model = "headset");

    // Opens a function tab and waits for its page.
    void OpenTab(std::wstring_view tab);
    // Opens the profile menu and clicks its item of that name.
    void ChooseProfileMenuItem(std::wstring_view item);
    // The level an upright equaliser band's thumb stands at, as a person reads it off the
    // band's scale; and the thumb's middle.
    int ThumbLevel(std::wstring_view band);
    POINT ThumbCentre(std::wstring_view band);
    // The profile file of the profile the page shows.
    Json::Value StoredProfile();
    // Every LED button 0..count-1 sits in a well or ring of the device's picture, not on
    // the bare panel.
    void ExpectLedButtonsOnTheDevice(int count);
    // Keeps a picture of the window for a person to look at.
    void Save(const std::string& name);

    platform::audio::SimAudioSdk sdk;

  private:
    platform::audio::ScopedAudioSdk useSdk_{&sdk};
    std::string folder_;

  public:
    UiDriver ui;
};

}  // namespace ui
