#include "platform/win32/MessageFont.h"

namespace kestrova::win32 {

unique_hfont CreateMessageFont(int points, unsigned dpi) {
    LOGFONTW face{};
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        face = metrics.lfMessageFont;
    } else {
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(face), &face);
    }
    face.lfHeight = -MulDiv(points, static_cast<int>(dpi), 72);
    face.lfWidth = 0;
    return unique_hfont(CreateFontIndirectW(&face));
}

}  // namespace kestrova::win32
