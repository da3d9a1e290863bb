#pragma once
// Skin changes: a background image or colour, travelling from the skin picker to every
// registered receiver through one process-wide observer.

#include <cstdint>

#include "app/observer.h"
#include "duilib/dui_string.h"

struct SkinChangedParam {
    uint8_t kind = 0;     // 0 image, 1 colour
    uint32_t colour = 0;  // ARGB, for kind 1
    DuiLib::CDuiString image;
};

using SkinObserver = ObserverImpl<int, SkinChangedParam>;
using SkinReceiver = ReceiverImpl<int, SkinChangedParam>;

// Created on first use and kept until the process ends.
SkinObserver& GetSkinObserver();
void BroadcastSkin(const SkinChangedParam& param);
