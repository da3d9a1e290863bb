#include "duilib/paint_manager.h"

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager_shared.h"
#include "duilib/ui_control.h"

namespace DuiLib {

using namespace paint_detail;

namespace {

CDuiString LowerKey(LPCTSTR text) {
    CDuiString key(text ? text : L"");
    key.MakeLower();
    return key;
}

int ClampDpi(int dpi) {
    return std::clamp(dpi, 24, 960);
}

TFontInfo MakeFont(LPCTSTR name, int size, bool bold, bool underline, bool italic, bool shared) {
    return TFontInfo{
        CDuiString(name ? name : L""), std::clamp(size, 1, 1000), bold, underline, italic, shared};
}

}  // namespace

// ---- DPI

void CPaintManagerUI::SetDPI(int iDPI) {
    if (iDPI <= 0) {
        return;
    }
    iDPI = ClampDpi(iDPI);
    if (iDPI == m_nDPI) {
        return;
    }
    const int oldDpi = m_nDPI;
    m_nDPI = iDPI;
    // The window keeps its size in 96-DPI units: it grows and shrinks with the DPI.
    RECT window{};
    if (m_hWndPaint != nullptr && platform::GetWindowRect(m_hWndPaint, &window)) {
        const long long width = static_cast<long long>(window.right - window.left) * iDPI / oldDpi;
        const long long height = static_cast<long long>(window.bottom - window.top) * iDPI / oldDpi;
        platform::SetWindowPos(m_hWndPaint, nullptr, 0, 0,
                               static_cast<int>(std::min<long long>(width, kMaxCoordinate)),
                               static_cast<int>(std::min<long long>(height, kMaxCoordinate)),
                               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    ResetDPIAssets();
}

void CPaintManagerUI::SetAllDPI(int iDPI) {
    for (CPaintManagerUI* manager : GetPaintManagers()) {
        manager->SetDPI(iDPI);
    }
}

void CPaintManagerUI::ResetDPIAssets() {
    if (m_pRoot != nullptr) {
        m_pRoot->NeedUpdate();
    }
    NeedUpdate();
}

int CPaintManagerUI::Scale(int iValue) const {
    const long long scaled = static_cast<long long>(iValue) * m_nDPI;
    const long long rounded = scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96);
    return static_cast<int>(std::clamp<long long>(rounded, INT32_MIN / 2, INT32_MAX / 2));
}

RECT CPaintManagerUI::Scale(RECT rc) const {
    return RECT{Scale(rc.left), Scale(rc.top), Scale(rc.right), Scale(rc.bottom)};
}

// ---- fonts, default attributes, images

TFontInfo* CPaintManagerUI::AddFont(int id, LPCTSTR pStrFontName, int nSize, bool bBold,
                                    bool bUnderline, bool bItalic, bool bShared) {
    if (id < 0) {
        return nullptr;
    }
    const TFontInfo info = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic, bShared);
    auto& fonts = bShared ? Shared().fonts : m_mFonts;
    fonts[id] = info;
    return &fonts[id];
}

TFontInfo* CPaintManagerUI::GetFontInfo(int id) {
    auto own = m_mFonts.find(id);
    if (own != m_mFonts.end()) {
        return &own->second;
    }
    auto& shared = Shared().fonts;
    auto it = shared.find(id);
    if (it != shared.end()) {
        return &it->second;
    }
    return GetDefaultFontInfo();
}

void CPaintManagerUI::SetDefaultFont(LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                                     bool bItalic, bool bShared) {
    const TFontInfo info = MakeFont(pStrFontName, nSize, bBold, bUnderline, bItalic, bShared);
    if (bShared) {
        Shared().defaultFont = info;
        Shared().hasDefaultFont = true;
    } else {
        m_DefaultFont = info;
        m_bHasDefaultFont = true;
    }
}

TFontInfo* CPaintManagerUI::GetDefaultFontInfo() {
    if (m_bHasDefaultFont) {
        return &m_DefaultFont;
    }
    SharedState& shared = Shared();
    if (!shared.hasDefaultFont) {
        shared.defaultFont = TFontInfo{CDuiString(L"Verdana"), 12, false, false, false, true};
        shared.hasDefaultFont = true;
    }
    return &shared.defaultFont;
}

void CPaintManagerUI::RemoveAllFonts(bool bShared) {
    if (bShared) {
        Shared().fonts.clear();
    } else {
        m_mFonts.clear();
    }
}

void CPaintManagerUI::AddDefaultAttributeList(LPCTSTR pStrControlName, LPCTSTR pStrControlAttrList,
                                              bool bShared) {
    auto& table = bShared ? Shared().defaultAttrs : m_mDefaultAttrs;
    table[LowerKey(pStrControlName)] = CDuiString(pStrControlAttrList ? pStrControlAttrList : L"");
}

CDuiString CPaintManagerUI::GetDefaultAttributeList(LPCTSTR pStrControlName) const {
    const CDuiString key = LowerKey(pStrControlName);
    auto own = m_mDefaultAttrs.find(key);
    if (own != m_mDefaultAttrs.end()) {
        return own->second;
    }
    const auto& shared = Shared().defaultAttrs;
    auto it = shared.find(key);
    return it == shared.end() ? CDuiString() : it->second;
}

void CPaintManagerUI::RemoveAllDefaultAttributeList(bool bShared) {
    if (bShared) {
        Shared().defaultAttrs.clear();
    } else {
        m_mDefaultAttrs.clear();
    }
}

const TImageInfo* CPaintManagerUI::AddImage(LPCTSTR bitmap, LPCTSTR type, DWORD mask,
                                            bool bShared) {
    if (bitmap == nullptr || *bitmap == 0) {
        return nullptr;
    }
    TImageInfo info{CDuiString(bitmap), ResolveResourceFile(CDuiString(bitmap)),
                    CDuiString(type ? type : L""), mask, bShared};
    auto& table = bShared ? Shared().images : m_mImages;
    table[CDuiString(bitmap)] = info;
    return &table[CDuiString(bitmap)];
}

const TImageInfo* CPaintManagerUI::GetImage(LPCTSTR bitmap) const {
    const CDuiString key(bitmap ? bitmap : L"");
    auto own = m_mImages.find(key);
    if (own != m_mImages.end()) {
        return &own->second;
    }
    const auto& shared = Shared().images;
    auto it = shared.find(key);
    return it == shared.end() ? nullptr : &it->second;
}

void CPaintManagerUI::RemoveAllImages(bool bShared) {
    if (bShared) {
        Shared().images.clear();
    } else {
        m_mImages.clear();
    }
}

}  // namespace DuiLib
