#include "inventory/DisplayName.h"

namespace kestrova {

Text DisplayName(TextView computerName) {
    Text name = u"winmgmts:\\\\";
    name += computerName;
    name += u"\\root\\CIMV2";
    return name;
}

}  // namespace kestrova
