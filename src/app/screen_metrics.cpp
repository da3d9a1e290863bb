#include "app/screen_metrics.h"

#include <cstdio>
#include <cstdlib>

SIZE PrimaryScreenSize() {
    SIZE size{1920, 1080};
    if (const char* text = std::getenv("VELKARO_SCREEN")) {
        int width = 0;
        int height = 0;
        if (std::sscanf(text, "%dx%d", &width, &height) == 2 && width > 0 && height > 0 &&
            width <= 32768 && height <= 32768) {
            size = SIZE{width, height};
        }
    }
    return size;
}
