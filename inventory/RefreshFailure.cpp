#include "inventory/RefreshFailure.h"

namespace kestrova {

namespace {
// Platform messages end in a line break and sometimes carry several lines; a
// label shows one line.
Text OneLine(TextView message) {
    Text out;
    bool pendingSpace = false;
    for (char16_t c : message) {
        if (c == u'\r' || c == u'\n' || c == u'\t' || c == u' ') {
            pendingSpace = !out.empty();
            continue;
        }
        if (pendingSpace) out.push_back(u' ');
        pendingSpace = false;
        out.push_back(c);
    }
    return out;
}
}  // namespace

Text Describe(const RefreshFailure& failure) {
    Text text;
    if (!failure.computerName.empty()) text += failure.computerName + u": ";
    if (failure.step == RefreshStep::LaterFetch) {
        text += u"read " + DecimalText(static_cast<std::uint64_t>(failure.adaptersRead)) +
                (failure.adaptersRead == 1 ? u" adapter, then: " : u" adapters, then: ");
    }
    Text message = OneLine(failure.error.message);
    if (message.empty()) {
        switch (failure.step) {
            case RefreshStep::Connect: message = u"Cannot connect to WMI."; break;
            case RefreshStep::Query: message = u"The adapter query failed."; break;
            case RefreshStep::FirstFetch: message = u"Reading the adapters failed."; break;
            case RefreshStep::LaterFetch: message = u"Reading the next adapter failed."; break;
        }
    }
    text += message + u" (0x" + HexText8(failure.error.code) + u")";
    return text;
}

}  // namespace kestrova
