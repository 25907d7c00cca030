// The adapter table as the refresh sees it: a report-view list that shows
// the rows of the last refresh. How it gets from the rows it shows to the
// new ones is its own affair; the user's place in it survives.
#pragma once

#include <vector>

#include "inventory/AdapterRow.h"
#include "inventory/AdapterTable.h"
#include "inventory/RefreshStamp.h"

namespace kestrova {

class ListView {
public:
    virtual ~ListView() = default;

    // The rows of a refresh in the order WMI delivered them; keys are unique
    // among keyed rows. Afterwards the table holds exactly these rows (in
    // the user's sort order, if one was chosen). A list that is not
    // `complete` was cut short: adapters missing from it are not gone. Says
    // what changed.
    virtual TableUpdate ShowRows(std::vector<AdapterRow> rows, const RefreshStamp& stamp,
                                 bool complete) = 0;

    virtual float Top() const = 0;  // twips
    virtual void SetWidth(float twips) = 0;
    virtual void SetHeight(float twips) = 0;
};

}  // namespace kestrova
