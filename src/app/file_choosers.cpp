#include "app/file_choosers.h"

#include "app/file_chooser_wnd.h"
#include "app/main_wnd/main_wnd.h"
#include "app/skin_frame.h"

void InstallFileChoosers(CMainWnd& window) {
    const HWND owner = window.GetHWND();
    window.SetFileChooser(
        [owner](bool save, const std::wstring& filter) { return ChooseFile(owner, save, filter); });
    CSkinFrame::SetImageChooser(
        [owner] { return ChooseFile(owner, false, L"Image Files(*.png;*.jpg;*.bmp)"); });
}

void RemoveFileChoosers() {
    CSkinFrame::SetImageChooser({});
}
