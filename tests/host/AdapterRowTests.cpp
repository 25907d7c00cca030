#include <gtest/gtest.h>

#include <algorithm>

#include "inventory/AdapterRecordReader.h"
#include "inventory/AdapterRow.h"

namespace kestrova {
namespace {

using R = Reading<Text>;

AdapterRecord FullRecord() {
    AdapterRecord r;
    r.MACAddress = R::Of(u"00:15:5D:01:02:03");
    r.Description = R::Of(u"Ethernet adapter");
    r.IPAddress = {R::Of(u"10.0.0.5"), R::Of(u"fe80::1"), R::Of(u"10.0.0.6")};
    r.DefaultIPGateway = {R::Of(u"10.0.0.1")};
    r.DNSServerSearchOrder = {R::Of(u"10.0.0.53"), R::Of(u"10.0.0.54"), R::Of(u"8.8.8.8")};
    r.DHCPEnabled = Reading<bool>::Of(true);
    r.DNSDomain = R::Of(u"corp.example");
    r.MTU = Reading<std::uint32_t>::Of(1500);
    r.ServiceName = R::Of(u"netvsc");
    return r;
}

TEST(AdapterRow, PutsEachValueInItsColumn) {
    const auto row = BuildAdapterRow(FullRecord());
    ASSERT_TRUE(row);
    EXPECT_EQ(row->key, Text(u"00:15:5D:01:02:03"));
    EXPECT_EQ(row->text, u"00:15:5D:01:02:03");
    EXPECT_EQ(row->smallIcon, AdapterStatus::Complete);
    const std::array<std::optional<Text>, 12> expected = {
        u"Ethernet adapter", u"10.0.0.5", u"10.0.0.1", u"10.0.0.53", u"True", u"fe80::1",
        u"10.0.0.6",         u"10.0.0.54", u"8.8.8.8", u"corp.example", u"1500", u"netvsc"};
    EXPECT_EQ(row->subItems, expected);
}

TEST(AdapterRow, AbsentValuesLeaveOnlyTheirOwnCellsUnset) {
    struct Case {
        const char* what;
        void (*blank)(AdapterRecord&);
        std::vector<int> emptySubItems;  // 1-based
    };
    const Case cases[] = {
        {"one IP", [](AdapterRecord& r) { r.IPAddress[1] = R::Failed(); r.IPAddress[2] = R::Failed(); },
         {6, 7}},
        {"null DNS list",
         [](AdapterRecord& r) { r.DNSServerSearchOrder = {R::Failed(), R::Failed(), R::Failed()}; },
         {4, 8, 9}},
        {"null domain", [](AdapterRecord& r) { r.DNSDomain = R::Null(); }, {10}},
        {"null MTU", [](AdapterRecord& r) { r.MTU = Reading<std::uint32_t>::Null(); }, {11}},
        {"failed description", [](AdapterRecord& r) { r.Description = R::Failed(); }, {1}},
        {"no DHCP value", [](AdapterRecord& r) { r.DHCPEnabled = Reading<bool>::Null(); }, {5}},
        {"no service", [](AdapterRecord& r) { r.ServiceName = R::Failed(); }, {12}},
    };
    for (const Case& c : cases) {
        AdapterRecord record = FullRecord();
        c.blank(record);
        const auto row = BuildAdapterRow(record);
        ASSERT_TRUE(row) << c.what;
        for (int n = 1; n <= 12; ++n) {
            const bool shouldBeEmpty =
                std::find(c.emptySubItems.begin(), c.emptySubItems.end(), n) !=
                c.emptySubItems.end();
            EXPECT_EQ(!row->subItems[static_cast<size_t>(n - 1)].has_value(), shouldBeEmpty)
                << c.what << ", sub-item " << n;
        }
    }
}

TEST(AdapterRow, TextFormsOfBooleanAndMtu) {
    const struct {
        bool dhcp;
        std::uint32_t mtu;
        Text dhcpText, mtuText;
    } cases[] = {
        {true, 1500, u"True", u"1500"},
        {false, 0, u"False", u"0"},
        {true, 4294967295u, u"True", u"4294967295"},  // no sign, no grouping
        {false, 1234567, u"False", u"1234567"},
    };
    for (const auto& c : cases) {
        AdapterRecord r = FullRecord();
        r.DHCPEnabled = Reading<bool>::Of(c.dhcp);
        r.MTU = Reading<std::uint32_t>::Of(c.mtu);
        const auto row = BuildAdapterRow(r);
        ASSERT_TRUE(row);
        EXPECT_EQ(row->subItems[4], c.dhcpText);
        EXPECT_EQ(row->subItems[10], c.mtuText);
    }
}

TEST(AdapterRow, MacAddressDecidesRowAndKey) {
    AdapterRecord r = FullRecord();
    r.MACAddress = R::Failed();
    EXPECT_FALSE(BuildAdapterRow(r)) << "an unreadable MAC address gets no row";

    r.MACAddress = R::Null();
    auto row = BuildAdapterRow(r);
    ASSERT_TRUE(row) << "a null MAC address still gets a row";
    EXPECT_FALSE(row->key);
    EXPECT_EQ(row->text, u"");
    EXPECT_EQ(row->subItems[0], Text(u"Ethernet adapter"));

    r.MACAddress = R::Of(u"");
    row = BuildAdapterRow(r);
    ASSERT_TRUE(row);
    EXPECT_FALSE(row->key) << "an empty MAC text is no key";

    r.MACAddress = R::Of(u"aa:bb:cc:dd:ee:ff");  // lower case as delivered, unchanged
    row = BuildAdapterRow(r);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->key, Text(u"aa:bb:cc:dd:ee:ff"));
}

TEST(AdapterRecordReader, ConvertsEachKindOfValue) {
    EXPECT_EQ(TextReading(WmiValue{Text(u"x")}), R::Of(u"x"));
    EXPECT_EQ(TextReading(WmiValue{Text(u"")}), R::Of(u""));
    EXPECT_EQ(TextReading(WmiValue{WmiNull{}}), R::Null());
    EXPECT_EQ(TextReading(WmiValue{WmiReadFailed{1}}), R::Failed());
    EXPECT_EQ(TextReading(WmiValue{true}), R::Of(u"True"));
    EXPECT_EQ(TextReading(WmiValue{std::int64_t{-12}}), R::Of(u"-12"));

    EXPECT_EQ(BoolReading(WmiValue{false}), Reading<bool>::Of(false));
    EXPECT_EQ(BoolReading(WmiValue{WmiNull{}}), Reading<bool>::Null());
    EXPECT_EQ(BoolReading(WmiValue{Text(u"True")}), Reading<bool>::Failed());

    using U = Reading<std::uint32_t>;
    EXPECT_EQ(UInt32Reading(WmiValue{std::int64_t{1500}}), U::Of(1500));
    // uint32 delivered in a signed 32-bit variant.
    EXPECT_EQ(UInt32Reading(WmiValue{std::int64_t{-1}}), U::Of(4294967295u));
    EXPECT_EQ(UInt32Reading(WmiValue{std::int64_t{INT32_MIN}}), U::Of(2147483648u));
    EXPECT_EQ(UInt32Reading(WmiValue{std::int64_t{4294967295}}), U::Of(4294967295u));
    EXPECT_EQ(UInt32Reading(WmiValue{std::int64_t{4294967296}}), U::Failed());
    EXPECT_EQ(UInt32Reading(WmiValue{std::int64_t{INT32_MIN} - 1}), U::Failed());
    EXPECT_EQ(UInt32Reading(WmiValue{WmiNull{}}), U::Null());
    EXPECT_EQ(UInt32Reading(WmiValue{Text(u"1500")}), U::Failed());
}

}  // namespace
}  // namespace kestrova
