// Where the stretching controls go for a given window size. Single-precision
// twips, set as computed with no rounding.
#pragma once

namespace kestrova {

struct FormLayout {
    float captionWidth;   // lblCaption
    float closeLeft;      // Close: 230 twips from the right edge
    float websiteWidth;   // website
    float websiteTop;     // website: the bottom 500 twips
    float adaptorsWidth;  // Adaptors
    float adaptorsHeight; // Adaptors: down to where website begins
};

// A window lower than the table's top plus 500 twips gives the table a height
// of 0, never a negative one.
FormLayout LayOut(float width, float height, float adaptorsTop);

}  // namespace kestrova
