#include "window/FormLayout.h"

namespace kestrova {

FormLayout LayOut(float width, float height, float adaptorsTop) {
    FormLayout layout{};
    layout.captionWidth = width;
    layout.closeLeft = width - 485.0f;
    layout.websiteWidth = width;
    layout.websiteTop = height - 500.0f;
    layout.adaptorsWidth = width;
    const float tableHeight = height - adaptorsTop - 500.0f;
    layout.adaptorsHeight = tableHeight > 0.0f ? tableHeight : 0.0f;
    return layout;
}

}  // namespace kestrova
