// A picture that acts as a button; only its left edge ever moves.
#pragma once

namespace kestrova {

class PictureBox {
public:
    virtual ~PictureBox() = default;
    virtual void SetLeft(float twips) = 0;
};

}  // namespace kestrova
