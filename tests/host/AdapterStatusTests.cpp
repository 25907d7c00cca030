#include <gtest/gtest.h>

#include "inventory/AdapterStatus.h"

namespace kestrova {
namespace {

using R = Reading<Text>;

struct StatusCase {
    const char* name;
    R gateway;
    R dns;
    AdapterStatus expected;
};

void PrintTo(const StatusCase& c, std::ostream* os) { *os << c.name; }

class AdapterStatusTest : public testing::TestWithParam<StatusCase> {};

TEST_P(AdapterStatusTest, FollowsGatewayThenDns) {
    AdapterRecord record;
    record.DefaultIPGateway[0] = GetParam().gateway;
    record.DNSServerSearchOrder[0] = GetParam().dns;
    EXPECT_EQ(StatusOf(record), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AdapterStatusTest,
    testing::Values(
        StatusCase{"both", R::Of(u"10.0.0.1"), R::Of(u"10.0.0.53"), AdapterStatus::Complete},
        StatusCase{"dnsEmptyText", R::Of(u"10.0.0.1"), R::Of(u""), AdapterStatus::NoDnsServer},
        StatusCase{"dnsNull", R::Of(u"10.0.0.1"), R::Null(), AdapterStatus::NoDnsServer},
        StatusCase{"dnsFailed", R::Of(u"10.0.0.1"), R::Failed(), AdapterStatus::NoDnsServer},
        StatusCase{"gatewayEmpty", R::Of(u""), R::Of(u"10.0.0.53"), AdapterStatus::NoGateway},
        StatusCase{"gatewayNull", R::Null(), R::Of(u"10.0.0.53"), AdapterStatus::NoGateway},
        StatusCase{"gatewayFailed", R::Failed(), R::Of(u"10.0.0.53"), AdapterStatus::NoGateway},
        // A missing gateway outranks a missing DNS server.
        StatusCase{"neither", R::Null(), R::Null(), AdapterStatus::NoGateway},
        // A blank is text, not emptiness: nothing is trimmed.
        StatusCase{"blankIsText", R::Of(u" "), R::Of(u" "), AdapterStatus::Complete}),
    [](const testing::TestParamInfo<StatusCase>& info) { return info.param.name; });

TEST(AdapterStatusImageIndex, IsOneBasedInImageOrder) {
    EXPECT_EQ(static_cast<int>(AdapterStatus::Complete), 1);
    EXPECT_EQ(static_cast<int>(AdapterStatus::NoDnsServer), 2);
    EXPECT_EQ(static_cast<int>(AdapterStatus::NoGateway), 3);
}

}  // namespace
}  // namespace kestrova
