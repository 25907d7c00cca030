#include <gtest/gtest.h>

#include <cstddef>
#include <optional>
#include <vector>

#include "platform/VersionResource.h"

namespace kestrova {
namespace {

using Bytes = std::vector<std::byte>;

void PutUnit(Bytes& out, std::size_t at, std::size_t unit) {
    out[at] = static_cast<std::byte>(unit & 0xFF);
    out[at + 1] = static_cast<std::byte>(unit >> 8);
}

void Append(Bytes& out, TextView text) {
    for (const char16_t c : text) {
        out.resize(out.size() + 2);
        PutUnit(out, out.size() - 2, c);
    }
}

// One block as the resource compiler writes it; `value` is text, or 52
// bytes of fixed file information when absent.
Bytes Block(TextView key, std::optional<Text> value, const std::vector<Bytes>& children = {}) {
    Bytes out(6);
    Append(out, key);
    Append(out, Text(1, u'\0'));
    out.resize((out.size() + 3) & ~std::size_t{3});
    if (value) {
        Append(out, *value + u'\0');
        PutUnit(out, 2, value->size() + 1);
        PutUnit(out, 4, 1);
    } else {
        out.resize(out.size() + 52, std::byte{0x5A});
        PutUnit(out, 2, 52);
    }
    for (const Bytes& child : children) {
        out.resize((out.size() + 3) & ~std::size_t{3});
        out.insert(out.end(), child.begin(), child.end());
    }
    PutUnit(out, 0, out.size());
    return out;
}

Bytes Resource(const std::vector<Bytes>& strings) {
    return Block(u"VS_VERSION_INFO", std::nullopt,
                 {Block(u"StringFileInfo", u"", {Block(u"040904B0", u"", strings)})});
}

TEST(VersionResource, FindsTheStringOrNothingAndNeverReadsPastItsBytes) {
    const Bytes good = Resource({Block(u"FileVersion", u"1.00.0003"),
                                 Block(u"ProductName", u"Kestrova")});
    const std::size_t last = good.size() - Block(u"ProductName", u"Kestrova").size();
    Bytes overlong = good;  // the last string claims more than its table holds
    PutUnit(overlong, last, 200);
    Bytes longValue = good;  // the last value claims more than its block holds
    PutUnit(longValue, last + 2, 400);
    const struct {
        const char* what;
        const Bytes& resource;
        TextView table, name;
        std::optional<Text> found;
    } cases[] = {
        {"first string", good, u"040904B0", u"FileVersion", u"1.00.0003"},
        {"last string", good, u"040904B0", u"ProductName", u"Kestrova"},
        {"keys in any ASCII case", good, u"040904b0", u"PRODUCTNAME", u"Kestrova"},
        {"no such string", good, u"040904B0", u"Comments", std::nullopt},
        {"no such table", good, u"040704B0", u"ProductName", std::nullopt},
        {"a block past its parent", overlong, u"040904B0", u"ProductName", std::nullopt},
        {"a value past its block", longValue, u"040904B0", u"ProductName", u"Kestrova"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(VersionString(c.resource, c.table, c.name), c.found) << c.what;
    }
    for (std::size_t size = 0; size < good.size(); ++size) {
        EXPECT_EQ(VersionString(std::span(good.data(), size), u"040904B0", u"FileVersion"),
                  std::nullopt)
            << "cut to " << size << " bytes";
    }
}

}  // namespace
}  // namespace kestrova
