#include "app/Layout.h"

namespace slumra {

int SizeClassFor(int width, int height) {
    // W / 640 >= H / 480, compared without division.
    if (static_cast<long long>(width) * 480 >= static_cast<long long>(height) * 640) {
        if (height < 480) return -1;
        if (height < 768) return 3;
        if (height < 864) return 4;
        return 5;
    }
    if (width < 640) return -1;
    if (width < 1024) return 0;
    if (width < 1152) return 1;
    return 2;
}

const char* DesignSuffix(int sizeClass) {
    static const char* const kSuffix[] = {"6x4", "8x6", "10x7"};
    return kSuffix[DesignOf(sizeClass < 0 ? 0 : sizeClass)];
}

void DesignScale(int sizeClass, int& m, int& d) {
    switch (sizeClass) {
        case 1:
            m = 800, d = 640;
            break;
        case 4:
            m = 600, d = 480;
            break;
        case 2:
            m = 1024, d = 640;
            break;
        case 5:
            m = 768, d = 480;
            break;
        default:
            m = 1, d = 1;
            break;
    }
}

int SlideTarget(int stripWidth, int position) {
    return -(stripWidth / 8) - (stripWidth / 4) * (position - 1);
}

int SlideStep(int sizeClass, int screenWidth, int screenHeight) {
    switch (sizeClass) {
        case 1:
        case 4:
            return static_cast<long long>(screenWidth) * 480 >= static_cast<long long>(screenHeight) * 640
                       ? 7
                       : 5;
        case 2:
        case 5:
            return 6;
        default:
            return 4;
    }
}

}  // namespace slumra
