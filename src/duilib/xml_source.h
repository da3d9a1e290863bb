#pragma once
// Reading the toolkit's XML: a layout, res.xml or a language file given either as XML text
// (it begins with '<') or as a file name below the resource path.

#include <pugixml.hpp>

#include "duilib/dui_string.h"

namespace DuiLib {

// Parses `source` into `doc`. False with a readable reason in `error` when the file is
// missing or the XML is malformed. `fallbackFolder` (if not empty) is tried when the file
// is not below the resource path.
bool LoadXmlSource(const CDuiString& source, pugi::xml_document& doc, CDuiString* error,
                   const CDuiString& fallbackFolder = CDuiString());

CDuiString XmlText(const char* utf8);
CDuiString XmlAttr(const pugi::xml_node& node, const char* name);

}  // namespace DuiLib
