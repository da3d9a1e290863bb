#include "duilib/dialog_builder.h"

#include <algorithm>

#include "duilib/attribute_values.h"
#include "duilib/control_factory.h"
#include "duilib/paint_manager.h"
#include "duilib/resource_manager.h"
#include "duilib/ui_container.h"
#include "duilib/xml_source.h"
#include "platform/debug_trace.h"

namespace DuiLib {
namespace {

// Bounds that keep a hostile layout from exhausting the stack or the memory.
constexpr int kMaxDepth = 128;
constexpr int kMaxIncludeDepth = 8;
constexpr int kMaxIncludeCount = 64;
constexpr int kMaxControls = 20000;

bool IsResourceTag(std::string_view tag) {
    return tag == "Font" || tag == "Default" || tag == "Image" || tag == "Style";
}

}  // namespace

struct CDialogBuilder::Context {
    IDialogBuilderCallback* callback = nullptr;
    CPaintManagerUI* manager = nullptr;
    pugi::xml_node root;
    int controlsLeft = kMaxControls;
    int includeDepth = 0;
};

void CDialogBuilder::Fail(const CDuiString& message) {
    if (m_error.IsEmpty()) {
        m_error = message;
    }
    platform::DebugTrace(L"CDialogBuilder: " + message.str() + L"\n");
}

CControlUI* CDialogBuilder::Create(const CDuiString& xml, LPCTSTR /*type*/,
                                   IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent) {
    m_error.Empty();
    m_loaded = false;
    m_xml.reset();
    CDuiString error;
    if (!LoadXmlSource(xml, m_xml, &error)) {
        Fail(error);
        return nullptr;
    }
    m_loaded = true;
    return Create(pCallback, pManager, pParent);
}

CControlUI* CDialogBuilder::Create(IDialogBuilderCallback* pCallback, CPaintManagerUI* pManager,
                                   CControlUI* pParent) {
    if (!m_loaded) {
        Fail(L"no layout has been read");
        return nullptr;
    }
    Context context;
    context.callback = pCallback;
    context.manager = pManager;
    context.root = m_xml.document_element();
    CControlUI* built = Build(context, pParent);
    if (built == nullptr) {
        Fail(L"the layout holds no control");
    }
    return built;
}

CControlUI* CDialogBuilder::Build(Context& context, CControlUI* pParent) {
    if (context.manager != nullptr) {
        CResourceManager::GetInstance()->ApplyTo(context.manager);
    }
    return BuildRoot(context, context.root, pParent);
}

CControlUI* CDialogBuilder::BuildRoot(Context& context, pugi::xml_node root, CControlUI* pParent) {
    if (!root) {
        return nullptr;
    }
    if (std::string_view(root.name()) != "Window") {
        // A layout without a window element is one control (with its children).
        if (std::string_view(root.name()) == "Include") {
            return BuildInclude(context, root, pParent);
        }
        return BuildControl(context, root, pParent, 0);
    }
    if (context.manager != nullptr && context.includeDepth == 0) {
        for (pugi::xml_attribute attr : root.attributes()) {
            context.manager->SetWindowAttribute(XmlText(attr.name()), XmlText(attr.value()));
        }
    }
    ReadResources(context, root);
    return BuildChildren(context, root, pParent, 0);
}

void CDialogBuilder::ReadResources(Context& context, pugi::xml_node window) {
    CPaintManagerUI* manager = context.manager;
    if (manager == nullptr) {
        return;
    }
    for (pugi::xml_node node : window.children()) {
        const std::string_view tag = node.name();
        const bool shared = ParseBool(XmlAttr(node, "shared").view());
        if (tag == "Font") {
            const int id = ParseInt(XmlAttr(node, "id").view(), -1);
            const CDuiString face = XmlAttr(node, "name");
            const int size = ParseInt(XmlAttr(node, "size").view(), 12);
            const bool bold = ParseBool(XmlAttr(node, "bold").view());
            const bool underline = ParseBool(XmlAttr(node, "underline").view());
            const bool italic = ParseBool(XmlAttr(node, "italic").view());
            if (id >= 0) {
                manager->AddFont(id, face, size, bold, underline, italic, shared);
            }
            if (ParseBool(XmlAttr(node, "default").view())) {
                manager->SetDefaultFont(face, size, bold, underline, italic, shared);
            }
        } else if (tag == "Default") {
            const CDuiString name = XmlAttr(node, "name");
            if (!name.IsEmpty()) {
                manager->AddDefaultAttributeList(name, XmlAttr(node, "value"), shared);
            }
        } else if (tag == "Image") {
            const CDuiString name = XmlAttr(node, "name");
            const DWORD mask = ParseColor(XmlAttr(node, "mask").view());
            manager->AddImage(name, XmlAttr(node, "restype"), mask, shared);
        }
    }
}

CControlUI* CDialogBuilder::BuildChildren(Context& context, pugi::xml_node node,
                                          CControlUI* pParent, int depth) {
    CControlUI* first = nullptr;
    for (pugi::xml_node child : node.children()) {
        if (child.type() != pugi::node_element || IsResourceTag(child.name())) {
            continue;
        }
        CControlUI* built = std::string_view(child.name()) == "Include"
                                ? BuildInclude(context, child, pParent)
                                : BuildControl(context, child, pParent, depth);
        if (first == nullptr) {
            first = built;
        }
        if (pParent == nullptr && first != nullptr) {
            break;  // without a parent only one root can be returned
        }
    }
    return first;
}

CControlUI* CDialogBuilder::BuildInclude(Context& context, pugi::xml_node node,
                                         CControlUI* pParent) {
    if (context.controlsLeft <= 0) {
        return nullptr;
    }
    if (context.includeDepth >= kMaxIncludeDepth) {
        Fail(L"includes nested too deeply");
        return nullptr;
    }
    const CDuiString source = XmlAttr(node, "source");
    const int count = std::clamp(ParseInt(XmlAttr(node, "count").view(), 1), 0, kMaxIncludeCount);
    pugi::xml_document included;
    CDuiString error;
    if (!LoadXmlSource(source, included, &error)) {
        Fail(L"include: " + error);
        return nullptr;
    }
    CControlUI* first = nullptr;
    ++context.includeDepth;
    for (int i = 0; i < count && context.controlsLeft > 0; ++i) {
        CControlUI* built = BuildRoot(context, included.document_element(), pParent);
        if (first == nullptr) {
            first = built;
        }
        if (pParent == nullptr) {
            break;
        }
    }
    --context.includeDepth;
    return first;
}

CControlUI* CDialogBuilder::CreateByClass(Context& context, const CDuiString& cls) {
    CControlUI* control = nullptr;
    if (context.callback != nullptr) {
        control = context.callback->CreateControl(cls);
    }
    if (control == nullptr) {
        control = CControlFactory::GetInstance()->CreateControl(cls);
    }
    if (control == nullptr) {
        control = CreateStandardControl(cls);
    }
    return control;
}

CControlUI* CDialogBuilder::BuildControl(Context& context, pugi::xml_node node, CControlUI* pParent,
                                         int depth) {
    if (depth >= kMaxDepth) {
        Fail(L"controls nested too deeply");
        return nullptr;
    }
    if (--context.controlsLeft < 0) {
        Fail(L"too many controls");
        return nullptr;
    }
    const CDuiString cls = XmlText(node.name());
    CControlUI* control = CreateByClass(context, cls);
    if (control == nullptr) {
        Fail(L"unknown control class " + cls);
        return nullptr;
    }
    control->SetManager(context.manager, nullptr, false);
    if (context.manager != nullptr) {
        const CDuiString defaults = context.manager->GetDefaultAttributeList(cls);
        if (!defaults.IsEmpty()) {
            control->ApplyAttributeList(defaults);
        }
    }
    for (pugi::xml_attribute attr : node.attributes()) {
        control->SetAttribute(XmlText(attr.name()), XmlText(attr.value()));
    }
    if (node.first_child()) {
        if (control->GetInterface(L"IContainer") != nullptr) {
            BuildChildren(context, node, control, depth + 1);
        }
    }
    if (pParent != nullptr) {
        auto* container = static_cast<IContainerUI*>(pParent->GetInterface(L"IContainer"));
        if (container == nullptr || !container->Add(control)) {
            Fail(L"cannot add a " + cls + L" to its parent");
            delete control;
            return nullptr;
        }
    }
    return control;
}

}  // namespace DuiLib
