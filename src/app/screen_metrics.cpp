#include "app/screen_metrics.h"

#include "platform/desktop.h"

SIZE PrimaryScreenSize() {
    return SIZE{GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}
