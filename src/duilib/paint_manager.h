#pragma once
// The paint manager of one window: the control tree's root, lookups by name, the
// notifications controls raise, message filters, per-control timers, DPI, fonts, default
// attributes and images, and the thread message loop.

#include <map>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <vector>

#include "duilib/paint_region.h"
#include "duilib/ui_defs.h"
#include "platform/window_messages.h"

namespace DuiLib {

class IRenderBackend;
class CToolTipTracker;

// Where layouts and images come from; skins are plain folders here.
enum UILIB_RESOURCETYPE { UILIB_FILE = 1, UILIB_ZIP, UILIB_RESOURCE, UILIB_ZIPRESOURCE };

class CPaintManagerUI {
  public:
    CPaintManagerUI();
    ~CPaintManagerUI();
    CPaintManagerUI(const CPaintManagerUI&) = delete;
    CPaintManagerUI& operator=(const CPaintManagerUI&) = delete;

    void Init(HWND hWnd, LPCTSTR pstrName = nullptr);
    HWND GetPaintWindow() const { return m_hWndPaint; }
    CDuiString GetName() const { return m_sName; }

    // Paths. The instance path is the executable's folder; the resource path is where
    // layouts are read from (a relative one is taken below the instance path).
    static CDuiString GetInstancePath();
    static void SetInstancePath(LPCTSTR pStrPath);
    static CDuiString GetResourcePath();
    // Only UILIB_FILE is served; the type is kept for callers that ask.
    static void SetResourceType(UILIB_RESOURCETYPE type);
    static UILIB_RESOURCETYPE GetResourceType();
    static void SetResourcePath(LPCTSTR pStrPath);
    // Changes whenever the instance or the resource path does: what caches of files found
    // through them are checked against, cheaply, on every paint.
    static uint64_t GetPathsGeneration();
    // The file a layout or image name stands for: res.xml names resolved, backslashes
    // made slashes, relative names taken below the resource path.
    static CDuiString ResolveResourceFile(const CDuiString& name);

    // Tree.
    bool AttachDialog(CControlUI* pControl);
    CControlUI* GetRoot() const { return m_pRoot; }
    bool InitControls(CControlUI* pControl, CControlUI* pParent = nullptr);
    // Forgets a control that is going away: timers, focus, capture, option groups.
    void ReapObjects(CControlUI* pControl);
    bool IsControlAttached(CControlUI* pControl) const;

    CControlUI* FindControl(LPCTSTR pstrName) const;
    CControlUI* FindControl(POINT pt) const;
    CControlUI* FindSubControlByName(CControlUI* pParent, LPCTSTR pstrName) const;
    CControlUI* FindSubControlByClass(CControlUI* pParent, LPCTSTR pstrClass, int iIndex = 0);
    std::vector<CControlUI*> FindSubControlsByClass(CControlUI* pParent, LPCTSTR pstrClass);

    // Notifications (UI thread only; other threads post messages or arm timers).
    bool AddNotifier(INotifyUI* pControl);
    bool RemoveNotifier(INotifyUI* pControl);
    void SendNotify(TNotifyUI& Msg, bool bAsync = false);
    void SendNotify(CControlUI* pControl, LPCTSTR pstrMessage, WPARAM wParam = 0, LPARAM lParam = 0,
                    bool bAsync = false);

    // Message filters: MessageHandler runs them before its own handling.
    bool AddPreMessageFilter(IMessageFilterUI* pFilter);
    bool RemovePreMessageFilter(IMessageFilterUI* pFilter);
    bool AddMessageFilter(IMessageFilterUI* pFilter);
    bool RemoveMessageFilter(IMessageFilterUI* pFilter);
    bool PreMessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);
    bool MessageHandler(UINT uMsg, WPARAM wParam, LPARAM lParam, LRESULT& lRes);

    // Control timers: UIEVENT_TIMER with wParam = id on the UI thread, every uElapse ms
    // until killed. Callable from any thread.
    bool SetTimer(CControlUI* pControl, UINT nTimerID, UINT uElapse);
    bool KillTimer(CControlUI* pControl, UINT nTimerID);
    void KillTimer(CControlUI* pControl);
    void RemoveAllTimers();

    // Focus and input.
    CControlUI* GetFocus() const { return m_pFocus; }
    void SetFocus(CControlUI* pControl);

