// An in-memory table that works out changes as the real one does (with the
// same core piece) and keeps the rows it shows in the order it shows them.
#pragma once

#include <array>
#include <optional>
#include <vector>

#include "inventory/AdapterTable.h"
#include "inventory/ListView.h"

namespace kestrova::fakes {

struct FakeRow {
    std::optional<Text> key;
    Text text;
    int smallIcon = 0;
    std::array<std::optional<Text>, 12> subItems;  // nothing = never set
};

class FakeListView final : public ListView {
public:
    TableUpdate ShowRows(std::vector<AdapterRow> shown, const RefreshStamp& stamp,
                         bool complete) override {
        ++shows;
        TableUpdate update = table.Replace(std::move(shown), stamp, complete);
        rows.clear();
        for (int p = 0; p < table.Count(); ++p) {
            const AdapterRow& row = table.Row(p);
            rows.push_back(FakeRow{row.key, row.text, static_cast<int>(row.smallIcon), row.subItems});
        }
        return update;
    }
    float Top() const override { return top; }
    void SetWidth(float twips) override { width = twips; }
    void SetHeight(float twips) override { height = twips; }

    AdapterTable table;
    std::vector<FakeRow> rows;  // a test may put rows here that were "shown before"
    int shows = 0;
    float top = 720.0f;
    float width = 5415.0f;
    float height = 1695.0f;
};

}  // namespace kestrova::fakes
