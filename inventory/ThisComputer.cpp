#include "inventory/ThisComputer.h"

#include <cstddef>

namespace kestrova {

namespace {

// Computer names are ASCII in practice; a name in other letters typed in
// another case only costs the reachability check, never a wrong answer.
bool SameName(TextView a, TextView b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (FoldedAscii(a[i]) != FoldedAscii(b[i])) return false;
    }
    return true;
}

// Four dot-separated decimal parts of one to three digits, each at most 255,
// the first 127: the whole loopback network, as the resolver would read it.
bool IsIpv4Loopback(TextView name) {
    int parts = 0;
    std::size_t at = 0;
    while (parts < 4) {
        std::size_t digits = 0;
        int value = 0;
        while (at < name.size() && name[at] >= u'0' && name[at] <= u'9' && digits < 4) {
            value = value * 10 + (name[at] - u'0');
            ++at;
            ++digits;
        }
        if (digits == 0 || digits > 3 || value > 255) return false;
        if (parts == 0 && value != 127) return false;
        ++parts;
        if (parts < 4) {
            if (at >= name.size() || name[at] != u'.') return false;
            ++at;
        }
    }
    return at == name.size();
}

}  // namespace

bool IsThisComputer(TextView name, const ComputerNames& names) {
    if (name.empty() || name == u".") return true;
    if (SameName(name, u"localhost")) return true;
    for (const Text* own : {&names.netBios, &names.dnsHost, &names.dnsFullyQualified}) {
        if (!own->empty() && SameName(name, *own)) return true;
    }
    return name == u"::1" || IsIpv4Loopback(name);
}

}  // namespace kestrova
