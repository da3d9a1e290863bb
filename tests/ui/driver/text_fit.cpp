#include "ui/driver/text_fit.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <sstream>

#include "duilib/menu_wnd.h"
#include "duilib/paint_manager.h"
#include "duilib/render/sdl/sdl_assets.h"
#include "duilib/render/sdl/sdl_handles.h"
#include "duilib/ui_button.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_container.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_scrollbar.h"
#include "platform/text_convert.h"
#include "platform/window_handles.h"
#include "ui/driver/ui_driver.h"

namespace ui {
namespace {

using DuiLib::CControlUI;
using DuiLib::CPaintManagerUI;
using DuiLib::DT_END_ELLIPSIS;
using DuiLib::DT_SINGLELINE;

template <typename T>
T* As(CControlUI* control, const wchar_t* name) {
    return static_cast<T*>(control->GetInterface(name));
}

RECT Deflate(const RECT& rc, const RECT& by) {
    return RECT{rc.left + by.left, rc.top + by.top, rc.right - by.right, rc.bottom - by.bottom};
}

bool Contains(const RECT& outer, const RECT& inner) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Where a control draws its text and how, as the SDL painter lays it out.
struct TextBox {
    DuiLib::CDuiString text;
    int font = -1;
    UINT style = DT_SINGLELINE;
    RECT rect{};
};

bool TextBoxOf(CPaintManagerUI& manager, CControlUI* control, TextBox* box) {
    box->text = control->GetText();
    box->rect = control->GetPos();
    if (auto* item = As<DuiLib::CMenuElementUI>(control, L"MenuElement")) {
        auto* menu = item->GetParent() != nullptr ? As<DuiLib::CMenuUI>(item->GetParent(), L"Menu")
                                                  : nullptr;
        const auto look = menu != nullptr ? menu->GetItemLook() : DuiLib::CMenuUI::ItemLook{};
        box->font = look.font;
        box->style = DT_SINGLELINE | DT_END_ELLIPSIS;
        box->rect = Deflate(box->rect, manager.Scale(look.textPadding));
        return true;
    }
    if (auto* combo = As<DuiLib::CComboUI>(control, L"Combo")) {
        const auto& look = combo->GetTextLook();
        RECT padding = manager.Scale(look.textPadding);
        if (padding == RECT{}) {
            padding = RECT{manager.Scale(6), 0, manager.Scale(24), 0};
        }
        box->rect = Deflate(box->rect, padding);
        box->style = DT_SINGLELINE | DT_END_ELLIPSIS;
        box->font = look.font;
        CControlUI* selected = combo->GetItemAt(combo->GetCurSel());
        auto* row = selected != nullptr ? As<DuiLib::CLabelUI>(selected, L"Label") : nullptr;
        if (row != nullptr && look.font < 0) {
            box->font = row->GetFont();
        }
        return true;
    }
    // What a person types is theirs to fit.
    if (As<DuiLib::CEditUI>(control, L"Edit") != nullptr) {
        return false;
    }
    if (auto* label = As<DuiLib::CLabelUI>(control, L"Label")) {
        box->font = label->GetFont();
        box->style = label->GetTextStyle();
        box->rect = Deflate(box->rect, label->GetTextPadding());
        return true;
    }
    return false;
}

bool Scrolls(CControlUI* control) {
    auto* container = As<DuiLib::CContainerUI>(control, L"Container");
    if (container == nullptr) {
        return false;
    }
    for (DuiLib::CScrollBarUI* bar :
         {container->GetVerticalScrollBar(), container->GetHorizontalScrollBar()}) {
        if (bar != nullptr && bar->IsVisible()) {
            return true;
        }
    }
    return false;
}

std::string Size(int w, int h) {
    return std::to_string(w) + "x" + std::to_string(h);
}

}  // namespace

struct TextFit::Impl {
    DuiLib::sdl::FontCache fonts;
    const UiDriver* ui = nullptr;
    CPaintManagerUI* manager = nullptr;
    std::string window;
    std::vector<LayoutProblem> problems;

    void Report(CControlUI* control, const std::string& what) {
        std::string name = control->GetName().ToUtf8();
        if (name.empty()) {
            name = "(" + platform::Utf8Encode(control->GetClass()) + ") " +
                   control->GetText().ToUtf8();
        }
        problems.push_back({window, name, control->GetText().ToUtf8(), what});
    }

