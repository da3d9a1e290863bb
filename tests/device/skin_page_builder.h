#pragma once
// Builds a device page from the skin's own layout as the main window does: the device
// class named in the layout, the composite panels from their own layouts, and the
// program's controls. Needs the skin beside the test program.

#include <functional>
#include <memory>
#include <utility>

#include "device/keyboard/vornalix_keyboard_device.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "device/onboard/vornalix_mousepad_device.h"
#include "device/onboard/vornalix_tamsel_device.h"
#include "duilib/dialog_builder.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "pages/page_controls.h"

class SkinPageCallback : public DuiLib::IDialogBuilderCallback {
  public:
    // `makeDevice`, when given, makes the device the layout names (a test's own subclass).
    explicit SkinPageCallback(DuiLib::CPaintManagerUI* manager,
                              std::function<DuiLib::CControlUI*()> makeDevice = {})
        : manager_(manager), makeDevice_(std::move(makeDevice)) {}

    DuiLib::CControlUI* CreateControl(LPCTSTR pstrClass) override {
        const DuiLib::CDuiString name(pstrClass);
        static constexpr std::pair<const wchar_t*, DuiLib::CControlUI* (*)()> kDevices[] = {
            {L"VornalixKeyboardDevice", &CreateKeyboardDevice},
            {L"VornalixMouseDevice", &CreateMouseDevice},
            {L"VornalixMousePadDevice", &CreateMousePadDevice},
            {L"VornalixTamselDevice", &CreateTamselDevice},
        };
        for (const auto& [element, create] : kDevices) {
            if (name.CompareNoCase(element) == 0) {
                return makeDevice_ ? makeDevice_() : create();
            }
        }
        static constexpr std::pair<const wchar_t*, const wchar_t*> kComposites[] = {
            {L"DeviceProfileUI", L"XML\\CustomControlXML\\DeviceProfile.xml"},
            {L"LightSetControlUI", L"XML\\CustomControlXML\\LightControl.xml"},
            {L"KeySetControlUI", L"XML\\CustomControlXML\\KeySetControl.xml"},
            {L"MacroSetControlUI", L"XML\\CustomControlXML\\MacroControl.xml"},
            {L"ShootKeySetControlUI", L"XML\\CustomControlXML\\ShootControl.xml"},
            {L"VoiceTamselSetControlUI", L"XML\\CustomControlXML\\VoiceTamselControl.xml"},
            {L"MagicSetControlUI", L"XML\\CustomControlXML\\MagicControl.xml"},
            {L"VirtualSetControlUI", L"XML\\CustomControlXML\\VirtualSet.xml"},
        };
        for (const auto& [element, xml] : kComposites) {
            if (name.CompareNoCase(element) == 0) {
                DuiLib::CDialogBuilder builder;
                return builder.Create(xml, nullptr, nullptr, manager_, nullptr);
            }
        }
        return CreatePageControl(pstrClass);
    }

  private:
    DuiLib::CPaintManagerUI* manager_;
    std::function<DuiLib::CControlUI*()> makeDevice_;
};

// The English texts and the skin's classes for the life of a test.
class SkinPageEnvironment {
  public:
    SkinPageEnvironment() {
        DuiLib::CPaintManagerUI::SetResourcePath(L"skin");
        RegisterPageControls();
        loaded_ = DuiLib::CResourceManager::GetInstance()->LoadLanguage(L"lan_en.xml");
    }
    ~SkinPageEnvironment() { DuiLib::CResourceManager::GetInstance()->ResetTextMap(); }
    SkinPageEnvironment(const SkinPageEnvironment&) = delete;
    SkinPageEnvironment& operator=(const SkinPageEnvironment&) = delete;

    bool Loaded() const { return loaded_; }

    // The page of `layout` as class T (made as T itself: a test may add to the device
    // class the layout names), or null.
    template <class T>
    std::unique_ptr<T> Build(const wchar_t* layout) {
        SkinPageCallback callback(&manager_,
                                  [] { return static_cast<DuiLib::CControlUI*>(new T()); });
        DuiLib::CDialogBuilder builder;
        std::unique_ptr<DuiLib::CControlUI> root(
            builder.Create(layout, nullptr, &callback, &manager_, nullptr));
        if (auto* page = dynamic_cast<T*>(root.get())) {
            root.release();
            return std::unique_ptr<T>(page);
        }
        return nullptr;
    }

    // The keyboard's and the mouse's pages set up as the main window sets them up for
    // their rows, their panels filled (an empty device name leaves the page unbound).
    std::unique_ptr<CVornalixKeyboardDevice> BuildKeyboardPage(const wchar_t* deviceName) {
        auto page = Build<CVornalixKeyboardDevice>(L"XML\\DeviceXml\\keyboarddevice.xml");
        if (page) {
            page->SetDeviceName(deviceName);
            page->SetKeyCount(126);
            page->SetLedCount(126);
            page->SetDeviceFileName(L"keyboard");
            page->SetDeviceIndex(0);
            page->SetDeviceString2(L"zentu_light");
            page->InitPage();
        }
        return page;
    }
    std::unique_ptr<CVornalixMouseDevice> BuildMousePage() {
        auto page = Build<CVornalixMouseDevice>(L"XML\\DeviceXml\\mousedevice.xml");
        if (page) {
            page->SetDeviceName(L"XML\\DeviceXml\\mousedevice.xml");
            page->SetKeyCount(7);
            page->SetLedCount(6);
            page->SetLogoLedIndex(-1);
            page->SetDeviceFileName(L"mouse");
            page->SetDeviceIndex(1);
            page->SetDeviceString2(L"zentu_light");
            page->InitPage();
        }
        return page;
    }

  private:
    DuiLib::CPaintManagerUI manager_;
    bool loaded_ = false;
};
