#pragma once
// Builds a control tree from layout XML. A class name is resolved by the builder callback
// first, then by the control factory, then among the standard controls. Resources in a
// <Window> root (Font, Default, Image) go to the paint manager; <Include source=".."/>
// builds another layout file in place. A missing or malformed file gives no root and a
// readable error (GetLastErrorMessage, and the trace).

#include <pugixml.hpp>

#include "duilib/ui_defs.h"

namespace DuiLib {

class IDialogBuilderCallback {
  public:
    // A new control for a class name the toolkit does not know; null when not handled.
    virtual CControlUI* CreateControl(LPCTSTR pstrClass) = 0;

  protected:
    ~IDialogBuilderCallback() = default;
};

class CDialogBuilder {
  public:
    // `xml` is a layout file name (below the resource path; res.xml names such as
    // "XML_MAIN" are resolved) or XML text. With a parent, the built controls are added
    // to it. Returns the first control built, or null.
    CControlUI* Create(const CDuiString& xml, LPCTSTR type = nullptr,
                       IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);
    // Builds again from the layout read by the last Create.
    CControlUI* Create(IDialogBuilderCallback* pCallback = nullptr,
                       CPaintManagerUI* pManager = nullptr, CControlUI* pParent = nullptr);

    CDuiString GetLastErrorMessage() const { return m_error; }

  private:
    struct Context;
    CControlUI* Build(Context& context, CControlUI* pParent);
    CControlUI* BuildRoot(Context& context, pugi::xml_node root, CControlUI* pParent);
    void ReadResources(Context& context, pugi::xml_node window);
    CControlUI* BuildChildren(Context& context, pugi::xml_node node, CControlUI* pParent,
                              int depth);
    CControlUI* BuildInclude(Context& context, pugi::xml_node node, CControlUI* pParent);
    CControlUI* BuildControl(Context& context, pugi::xml_node node, CControlUI* pParent, int depth);
    CControlUI* CreateByClass(Context& context, const CDuiString& cls);
    void Fail(const CDuiString& message);

    pugi::xml_document m_xml;
    bool m_loaded = false;
    CDuiString m_error;
};

}  // namespace DuiLib
