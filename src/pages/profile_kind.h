#pragma once
// The kind of device a profile document was made for, as its settings tell it: each kind
// stores sections of its own (the keyboard its custom light groups and key repeat, the
// mouse its DPI and report stages, the headset its equaliser) beside the light sections
// every kind has. A profile written by any version of the program can be told this way;
// a file names no kind of its own.

#include <json/json.h>

// Device kinds as the pages number them: 1 keyboard, 2 mouse, 3 mouse pad, 7 headset; 0
// when the document holds no device settings at all.
int ProfileDocumentKind(const Json::Value& document);

// The document may be taken as a profile of `kind`: it is of that kind, or holds no
// device settings (it then starts from the kind's defaults). Kind 6 is a mouse too.
bool SuitsDeviceKind(const Json::Value& document, int kind);
