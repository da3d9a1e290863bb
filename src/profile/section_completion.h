#pragma once
// A device's section of an older profile lacks what the default profile of its kind has
// learned to ship since: a keyboard profile made before key assignment had no "KeyList",
// a mouse profile made before the mouse had a default has no DPI stages. Such a section
// takes what it lacks from the default section and keeps everything it has.

#include <json/json.h>

// Fills `section` from `defaults`, member by member:
// - a member the section lacks (absent, null, a list or object where the default has the
//   other kind, or text where the default has a number and the other way round: values
//   no reader could use) becomes the default's;
// - an object present in both is completed the same way;
// - a list whose entries stand for fixed places ("KeyList": one entry per key position,
//   "EQHzValueInfo": one row per equaliser preset, each a row of bands) takes the places
//   past its end and the null places from the default, and its present entries are
//   completed; any other list (DPI stages, custom settings, light zones) holds what the
//   user made and stays as it is.
// Scalars of the default's kind are never replaced. True when anything was added.
bool CompleteSection(Json::Value& section, const Json::Value& defaults);
