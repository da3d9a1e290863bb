#include "app/skin_observer.h"

SkinObserver& GetSkinObserver() {
    static SkinObserver* observer = new SkinObserver();  // outlives every receiver
    return *observer;
}

void BroadcastSkin(const SkinChangedParam& param) {
    GetSkinObserver().Broadcast(param);
}
