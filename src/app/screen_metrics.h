#pragma once
// The screen size the devices' settings writes are given: the primary display's, as the
// desktop reports it (a full-HD screen until a renderer has read the real displays).

#include "platform/win_types.h"

SIZE PrimaryScreenSize();
