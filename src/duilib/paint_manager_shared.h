#pragma once
// What the parts of the paint manager share: the message it posts to its own window, the
// timer ids it hands out and the process-wide toolkit tables.

#include <algorithm>
#include <map>
#include <mutex>
#include <vector>

#include "duilib/paint_manager.h"
#include "platform/window_messages.h"

namespace DuiLib::paint_detail {

// What the manager posts to its own window.
enum InternalKind : WPARAM { kAsyncNotify = 1, kWindowInit = 2, kPaint = 3 };

// Window timer ids the manager hands out, far above the ids windows choose themselves.
inline constexpr UINT_PTR kFirstWinTimer = 0x7F000000;

inline UINT InternalMessage() {
    static const UINT id = platform::RegisterWindowMessage(L"DuiLib.PaintManager");
    return id;
}

// Process-wide toolkit tables: the managers, paths, renderer and shared resources.
struct SharedState {
    std::mutex managersMutex;
    std::vector<CPaintManagerUI*> managers;
    CDuiString instancePath;
    CDuiString resourcePath;
    uint64_t pathsGeneration = 0;
    UILIB_RESOURCETYPE resourceType = UILIB_FILE;
    IRenderBackend* backend = nullptr;
    std::map<int, TFontInfo> fonts;
    TFontInfo defaultFont;
    bool hasDefaultFont = false;
    std::map<CDuiString, CDuiString> defaultAttrs;
    std::map<CDuiString, TImageInfo> images;
};

SharedState& Shared();

// Listener lists hold each listener once; null is never added.
template <typename T>
bool AddUnique(std::vector<T*>& list, T* item) {
    if (item == nullptr || std::find(list.begin(), list.end(), item) != list.end()) {
        return false;
    }
    list.push_back(item);
    return true;
}

template <typename T>
bool RemoveOne(std::vector<T*>& list, T* item) {
    auto it = std::find(list.begin(), list.end(), item);
    if (it == list.end()) {
        return false;
    }
    list.erase(it);
    return true;
}

}  // namespace DuiLib::paint_detail
