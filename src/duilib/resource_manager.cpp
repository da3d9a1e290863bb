#include "duilib/resource_manager.h"

#include <cwctype>

#include "duilib/attribute_values.h"
#include "duilib/paint_manager.h"
#include "duilib/ui_control.h"
#include "duilib/xml_source.h"
#include "platform/debug_trace.h"
#include "platform/user_notice.h"

namespace DuiLib {
namespace {

std::wstring NameKey(LPCTSTR name) {
    std::wstring key(name ? name : L"");
    for (wchar_t& ch : key) {
        ch = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(ch)));
    }
    return key;
}

}  // namespace

CResourceManager* CResourceManager::GetInstance() {
    static CResourceManager manager;
    return &manager;
}

bool CResourceManager::LoadResource(LPCTSTR xml, LPCTSTR /*type*/) {
    pugi::xml_document doc;
    CDuiString error;
    if (!LoadXmlSource(CDuiString(xml ? xml : L""), doc, &error)) {
        platform::DebugTrace(L"res.xml: " + error.str() + L"\n");
        std::lock_guard lock(m_mutex);
        m_lastError = error;
        return false;
    }
    std::lock_guard lock(m_mutex);
    ++m_generation;
    m_fonts.clear();
    for (pugi::xml_node node : doc.document_element().children()) {
        const std::string_view tag = node.name();
        if (tag == "Xml" || tag == "Image") {
            const CDuiString name = XmlAttr(node, "name");
            const CDuiString path = XmlAttr(node, "path");
            if (name.IsEmpty()) {
                continue;
            }
            (tag == "Xml" ? m_xmlPaths : m_imagePaths)[NameKey(name)] = path;
        } else if (tag == "Font") {
            FontDecl font;
            font.id = ParseInt(XmlAttr(node, "id").view(), -1);
            font.info.sFontName = XmlAttr(node, "name");
            font.info.iSize = ParseInt(XmlAttr(node, "size").view(), 12);
            font.info.bBold = ParseBool(XmlAttr(node, "bold").view());
            font.info.bUnderline = ParseBool(XmlAttr(node, "underline").view());
            font.info.bItalic = ParseBool(XmlAttr(node, "italic").view());
            font.info.bShared = true;
            font.isDefault = ParseBool(XmlAttr(node, "default").view());
            m_fonts.push_back(font);
        } else if (tag == "Default") {
            const CDuiString name = XmlAttr(node, "name");
            if (!name.IsEmpty()) {
                m_defaults[name] = XmlAttr(node, "value");
            }
        }
    }
    return true;
}

void CResourceManager::ApplyTo(CPaintManagerUI* manager) {
    if (manager == nullptr) {
        return;
    }
    // The manager resolves image names through this object: the declarations are copied
    // and applied without the lock held.
    std::vector<FontDecl> fonts;
    std::map<CDuiString, CDuiString> defaults;
    std::map<std::wstring, CDuiString> images;
    {
        std::lock_guard lock(m_mutex);
        if (m_appliedGeneration == m_generation) {
            return;
        }
        m_appliedGeneration = m_generation;
        fonts = m_fonts;
        defaults = m_defaults;
        images = m_imagePaths;
    }
    for (const FontDecl& font : fonts) {
        if (font.id >= 0) {
            manager->AddFont(font.id, font.info.sFontName, font.info.iSize, font.info.bBold,
                             font.info.bUnderline, font.info.bItalic, true);
        }
        if (font.isDefault) {
            manager->SetDefaultFont(font.info.sFontName, font.info.iSize, font.info.bBold,
                                    font.info.bUnderline, font.info.bItalic, true);
        }
    }
    for (const auto& [name, value] : defaults) {
        manager->AddDefaultAttributeList(name, value, true);
    }
    for (const auto& [name, path] : images) {
        manager->AddImage(path, nullptr, 0, true);
    }
}

CDuiString CResourceManager::GetXmlPath(LPCTSTR name) const {
    std::lock_guard lock(m_mutex);
    auto it = m_xmlPaths.find(NameKey(name));
    return it == m_xmlPaths.end() ? CDuiString() : it->second;
}

CDuiString CResourceManager::GetImagePath(LPCTSTR name) const {
    std::lock_guard lock(m_mutex);
    auto it = m_imagePaths.find(NameKey(name));
    return it == m_imagePaths.end() ? CDuiString() : it->second;
}

void CResourceManager::SetLanguage(LPCTSTR pstrLanguage) {
    std::lock_guard lock(m_mutex);
    m_language = pstrLanguage ? pstrLanguage : L"";
}

CDuiString CResourceManager::GetLanguage() const {
    std::lock_guard lock(m_mutex);
    return m_language;
}

bool CResourceManager::LoadLanguage(LPCTSTR pstrXml) {
    pugi::xml_document doc;
    CDuiString error;
    if (!LoadXmlSource(CDuiString(pstrXml ? pstrXml : L""), doc, &error,
                       CPaintManagerUI::GetInstancePath())) {
        platform::DebugTrace(L"language: " + error.str() + L"\n");
        // The texts stay those of the language loaded before (or the keys themselves).
        platform::TellUser(L"", L"the language file cannot be read: " + error.str());
        std::lock_guard lock(m_mutex);
        m_lastError = error;
        return false;
    }
    std::map<std::wstring, CDuiString> texts;
    for (pugi::xml_node node : doc.document_element().children()) {
        if (node.type() != pugi::node_element) {
            continue;
        }
        const CDuiString key = XmlAttr(node, "key");
        if (key.IsEmpty()) {
            continue;
        }
        const pugi::xml_attribute value = node.attribute("value");
        texts[key.str()] = value ? XmlText(value.value()) : XmlText(node.child_value());
    }
    std::lock_guard lock(m_mutex);
    m_texts = std::move(texts);
    return true;
}

void CResourceManager::ReloadText() {
    for (CPaintManagerUI* manager : CPaintManagerUI::GetPaintManagers()) {
        if (manager->GetRoot() != nullptr) {
            manager->GetRoot()->NeedUpdate();
        }
        manager->Invalidate();
    }
}

void CResourceManager::SetTextQueryInterface(IQueryControlText* pInterface) {
    std::lock_guard lock(m_mutex);
    m_query = pInterface;
}

CDuiString CResourceManager::GetText(LPCTSTR key, LPCTSTR type) const {
    if (key == nullptr || *key == 0) {
        return CDuiString();
    }
    IQueryControlText* query = nullptr;
    {
        std::lock_guard lock(m_mutex);
        auto it = m_texts.find(key);
        if (it != m_texts.end()) {
            return it->second;
        }
        query = m_query;
    }
    if (query != nullptr) {
        if (LPCTSTR answer = query->QueryControlText(key, type)) {
            return CDuiString(answer);
        }
    }
    return CDuiString(key);
}

void CResourceManager::ResetTextMap() {
    std::lock_guard lock(m_mutex);
    m_texts.clear();
}

void CResourceManager::Release() {
    std::lock_guard lock(m_mutex);
    m_xmlPaths.clear();
    m_imagePaths.clear();
    m_fonts.clear();
    m_defaults.clear();
    m_texts.clear();
    m_language.Empty();
    m_query = nullptr;
    m_appliedGeneration = m_generation;
}

CDuiString CResourceManager::GetLastError() const {
    std::lock_guard lock(m_mutex);
    return m_lastError;
}

}  // namespace DuiLib
