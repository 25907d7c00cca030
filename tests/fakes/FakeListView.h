// An in-memory list that keeps rows, keys and cells the way the real one
// does, and refuses a key that is already present.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "platform/ListView.h"

namespace kestrova::fakes {

struct FakeRow {
    std::optional<Text> key;
    Text text;
    int smallIcon = 0;
    std::array<std::optional<Text>, 12> subItems;  // nothing = never set
};

class FakeListView final : public ListView {
public:
    void SetRedraw(bool redraw) override {
        redraw_ = redraw;
        ++redrawCalls;
    }
    void DeleteAllItems() override {
        rows.clear();
        ++clears;
    }
    std::optional<int> InsertItem(const std::optional<Text>& key, TextView text,
                                  int smallIcon) override {
        if (key) {
            for (const FakeRow& row : rows) {
                if (row.key == key) return std::nullopt;
            }
        }
        rows.push_back(FakeRow{key, Text(text), smallIcon, {}});
        return static_cast<int>(rows.size()) - 1;
    }
    bool SetItemText(int row, int subItem, TextView text) override {
        if (row < 0 || row >= static_cast<int>(rows.size()) || subItem < 1 || subItem > 12) {
            return false;
        }
        rows[static_cast<size_t>(row)].subItems[static_cast<size_t>(subItem - 1)] = Text(text);
        return true;
    }
    float Top() const override { return top; }
    void SetWidth(float twips) override { width = twips; }
    void SetHeight(float twips) override { height = twips; }

    bool RedrawOn() const { return redraw_; }

    std::vector<FakeRow> rows;
    int clears = 0;
    int redrawCalls = 0;
    float top = 720.0f;
    float width = 5415.0f;
    float height = 1695.0f;

private:
    bool redraw_ = true;
};

}  // namespace kestrova::fakes
