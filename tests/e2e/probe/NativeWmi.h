// What the table ought to show, read straight from WMI through its native
// COM interfaces (IWbemLocator, IWbemServices, IWbemClassObject), a road the
// program itself does not take, and turned into cell texts by this file's
// own conversion.
#pragma once

#include <string>
#include <vector>

namespace kestrova::e2e {

enum class Light { Green, Yellow, Red };

struct ExpectedRow {
    std::vector<std::wstring> cells;  // the table's 13 columns, left to right
    Light light;
};

struct WmiTruth {
    std::vector<ExpectedRow> rows;
    std::wstring error;  // empty when the read worked
};

WmiTruth ReadAdaptersNatively();

const wchar_t* NameOf(Light light);

}  // namespace kestrova::e2e
