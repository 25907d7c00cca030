#include "inventory/AdapterStatus.h"

namespace kestrova {

namespace {
bool HasText(const Reading<Text>& reading) {
    return reading.present() && !reading.value().empty();
}
}  // namespace

AdapterStatus StatusOf(const AdapterRecord& record) {
    if (!HasText(record.DefaultIPGateway[0])) return AdapterStatus::NoGateway;
    if (!HasText(record.DNSServerSearchOrder[0])) return AdapterStatus::NoDnsServer;
    return AdapterStatus::Complete;
}

}  // namespace kestrova