    // The text's size as drawn: one line, or wrapped at the box's width.
    bool Measure(const TextBox& box, int* w, int* h) {
        const DuiLib::TFontInfo* info = manager->GetFontInfo(box.font);
        if (info == nullptr) {
            return false;
        }
        const std::wstring& text = box.text.str();
        TTF_Font* font =
            fonts.Get(*info, manager->Scale(info->iSize), std::u32string(text.begin(), text.end()));
        if (font == nullptr) {
            return false;
        }
        const std::string utf8 = platform::Utf8Encode(text);
        if ((box.style & DT_SINGLELINE) != 0) {
            return TTF_SizeUTF8(font, utf8.c_str(), w, h) == 0;
        }
        const int width = std::max<int>(1, box.rect.right - box.rect.left);
        DuiLib::sdl::SurfacePtr wrapped{TTF_RenderUTF8_Blended_Wrapped(
            font, utf8.c_str(), SDL_Color{255, 255, 255, 255}, static_cast<Uint32>(width))};
        if (!wrapped) {
            return false;
        }
        *w = wrapped->w;
        *h = wrapped->h;
        return true;
    }

    void CheckText(CControlUI* control) {
        TextBox box;
        if (!TextBoxOf(*manager, control, &box) || box.text.IsEmpty()) {
            return;
        }
        int w = 0;
        int h = 0;
        if (!Measure(box, &w, &h)) {
            Report(control, "text that no face can draw");
            return;
        }
        const int roomW = box.rect.right - box.rect.left;
        const int roomH = box.rect.bottom - box.rect.top;
        if (w > roomW || h > roomH) {
            Report(control, "text " + Size(w, h) + " in " + Size(roomW, roomH));
        }
    }

    // `shown` is the part of the window the parents leave visible.
    void Walk(CControlUI* control, const RECT& shown) {
        if (!control->IsVisible() || !ui->IsShown(control)) {
            return;
        }
        const RECT rc = control->GetPos();
        if (!Contains(shown, rc)) {
            Report(control, "cut off at " + Size(rc.right - rc.left, rc.bottom - rc.top) +
                                " from (" + std::to_string(rc.left) + "," + std::to_string(rc.top) +
                                ")");
        }
        CheckText(control);
        auto* container = As<DuiLib::CContainerUI>(control, L"Container");
        // A combo's rows show in its drop-down, a window of their own.
        if (container == nullptr || As<DuiLib::CComboUI>(control, L"Combo") != nullptr) {
            return;
        }
        // Rows a list scrolls away are not cut off: they are out of view.
        const RECT inner = Scrolls(control) ? RECT{-100000, -100000, 100000, 100000} : rc;
        for (int i = 0; i < container->GetCount(); ++i) {
            if (CControlUI* child = container->GetItemAt(i)) {
                Walk(child, inner);
            }
        }
    }
};

// The faces are the helper's own: the font library stays up until they are closed.
TextFit::TextFit() {
    TTF_Init();
    impl_ = std::make_unique<Impl>();
}

TextFit::~TextFit() {
    impl_.reset();
    TTF_Quit();
}

std::vector<LayoutProblem> TextFit::Check(const UiDriver& ui, HWND hwnd, DuiLib::CControlUI* root) {
    impl_->ui = &ui;
    impl_->manager = ui.ManagerOf(hwnd);
    impl_->window = platform::Utf8Encode(platform::GetWindowClassName(hwnd));
    impl_->problems.clear();
    if (impl_->manager == nullptr || impl_->manager->GetRoot() == nullptr) {
        return {};
    }
    RECT client{};
    platform::GetClientRect(hwnd, &client);
    impl_->Walk(root != nullptr ? root : impl_->manager->GetRoot(), client);
    return impl_->problems;
}

std::string Describe(const std::vector<LayoutProblem>& problems) {
    std::ostringstream out;
    for (const LayoutProblem& p : problems) {
        out << "  " << p.window << " " << p.control << " \"" << p.text << "\": " << p.what << "\n";
    }
    return out.str();
}

}  // namespace ui
