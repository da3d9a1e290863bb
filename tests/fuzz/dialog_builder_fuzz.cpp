// Feeds arbitrary bytes to the layout builder as XML text, with a paint manager so that
// window attributes, fonts and default attributes are exercised, then lays the tree out.
#include <cstddef>
#include <cstdint>
#include <string>

#include "duilib/dialog_builder.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_control.h"
#include "platform/text_convert.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    // Layout text always starts with '<' in the builder's eyes; a file name would be read
    // from disk, which is not what is fuzzed here.
    bytes.insert(bytes.begin(), '<');
    const DuiLib::CDuiString xml(platform::Utf8Decode(bytes));
    DuiLib::CPaintManagerUI manager;
    DuiLib::CDialogBuilder builder;
    DuiLib::CControlUI* root = builder.Create(xml, nullptr, nullptr, &manager);
    if (root != nullptr) {
        manager.AttachDialog(root);
        manager.SetDPI(144);
        manager.LayoutFor(SIZE{800, 572});
        manager.FindControl(L"root");
    }
    return 0;
}
