// The mouse's shoot panel: guns, bullets and their edits, saved and uploaded to the mouse.

#include "app/device_panels.h"
#include "app/main_wnd/main_wnd.h"
#include "device/mouse/vornalix_mouse_device.h"
#include "pages/shoot_control_ui.h"

namespace {

template <typename Action>
void OnShootPanel(CVornalixUSBDevice* device, Action action) {
    if (CShootControlUI* panel = ShootPanelOf(device)) {
        action(*panel);
    }
}

}  // namespace

void CMainWnd::OnGunSelect(int n) {
    OnShootPanel(GetCurrentDevice(), [n](CShootControlUI& p) { p.SelectGun(n); });
}

void CMainWnd::OnBulletSelect(int n) {
    OnShootPanel(GetCurrentDevice(), [n](CShootControlUI& p) { p.SelectBullet(n); });
}

void CMainWnd::OnBulletStep(bool next) {
    OnShootPanel(GetCurrentDevice(), [next](CShootControlUI& p) { p.StepBullets(next); });
}

void CMainWnd::OnBulletEdit() {
    OnShootPanel(GetCurrentDevice(), [](CShootControlUI& p) { p.ApplyBulletEdits(); });
}

void CMainWnd::OnBulletXCheck() {
    OnBulletEdit();
}

void CMainWnd::OnBulletYCheck() {
    OnBulletEdit();
}

void CMainWnd::OnShootSave() {
    CVornalixMouseDevice* mouse = CurrentMouse();
    CShootControlUI* panel = ShootPanelOf(mouse);
    if (mouse != nullptr && panel != nullptr) {
        panel->SaveShootData();
        mouse->UploadShootData();
    }
}

void CMainWnd::OnShootReset() {
    OnShootPanel(GetCurrentDevice(), [](CShootControlUI& p) { p.ResetShootData(); });
}
