#pragma once
// The screen size the devices' settings writes are given. Without a display server the
// program assumes a common full-HD screen; VELKARO_SCREEN="<width>x<height>" overrides it.

#include "platform/win_types.h"

SIZE PrimaryScreenSize();
