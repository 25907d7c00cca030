// The three status lights, in the order of their 1-based indexes. The fill
// colour is what a person (or a screenshot test) tells them apart by.
#pragma once

#include <array>
#include <cstdint>

#include "inventory/AdapterStatus.h"

namespace kestrova {

struct StatusImage {
    AdapterStatus status;
    std::uint8_t red, green, blue;  // the disc's fill
};

inline constexpr int kStatusImageSize = 16;  // pixels at 96 DPI

inline constexpr std::array<StatusImage, 3> kStatusImages{{
    {AdapterStatus::Complete, 76, 255, 0},
    {AdapterStatus::NoDnsServer, 255, 216, 0},
    {AdapterStatus::NoGateway, 255, 0, 0},
}};

}  // namespace kestrova
