#pragma once
// The process-wide resource and language table: the named layouts and images a skin's
// res.xml declares, and the texts of the current language by key.
//
// res.xml:      <Res> <Xml name="XML_MAIN" path="main.xml"/> <Image name=".." path=".."/>
//               <Font id="0" name="Verdana" size="13" bold="false" default="true"/>
//               <Default name="Button" value="textcolor=&quot;#FF000000&quot;"/> </Res>
// language XML: <Language> <Text key="message_text_5" value="..."/> ... </Language>
//               (the text may also be the element's content).
// A control whose text is a key (attribute resourcetext="true" or SetResourceText) shows
// the text of that key and follows a language change.

#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "duilib/ui_defs.h"

namespace DuiLib {

class CPaintManagerUI;

class IQueryControlText {
  public:
    // The text for a key the language file lacks; null for none.
    virtual LPCTSTR QueryControlText(LPCTSTR lpstrId, LPCTSTR lpstrType) = 0;

  protected:
    ~IQueryControlText() = default;
};

class CResourceManager {
  public:
    static CResourceManager* GetInstance();

    // Reads res.xml (a file below the resource path, or XML text). False and a trace on
    // a missing or malformed file.
    bool LoadResource(LPCTSTR xml, LPCTSTR type = nullptr);
    // Adds the fonts, default attributes and images of res.xml to the shared tables of
    // the paint managers, once per loaded res.xml: fonts the program replaces afterwards
    // (a language's font family) stay replaced.
    void ApplyTo(CPaintManagerUI* manager);
    // The file a named layout ("XML_MAIN") stands for; empty when not declared.
    CDuiString GetXmlPath(LPCTSTR name) const;
    CDuiString GetImagePath(LPCTSTR name) const;

    void SetLanguage(LPCTSTR pstrLanguage);
    CDuiString GetLanguage() const;
    // Reads a language file (below the resource path, or the instance path, or XML text):
    // its keys replace the current texts. False on a missing or malformed file, which
    // leaves the current texts.
    bool LoadLanguage(LPCTSTR pstrXml);
    // Repaints every window so controls show the texts of the loaded language.
    void ReloadText();
    void SetTextQueryInterface(IQueryControlText* pInterface);
    // The text of `key`: the language file's, else the query interface's, else the key.
    CDuiString GetText(LPCTSTR key, LPCTSTR type = nullptr) const;
    void ResetTextMap();
    void Release();

    CDuiString GetLastError() const;

  private:
    struct FontDecl {
        int id = -1;
        TFontInfo info;
        bool isDefault = false;
    };

    mutable std::mutex m_mutex;
    std::map<std::wstring, CDuiString> m_xmlPaths;
    std::map<std::wstring, CDuiString> m_imagePaths;
    std::vector<FontDecl> m_fonts;
    std::map<CDuiString, CDuiString> m_defaults;
    std::map<std::wstring, CDuiString> m_texts;
    CDuiString m_language;
    IQueryControlText* m_query = nullptr;
    CDuiString m_lastError;
    int m_generation = 0;
    int m_appliedGeneration = 0;
};

}  // namespace DuiLib
