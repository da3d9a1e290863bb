#include "duilib/control_factory.h"

#include <cwctype>

#include "duilib/attribute_values.h"
#include "duilib/ui_combo.h"
#include "duilib/ui_edit.h"
#include "duilib/ui_list.h"
#include "duilib/ui_progress.h"

namespace DuiLib {
namespace {

CDuiString Key(LPCTSTR name) {
    CDuiString key(name ? name : L"");
    key.MakeLower();
    return key;
}

template <typename T>
CControlUI* Make() {
    return new T();
}

struct StandardClass {
    const wchar_t* name;
    CControlUI* (*create)();
};

constexpr StandardClass kStandardClasses[] = {
    {L"Control", &Make<CControlUI>},
    {L"Container", &Make<CContainerUI>},
    {L"HorizontalLayout", &Make<CHorizontalLayoutUI>},
    {L"VerticalLayout", &Make<CVerticalLayoutUI>},
    {L"TabLayout", &Make<CTabLayoutUI>},
    {L"Label", &Make<CLabelUI>},
    {L"Text", &Make<CLabelUI>},
    {L"Button", &Make<CButtonUI>},
    {L"Option", &Make<COptionUI>},
    {L"CheckBox", &Make<CCheckBoxUI>},
    {L"Progress", &Make<CProgressUI>},
    {L"Slider", &Make<CSliderUI>},
    {L"Edit", &Make<CEditUI>},
    {L"RichEdit", &Make<CRichEditUI>},
    {L"Combo", &Make<CComboUI>},
    {L"List", &Make<CListUI>},
    {L"ListContainerElement", &Make<CListContainerElementUI>},
    {L"ListLabelElement", &Make<CListLabelElementUI>},
};

}  // namespace

CControlFactory* CControlFactory::GetInstance() {
    static CControlFactory factory;
    return &factory;
}

bool CControlFactory::RegisterControl(LPCTSTR pstrClassName, CreateClass create) {
    if (pstrClassName == nullptr || *pstrClassName == 0 || !create) {
        return false;
    }
    std::lock_guard lock(m_mutex);
    m_classes[Key(pstrClassName)] = std::move(create);
    return true;
}

bool CControlFactory::UnregisterControl(LPCTSTR pstrClassName) {
    std::lock_guard lock(m_mutex);
    return m_classes.erase(Key(pstrClassName)) != 0;
}

CControlUI* CControlFactory::CreateControl(LPCTSTR pstrClassName) const {
    CreateClass create;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_classes.find(Key(pstrClassName));
        if (it == m_classes.end()) {
            return nullptr;
        }
        create = it->second;
    }
    return create();
}

CControlUI* CreateStandardControl(LPCTSTR pstrClassName) {
    const std::wstring_view name = pstrClassName ? pstrClassName : L"";
    for (const StandardClass& cls : kStandardClasses) {
        if (EqualsNoCase(name, cls.name)) {
            return cls.create();
        }
    }
    return nullptr;
}

}  // namespace DuiLib
