#include "window/SelectionText.h"

namespace kestrova {

namespace {
void AppendLine(Text& out, const TableRowTexts& cells) {
    bool first = true;
    for (const Text& cell : cells) {
        if (!first) out.push_back(u'\t');
        first = false;
        for (char16_t c : cell) {
            out.push_back(c == u'\t' || c == u'\r' || c == u'\n' ? u' ' : c);
        }
    }
    out += u"\r\n";
}
}  // namespace

Text SelectionText(const TableRowTexts& headers, const std::vector<TableRowTexts>& rows) {
    Text out;
    AppendLine(out, headers);
    for (const TableRowTexts& row : rows) AppendLine(out, row);
    return out;
}

}  // namespace kestrova
