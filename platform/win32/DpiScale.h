// Twips to pixels at the window's DPI (1440 twips to the inch). The window
// owns one scale and updates it on WM_DPICHANGED; its controls hold a
// reference and re-place themselves from their twips.
#pragma once

#include <cmath>

namespace kestrova::win32 {

class DpiScale {
public:
    explicit DpiScale(unsigned dpi = 96) : dpi_(dpi ? dpi : 96) {}

    unsigned Dpi() const { return dpi_; }
    void SetDpi(unsigned dpi) { dpi_ = dpi ? dpi : 96; }

    int ToPixels(float twips) const {
        return static_cast<int>(std::lround(static_cast<double>(twips) * dpi_ / 1440.0));
    }
    float ToTwips(int pixels) const {
        return static_cast<float>(static_cast<double>(pixels) * 1440.0 / dpi_);
    }
    // A size given in pixels at 96 DPI (icons, margins) at this DPI.
    int Scale96(int pixels) const {
        return static_cast<int>(std::lround(static_cast<double>(pixels) * dpi_ / 96.0));
    }

private:
    unsigned dpi_;
};

}  // namespace kestrova::win32
