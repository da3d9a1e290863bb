#include "device/page/text.h"

#include "duilib/resource_manager.h"

namespace device {

DuiLib::CDuiString TranslatePageText(DuiLib::CControlUI* label, const wchar_t* key) {
    if (!label) {
        return DuiLib::CResourceManager::GetInstance()->GetText(key);
    }
    label->SetResourceText(true);
    label->SetText(key);
    return label->GetText();
}

}  // namespace device
