#include "platform/VersionResource.h"

#include <algorithm>

namespace kestrova {
namespace {

// Every block of the resource: wLength (bytes, children included),
// wValueLength (in characters for text, bytes otherwise), wType (1: text),
// a zero-terminated key, then the value and the children, each starting on
// a 4-byte boundary of the resource.
struct Block {
    std::size_t end = 0;
    Text key;
    std::size_t value = 0;
    std::size_t valueEnd = 0;
    std::size_t children = 0;
};

constexpr std::size_t kHeaderBytes = 6;

std::size_t Aligned(std::size_t offset) {
    return (offset + 3) & ~std::size_t{3};
}

char16_t UnitAt(std::span<const std::byte> bytes, std::size_t at) {
    return static_cast<char16_t>(std::to_integer<unsigned>(bytes[at]) |
                                 std::to_integer<unsigned>(bytes[at + 1]) << 8);
}

// The block at `at`, which must lie whole before `limit`.
std::optional<Block> ReadBlock(std::span<const std::byte> bytes, std::size_t at,
                               std::size_t limit) {
    if (limit > bytes.size() || at > limit || limit - at < kHeaderBytes) return std::nullopt;
    const std::size_t length = UnitAt(bytes, at);
    if (length < kHeaderBytes || length > limit - at) return std::nullopt;
    Block block;
    block.end = at + length;
    std::size_t unit = at + kHeaderBytes;
    for (;; unit += 2) {
        if (block.end - unit < 2) return std::nullopt;  // no terminating zero
        const char16_t c = UnitAt(bytes, unit);
        if (c == 0) break;
        block.key.push_back(c);
    }
    const bool text = UnitAt(bytes, at + 4) == 1;
    const std::size_t valueBytes = std::size_t{UnitAt(bytes, at + 2)} * (text ? 2 : 1);
    block.value = std::min(Aligned(unit + 2), block.end);
    block.valueEnd = block.value + std::min(valueBytes, block.end - block.value);
    block.children = std::min(Aligned(block.valueEnd), block.end);
    return block;
}

bool SameKey(TextView a, TextView b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char16_t x, char16_t y) { return FoldedAscii(x) == FoldedAscii(y); });
}

std::optional<Block> Child(std::span<const std::byte> bytes, const Block& parent, TextView key) {
    for (std::size_t at = parent.children; at < parent.end;) {
        const std::optional<Block> child = ReadBlock(bytes, at, parent.end);
        if (!child) return std::nullopt;
        if (SameKey(child->key, key)) return child;
        at = Aligned(child->end);
    }
    return std::nullopt;
}

}  // namespace

std::optional<Text> VersionString(std::span<const std::byte> resource, TextView table,
                                  TextView name) {
    const std::optional<Block> root = ReadBlock(resource, 0, resource.size());
    if (!root || !SameKey(root->key, u"VS_VERSION_INFO")) return std::nullopt;
    std::optional<Block> block = Child(resource, *root, u"StringFileInfo");
    if (block) block = Child(resource, *block, table);
    if (block) block = Child(resource, *block, name);
    if (!block) return std::nullopt;
    Text value;
    for (std::size_t at = block->value; block->valueEnd - at >= 2; at += 2) {
        const char16_t c = UnitAt(resource, at);
        if (c == 0) break;
        value.push_back(c);
    }
    return value;
}

}  // namespace kestrova