    // Option groups: options of a group are selected one at a time.
    bool AddOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl);
    std::vector<CControlUI*> GetOptionGroup(LPCTSTR pStrGroupName) const;
    void RemoveOptionGroup(LPCTSTR pStrGroupName, CControlUI* pControl);

    // Layout and repainting. Invalidate(rect) adds a part of the client area to what the
    // next paint draws; Invalidate() and a new layout make it draw everything. Nothing is
    // laid out or drawn while the window cannot be seen (hidden or minimised): it is drawn
    // whole once it can be again.
    void NeedUpdate();
    void Invalidate();
    void Invalidate(const RECT& rcItem);
    // Shown and not minimised; a manager without a window always is.
    bool CanBeSeen() const;
    // The window may have come into view (shown, restored): a paint left out meanwhile
    // is done now.
    void ResumePaint();
    bool IsUpdateNeeded() const { return m_bUpdateNeeded; }
    // Lays the tree out for the window's client size if anything asked for it.
    void UpdateLayout();
    // Lays the tree out for `client` (tests and the renderer's off-screen targets).
    void LayoutFor(SIZE client);
    SIZE GetClientSize() const;
    SIZE GetInitSize() const;
    void SetInitSize(int cx, int cy);
    RECT GetCaptionRect() const { return m_rcCaption; }
    void SetCaptionRect(const RECT& rcCaption) { m_rcCaption = rcCaption; }
    SIZE GetRoundCorner() const { return m_szRoundCorner; }
    void SetRoundCorner(int cx, int cy) { m_szRoundCorner = SIZE{cx, cy}; }
    SIZE GetMinInfo() const { return m_szMinWindow; }
    void SetMinInfo(int cx, int cy) { m_szMinWindow = SIZE{cx, cy}; }
    SIZE GetMaxInfo() const { return m_szMaxWindow; }
    void SetMaxInfo(int cx, int cy) { m_szMaxWindow = SIZE{cx, cy}; }
    RECT GetSizeBox() const { return m_rcSizeBox; }
    void SetSizeBox(const RECT& rcSizeBox) { m_rcSizeBox = rcSizeBox; }
    void SetWindowAttribute(LPCTSTR pstrName, LPCTSTR pstrValue);

    // DPI: layouts are written for 96 DPI and scaled; the window is resized with it.
    int GetDPI() const { return m_nDPI; }
    void SetDPI(int iDPI);
    static void SetAllDPI(int iDPI);
    void ResetDPIAssets();
    int Scale(int iValue) const;
    RECT Scale(RECT rc) const;

    // Fonts: shared fonts belong to every manager.
    TFontInfo* AddFont(int id, LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline,
                       bool bItalic, bool bShared = false);
    TFontInfo* GetFontInfo(int id);
    void SetDefaultFont(LPCTSTR pStrFontName, int nSize, bool bBold, bool bUnderline, bool bItalic,
                        bool bShared = false);
    TFontInfo* GetDefaultFontInfo();
    void RemoveAllFonts(bool bShared = false);

    // Default attribute lists by control class, applied before a control's own attributes.
    void AddDefaultAttributeList(LPCTSTR pStrControlName, LPCTSTR pStrControlAttrList,
                                 bool bShared = false);
    CDuiString GetDefaultAttributeList(LPCTSTR pStrControlName) const;
    void RemoveAllDefaultAttributeList(bool bShared = false);

    // Image declarations.
    const TImageInfo* AddImage(LPCTSTR bitmap, LPCTSTR type = nullptr, DWORD mask = 0,
                               bool bShared = false);
    const TImageInfo* GetImage(LPCTSTR bitmap) const;
    void RemoveAllImages(bool bShared = false);

    // Frees a record that a window message carried (the menu click record).
    template <typename T>
    static void DeletePtr(T* ptr) {
        delete ptr;
    }

    // Message loop of the calling thread; ends on the quit message.
    static void MessageLoop();
    static bool TranslateMessage(const MSG* pMsg);

    static void SetRenderBackend(IRenderBackend* backend);
    static IRenderBackend* GetRenderBackend();
    static std::vector<CPaintManagerUI*> GetPaintManagers();
    // Whether `manager` still exists (a control may outlive the manager it was built for).
    static bool IsLive(const CPaintManagerUI* manager);

  private:
    struct TimerInfo {
        CControlUI* pSender = nullptr;
        UINT nLocalID = 0;
        UINT_PTR uWinTimer = 0;
    };

    void DeliverTimer(UINT_PTR winTimer);
    void DeliverAsyncNotifications();
    void RaiseWindowInit();
    // What the manager posted to its own window: async notifications, window init, paint.
    void HandleInternal(WPARAM kind);
    void HandleMouse(UINT uMsg, WPARAM wParam, LPARAM lParam);
    void HandleKey(UINT uMsg, WPARAM wParam);
    void DismissToolTip();
    void SendEvent(CControlUI* pControl, int type, WPARAM wParam = 0, LPARAM lParam = 0,
                   POINT pt = POINT{});
    void PostPaint();
    // `requested`: a WM_PAINT asked for the whole window, seen or not (screenshots).
    void Paint(bool requested);
    // Tells the renderer (once) that what it drew for this manager is gone.
    void ReleaseBackend();

    CDuiString m_sName;
    HWND m_hWndPaint = nullptr;
    CControlUI* m_pRoot = nullptr;
    CControlUI* m_pFocus = nullptr;
    CControlUI* m_pEventHover = nullptr;
    CControlUI* m_pEventClick = nullptr;
    bool m_bUpdateNeeded = false;
    bool m_bPaintPosted = false;
    bool m_bPainted = false;
    bool m_bPaintDeferred = false;
    CPaintRegion m_dirty;
    bool m_bFirstLayout = true;
    int m_nDPI = 96;
    SIZE m_szInitWindowSize{};
    SIZE m_szMinWindow{};
    SIZE m_szMaxWindow{};
    SIZE m_szRoundCorner{};
    RECT m_rcCaption{};
    RECT m_rcSizeBox{};
    SIZE m_szLayoutClient{};

    std::vector<INotifyUI*> m_aNotifiers;
    std::vector<IMessageFilterUI*> m_aPreMessageFilters;
    std::vector<IMessageFilterUI*> m_aMessageFilters;
    std::vector<TNotifyUI> m_aAsyncNotify;
    std::map<CDuiString, std::vector<CControlUI*>> m_mOptionGroup;

    // Timers and the set of attached controls are shared with other threads.
    mutable std::mutex m_timerMutex;
    std::vector<TimerInfo> m_aTimers;
    UINT_PTR m_uNextWinTimer = 0x1000;
    std::unordered_set<CControlUI*> m_attached;

    // The tip of the control the pointer rests on (made at the first pointer move).
    std::unique_ptr<CToolTipTracker> m_pToolTip;

    std::map<int, TFontInfo> m_mFonts;
    TFontInfo m_DefaultFont;
    bool m_bHasDefaultFont = false;
    std::map<CDuiString, CDuiString> m_mDefaultAttrs;
    std::map<CDuiString, TImageInfo> m_mImages;
};

}  // namespace DuiLib
