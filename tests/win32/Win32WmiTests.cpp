// The WMI scripting layer against the real thing: the local computer's WMI
// (Wine's when run on Linux), cross-checked against WMI's native interface and
// against what Linux itself reports about the machine's interfaces.
#include <windows.h>

#include <oleauto.h>
#include <wbemcli.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "fakes/FakeListView.h"
#include "fakes/FakeRpcEndpoint.h"
#include "inventory/AdapterQuery.h"
#include "inventory/DisplayName.h"
#include "inventory/NetMon.h"
#include "platform/TextBox.h"
#include "platform/win32/ComApartment.h"
#include "platform/win32/ErrorText.h"
#include "platform/win32/UniqueBstr.h"
#include "platform/win32/UniqueVariant.h"
#include "platform/win32/WideText.h"
#include "platform/win32/Win32RpcEndpoint.h"
#include "platform/win32/Win32Wmi.h"

namespace kestrova {
namespace {

using Microsoft::WRL::ComPtr;
using win32::ComApartment;
using win32::unique_bstr;
using win32::unique_variant;
using win32::Win32WmiConnector;

constexpr std::uint32_t kTransportFailure = 0x80041015;
constexpr std::uint32_t kInvalidNamespace = 0x8004100E;
constexpr std::uint32_t kNotFound = 0x80041002;
constexpr std::uint32_t kBadIndex = 0x8002000B;      // DISP_E_BADINDEX
constexpr std::uint32_t kTypeMismatch = 0x80020005;  // DISP_E_TYPEMISMATCH
constexpr std::uint32_t kOverflow = 0x8002000A;      // DISP_E_OVERFLOW

// Wine's WMI differs from Windows' in known ways (no remote WMI, fewer
// properties); those facts are only required when Wine is really underneath.
bool RunningUnderWine() {
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll != nullptr && GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

std::optional<Text> Environment(const wchar_t* name) {
    wchar_t buffer[256];
    const DWORD length = GetEnvironmentVariableW(name, buffer, 256);
    if (length == 0 || length >= 256) return std::nullopt;
    return win32::FromWide(std::wstring_view(buffer, length));
}

std::string Ascii(TextView text) {
    return TextToAscii(text);
}

Text Folded(TextView text) {
    Text out(text);
    for (char16_t& c : out) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return out;
}

bool SameIgnoringCase(TextView a, TextView b) {
    return Folded(a) == Folded(b);
}

std::string Show(const WmiValue& value) {
    if (const auto* failed = std::get_if<WmiReadFailed>(&value)) {
        return "failed 0x" + Ascii(HexText8(failed->code));
    }
    if (std::holds_alternative<WmiNull>(value)) return "null";
    if (const auto* text = std::get_if<Text>(&value)) return "text \"" + Ascii(*text) + "\"";
    if (const auto* flag = std::get_if<bool>(&value)) return *flag ? "bool true" : "bool false";
    return "int " + std::to_string(std::get<std::int64_t>(value));
}

bool Same(const WmiValue& a, const WmiValue& b) {
    if (a.index() != b.index()) return false;
    if (const auto* failed = std::get_if<WmiReadFailed>(&a)) {
        return failed->code == std::get<WmiReadFailed>(b).code;
    }
    if (std::holds_alternative<WmiNull>(a)) return true;
    if (const auto* text = std::get_if<Text>(&a)) return *text == std::get<Text>(b);
    if (const auto* flag = std::get_if<bool>(&a)) return *flag == std::get<bool>(b);
    return std::get<std::int64_t>(a) == std::get<std::int64_t>(b);
}

// Four dot-separated decimal numbers of at most 255: how Linux prints an
// IPv4 address, and how WMI lists one among the IPv6 addresses.
// What Linux itself reports for the interface with an IPv4 address, handed
// over by tests/win32/run-under-wine.sh.
struct LinuxView {
    Text mac;
    Text ipv4;
};
constexpr const char* kNoLinuxView =
    "KESTROVA_EXPECT_MAC/KESTROVA_EXPECT_IPV4 not set: run through "
    "tests/win32/run-under-wine.sh to compare with Linux's own view";

std::optional<LinuxView> LinuxSees() {
    std::optional<Text> mac = Environment(L"KESTROVA_EXPECT_MAC");
    std::optional<Text> ipv4 = Environment(L"KESTROVA_EXPECT_IPV4");
    if (!mac || !ipv4) return std::nullopt;
    return LinuxView{std::move(*mac), std::move(*ipv4)};
}

bool LooksLikeIpv4(TextView text) {
    int parts = 0;
    int digits = 0;
    int value = 0;
    for (char16_t c : text) {
        if (c == u'.') {
            if (digits == 0) return false;
            ++parts;
            digits = 0;
            value = 0;
        } else if (c >= u'0' && c <= u'9') {
            value = value * 10 + (c - u'0');
            if (++digits > 3 || value > 255) return false;
        } else {
            return false;
        }
    }
    return parts == 3 && digits > 0;
}

class FakeTextBox final : public TextBox {
public:
    explicit FakeTextBox(Text text) : text_(std::move(text)) {}
    Text GetText() const override { return text_; }
    void SetText(TextView text) override { text_ = Text(text); }
    bool IsEnabled() const override { return enabled_; }
    void SetEnabled(bool enabled) override { enabled_ = enabled; }
    void FocusAndSelectAll() override {}

private:
    Text text_;
    bool enabled_ = true;
};

// The same question through WMI's native COM interface, which shares nothing
// with the scripting objects above it but the data: a second opinion on how
// many adapters there are and what their MAC addresses are.
struct NativeAnswer {
    HRESULT hr = E_FAIL;
    std::vector<Text> macs;  // "(null)" for an adapter without one
};

NativeAnswer AskNatively() {
    NativeAnswer answer;
    ComPtr<IWbemLocator> locator;
    answer.hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(locator.GetAddressOf()));
    if (FAILED(answer.hr)) return answer;
    unique_bstr space = unique_bstr::From(L"root\\CIMV2");
    ComPtr<IWbemServices> services;
    answer.hr = locator->ConnectServer(space.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                       services.GetAddressOf());
    if (FAILED(answer.hr)) return answer;
    // Windows' Win32 provider wants impersonation; in-process (Wine) there is
    // no proxy to set it on, so the result does not matter.
    CoSetProxyBlanket(services.Get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                      RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
    unique_bstr language = unique_bstr::From(L"WQL");
    unique_bstr query = unique_bstr::From(win32::ToWide(kAdapterQuery));
    ComPtr<IEnumWbemClassObject> results;
    answer.hr = services->ExecQuery(language.get(), query.get(),
                                    WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                    results.GetAddressOf());
    if (FAILED(answer.hr)) return answer;
    for (;;) {
        ComPtr<IWbemClassObject> object;
        ULONG returned = 0;
        answer.hr =
            results->Next(static_cast<LONG>(WBEM_INFINITE), 1, object.GetAddressOf(), &returned);
        if (FAILED(answer.hr) || returned == 0) break;
        unique_variant mac;
        answer.hr = object->Get(L"MACAddress", 0, mac.put(), nullptr, nullptr);
        if (FAILED(answer.hr)) return answer;
        answer.macs.push_back(mac.vt() == VT_BSTR ? win32::FromWide(V_BSTR(&mac.get()))
                                                  : Text(u"(null)"));
    }
    if (SUCCEEDED(answer.hr)) answer.hr = S_OK;
    return answer;
}

// What the scripting layer under test delivers for every adapter: the
// values a refresh reads, gathered while the set is open.
struct Adapter {
    WmiValue mac;
    WmiValue description;
    std::vector<WmiValue> ips;  // elements 0..2
    WmiValue gateway;           // element 0
    WmiValue dns;               // element 0
    WmiValue dhcp;
    WmiValue mtu;
    WmiValue serviceName;
};

struct Inventory {
    std::optional<PlatformError> failure;  // of Bind, ExecQuery or a Next
    std::vector<Adapter> adapters;
};

Inventory TakeInventory(WmiConnector& wmi, TextView displayName) {
    Inventory inventory;
    auto services = wmi.Bind(displayName);
    if (!services) {
        inventory.failure = services.error();
        return inventory;
    }
    auto set = services.value()->ExecQuery(kAdapterQuery);
    if (!set) {
        inventory.failure = set.error();
        return inventory;
    }
    for (;;) {
        auto next = set.value()->Next();
        if (!next) {
            inventory.failure = next.error();
            break;
        }
        if (!next.value()) {
            // An ended set stays ended rather than failing or starting over.
            auto after = set.value()->Next();
            if (!after) {
                inventory.failure = after.error();
            } else if (after.value()) {
                inventory.failure = PlatformError{0, u"an object after the end"};
            }
            break;
        }
        WmiObject& object = *next.value();
        Adapter adapter{object.ReadProperty(property::MACAddress),
                        object.ReadProperty(property::Description),
                        {},
                        object.ReadElement(property::DefaultIPGateway, 0),
                        object.ReadElement(property::DNSServerSearchOrder, 0),
                        object.ReadProperty(property::DHCPEnabled),
                        object.ReadProperty(property::MTU),
                        object.ReadProperty(property::ServiceName)};
        for (std::int16_t i = 0; i < 3; ++i) {
            adapter.ips.push_back(object.ReadElement(property::IPAddress, i));
        }
        inventory.adapters.push_back(std::move(adapter));
    }
    return inventory;
}

const Adapter* FindByMac(const Inventory& inventory, TextView mac) {
    for (const Adapter& adapter : inventory.adapters) {
        const auto* text = std::get_if<Text>(&adapter.mac);
        if (text != nullptr && SameIgnoringCase(*text, mac)) return &adapter;
    }
    return nullptr;
}

class Win32WmiTestsLive : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.ok()) << "CoInitializeEx: 0x"
                               << Ascii(HexText8(static_cast<std::uint32_t>(com_.result())));
    }

    ComApartment com_;
    win32::Win32RpcEndpoint rpc_;
    Win32WmiConnector wmi_;
};

TEST_F(Win32WmiTestsLive, LocalComputerListsAdaptersUnderEveryLocalName) {
    const NativeAnswer native = AskNatively();
    ASSERT_TRUE(SUCCEEDED(native.hr))
        << "native WMI: 0x" << Ascii(HexText8(static_cast<std::uint32_t>(native.hr)));
    std::vector<Text> nativeMacs = native.macs;
    std::sort(nativeMacs.begin(), nativeMacs.end());

    std::vector<Text> names = {u"winmgmts:\\\\.\\root\\CIMV2", DisplayName(u""),
                               DisplayName(u"localhost")};
    if (const std::optional<Text> self = Environment(L"COMPUTERNAME")) {
        names.push_back(DisplayName(*self));
    }
    for (const Text& name : names) {
        SCOPED_TRACE(Ascii(name));
        const Inventory inventory = TakeInventory(wmi_, name);
        ASSERT_FALSE(inventory.failure) << "0x" << Ascii(HexText8(inventory.failure->code)) << " "
                                        << Ascii(inventory.failure->message);
        ASSERT_GE(inventory.adapters.size(), 1u);

        std::vector<Text> macs;
        for (const Adapter& adapter : inventory.adapters) {
            EXPECT_FALSE(std::holds_alternative<WmiReadFailed>(adapter.mac)) << Show(adapter.mac);
            EXPECT_TRUE(std::holds_alternative<Text>(adapter.description))
                << Show(adapter.description);
            EXPECT_TRUE(std::holds_alternative<bool>(adapter.dhcp) ||
                        std::holds_alternative<WmiNull>(adapter.dhcp))
                << Show(adapter.dhcp);
            const auto* mac = std::get_if<Text>(&adapter.mac);
            macs.push_back(mac != nullptr ? *mac : Text(u"(null)"));
        }
        std::sort(macs.begin(), macs.end());
        EXPECT_EQ(macs, nativeMacs) << "scripting and native WMI disagree on the adapters";
    }
}

TEST_F(Win32WmiTestsLive, ExpectedAdapterCarriesTheAddressLinuxReports) {
    const std::optional<LinuxView> seen = LinuxSees();
    if (!seen) GTEST_SKIP() << kNoLinuxView;
    const Text& mac = seen->mac;
    const Text& ipv4 = seen->ipv4;
    const Inventory inventory = TakeInventory(wmi_, DisplayName(u""));
    ASSERT_FALSE(inventory.failure) << Ascii(inventory.failure->message);
    const Adapter* adapter = FindByMac(inventory, mac);
    ASSERT_NE(adapter, nullptr) << "no adapter with MAC " << Ascii(mac);

    std::optional<Text> firstIpv4;
    for (const WmiValue& ip : adapter->ips) {
        const auto* text = std::get_if<Text>(&ip);
        if (text != nullptr && LooksLikeIpv4(*text)) {
            firstIpv4 = *text;
            break;
        }
    }
    ASSERT_TRUE(firstIpv4) << "no IPv4 address among " << Show(adapter->ips[0]) << ", "
                           << Show(adapter->ips[1]) << ", " << Show(adapter->ips[2]);
    EXPECT_EQ(Ascii(*firstIpv4), Ascii(ipv4));
}

class Win32WmiTestsRefresh : public Win32WmiTestsLive {};

TEST_F(Win32WmiTestsRefresh, BuildsOneConsistentRowPerAdapter) {
    const NativeAnswer native = AskNatively();
    ASSERT_TRUE(SUCCEEDED(native.hr));

    FakeTextBox computer(u"");
    fakes::FakeListView list;
    NetMon refresh(computer, rpc_, wmi_, list);
    const RefreshResult result = refresh();

    ASSERT_EQ(result.kind, RefreshResult::Kind::Refreshed)
        << (result.failure ? Ascii(result.failure->error.message) : std::string());
    EXPECT_EQ(result.rows, static_cast<int>(native.macs.size()));
    ASSERT_EQ(list.rows.size(), static_cast<size_t>(result.rows));

    for (const fakes::FakeRow& row : list.rows) {
        SCOPED_TRACE(Ascii(row.text));
        const auto& gateway = row.subItems[2];
        const auto& dns = row.subItems[3];
        const int icon = (!gateway || gateway->empty()) ? 3 : (!dns || dns->empty()) ? 2 : 1;
        EXPECT_EQ(row.smallIcon, icon);
        ASSERT_TRUE(row.subItems[4]) << "no DHCP cell";
        EXPECT_TRUE(*row.subItems[4] == u"True" || *row.subItems[4] == u"False")
            << Ascii(*row.subItems[4]);
    }
}

TEST_F(Win32WmiTestsRefresh, ExpectedAdapterRowAgreesWithLinuxAndDirectReads) {
    const std::optional<LinuxView> seen = LinuxSees();
    if (!seen) GTEST_SKIP() << kNoLinuxView;
    const Text& mac = seen->mac;
    const Text& ipv4 = seen->ipv4;
    const Inventory inventory = TakeInventory(wmi_, DisplayName(u""));
    ASSERT_FALSE(inventory.failure);

    FakeTextBox computer(u"");
    fakes::FakeListView list;
    NetMon refresh(computer, rpc_, wmi_, list);
    ASSERT_EQ(refresh().kind, RefreshResult::Kind::Refreshed);

    const auto row = std::find_if(list.rows.begin(), list.rows.end(),
                                  [&](const auto& r) { return SameIgnoringCase(r.text, mac); });
    ASSERT_NE(row, list.rows.end()) << "no row for " << Ascii(mac);
    const Adapter* adapter = FindByMac(inventory, mac);
    ASSERT_NE(adapter, nullptr);

    ASSERT_TRUE(row->subItems[4]) << "no DHCP cell";
    const bool ipShown =
        row->subItems[1] == ipv4 || row->subItems[5] == ipv4 || row->subItems[6] == ipv4;
    EXPECT_TRUE(ipShown) << "IP cells do not show " << Ascii(ipv4);

    ASSERT_TRUE(std::holds_alternative<bool>(adapter->dhcp)) << Show(adapter->dhcp);
    EXPECT_EQ(*row->subItems[4], std::get<bool>(adapter->dhcp) ? u"True" : u"False");

    // A cell shows exactly what a direct read delivers, and nothing when that
    // read finds no value.
    const auto cellOf = [](const WmiValue& value) -> std::optional<Text> {
        if (const auto* text = std::get_if<Text>(&value)) return *text;
        return std::nullopt;
    };
    EXPECT_EQ(row->subItems[0], cellOf(adapter->description)) << Show(adapter->description);
    EXPECT_EQ(row->subItems[2], cellOf(adapter->gateway)) << Show(adapter->gateway);
    EXPECT_EQ(row->subItems[3], cellOf(adapter->dns)) << Show(adapter->dns);
    const bool hasGateway = row->subItems[2] && !row->subItems[2]->empty();
    const bool hasDns = row->subItems[3] && !row->subItems[3]->empty();
    EXPECT_EQ(row->smallIcon, !hasGateway ? 3 : !hasDns ? 2 : 1);

    const bool mtuReadable = std::holds_alternative<std::int64_t>(adapter->mtu);
    const bool serviceReadable = std::holds_alternative<Text>(adapter->serviceName);
    EXPECT_EQ(row->subItems[10].has_value(), mtuReadable) << Show(adapter->mtu);
    EXPECT_EQ(row->subItems[11].has_value(), serviceReadable) << Show(adapter->serviceName);

    if (RunningUnderWine()) {
        // Wine's class lacks both properties, and says so the way Windows
        // does for an unknown property.
        EXPECT_TRUE(Same(adapter->mtu, WmiReadFailed{kNotFound})) << Show(adapter->mtu);
        EXPECT_TRUE(Same(adapter->serviceName, WmiReadFailed{kNotFound}))
            << Show(adapter->serviceName);
        EXPECT_FALSE(row->subItems[10]);
        EXPECT_FALSE(row->subItems[11]);
        // Wine describes an adapter by its Linux interface name.
        const std::optional<Text> ifname = Environment(L"KESTROVA_EXPECT_IFNAME");
        if (ifname) {
            EXPECT_EQ(row->subItems[0], ifname);
        }
    }
}

// WMI's own answer for a computer it cannot reach, past a check that lets
// every name through.
TEST_F(Win32WmiTestsRefresh, UnreachableComputerFailsAtConnectAndKeepsTheTable) {
    const Text name = u"kestrova-no-such-host";
    FakeTextBox computer(name);
    fakes::FakeListView list;
    AdapterRow kept;
    kept.key = kept.text = u"00:11:22:33:44:55";
    kept.smallIcon = AdapterStatus::Complete;
    kept.subItems[0] = u"kept";
    list.ShowRows({kept}, {}, true);
    const std::vector<fakes::FakeRow> before = list.rows;

    fakes::FakeRpcEndpoint answering;
    NetMon refresh(computer, answering, wmi_, list);
    const RefreshResult result = refresh();

    ASSERT_EQ(result.kind, RefreshResult::Kind::Failed);
    ASSERT_TRUE(result.failure);
    EXPECT_EQ(result.failure->step, RefreshStep::Connect);
    EXPECT_EQ(result.failure->computerName, name);
    if (RunningUnderWine()) {
        EXPECT_EQ(Ascii(HexText8(result.failure->error.code)), Ascii(HexText8(kTransportFailure)));
    } else {
        EXPECT_NE(result.failure->error.code & 0x80000000u, 0u);
    }
    EXPECT_FALSE(result.failure->error.message.empty());
    EXPECT_EQ(result.rows, 0);

    EXPECT_EQ(list.shows, 1) << "only the rows shown before";
    ASSERT_EQ(list.rows.size(), before.size());
    EXPECT_EQ(list.rows[0].key, before[0].key);
    EXPECT_EQ(list.rows[0].text, before[0].text);
    EXPECT_EQ(list.rows[0].smallIcon, before[0].smallIcon);
    EXPECT_EQ(list.rows[0].subItems, before[0].subItems);
}

TEST_F(Win32WmiTestsLive, BindFailuresCarryTheirCode) {
    struct Case {
        const char* label;
        Text displayName;
        std::uint32_t code;
        bool onlyUnderWine;  // Windows may fail differently (or slowly)
    };
    const Case cases[] = {
        {"unknown namespace", u"winmgmts:\\\\.\\root\\KestrovaNoSuchNamespace", kInvalidNamespace,
         false},
        {"remote computer", DisplayName(u"kestrova-no-such-host"), kTransportFailure, true},
        // Would otherwise bind the local computer's default namespace.
        {"zero inside the name", Text(u"winmgmts:\\\\.") + u'\0' + u"evil\\root\\CIMV2",
         static_cast<std::uint32_t>(MK_E_SYNTAX), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        auto services = wmi_.Bind(c.displayName);
        ASSERT_FALSE(services);
        EXPECT_FALSE(services.error().message.empty());
        if (c.onlyUnderWine && !RunningUnderWine()) {
            EXPECT_NE(services.error().code & 0x80000000u, 0u);
        } else {
            EXPECT_EQ(Ascii(HexText8(services.error().code)), Ascii(HexText8(c.code)));
        }
    }
}

TEST_F(Win32WmiTestsLive, BadQueryFailsBeforeTheFirstObject) {
    auto services = wmi_.Bind(DisplayName(u""));
    ASSERT_TRUE(services);
    // With results returned immediately, Windows may report the error at the
    // first fetch rather than at the query itself; either is a failure
    // before any object, which is what a refresh needs to see.
    auto set = services.value()->ExecQuery(u"this is not WQL");
    std::optional<PlatformError> failure;
    if (!set) {
        failure = set.error();
    } else {
        auto first = set.value()->Next();
        ASSERT_FALSE(first) << "a bad query delivered an object or an empty set";
        failure = first.error();
    }
    EXPECT_EQ(Ascii(HexText8(failure->code)), "80041017");  // WBEM_E_INVALID_QUERY
    EXPECT_FALSE(failure->message.empty());
}

TEST_F(Win32WmiTestsLive, EachReadStandsAlone) {
    auto services = wmi_.Bind(DisplayName(u""));
    ASSERT_TRUE(services);
    auto set = services.value()->ExecQuery(kAdapterQuery);
    ASSERT_TRUE(set);
    auto next = set.value()->Next();
    ASSERT_TRUE(next);
    ASSERT_TRUE(next.value());
    WmiObject& adapter = *next.value();

    const WmiValue mac = adapter.ReadProperty(property::MACAddress);
    ASSERT_TRUE(std::holds_alternative<Text>(mac)) << Show(mac);
    struct Case {
        const char* label;
        std::function<WmiValue()> read;
        WmiValue expected;
    };
    const Case cases[] = {
        {"unknown property", [&] { return adapter.ReadProperty(u"KestrovaNoSuchProperty"); },
         WmiReadFailed{kNotFound}},
        {"element of an unknown property",
         [&] { return adapter.ReadElement(u"KestrovaNoSuchProperty", 0); },
         WmiReadFailed{kNotFound}},
        {"element of a single value", [&] { return adapter.ReadElement(property::MACAddress, 0); },
         WmiReadFailed{kTypeMismatch}},
        {"element far past the end", [&] { return adapter.ReadElement(property::IPAddress, 4000); },
         WmiReadFailed{kBadIndex}},
        {"MAC again after the failures", [&] { return adapter.ReadProperty(property::MACAddress); },
         mac},
    };
    for (const Case& c : cases) {
        const WmiValue actual = c.read();
        EXPECT_TRUE(Same(actual, c.expected))
            << c.label << ": got " << Show(actual) << ", want " << Show(c.expected);
    }
}

// --- Value conversion, no WMI involved -----------------------------------

unique_variant Bstr(std::wstring_view text) {
    unique_variant v;
    V_VT(v.addressof()) = VT_BSTR;
    V_BSTR(v.addressof()) = unique_bstr::From(text).release();
    return v;
}

template <class Fill>
unique_variant Scalar(VARTYPE type, Fill fill) {
    unique_variant v;
    V_VT(v.addressof()) = type;
    fill(*v.addressof());
    return v;
}

unique_variant BstrList(const std::vector<std::wstring_view>& items, LONG lowerBound = 0) {
    unique_variant v;
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, lowerBound, static_cast<ULONG>(items.size()));
    if (array == nullptr) return v;
    for (size_t i = 0; i < items.size(); ++i) {
        LONG at = lowerBound + static_cast<LONG>(i);
        unique_bstr item = unique_bstr::From(items[i]);
        SafeArrayPutElement(array, &at, item.get());  // copies the string
    }
    V_VT(v.addressof()) = VT_ARRAY | VT_BSTR;
    V_ARRAY(v.addressof()) = array;
    return v;
}

TEST(Win32WmiTestsValues, ScalarsKeepTheirTypeAndValue) {
    static LONG byRefTarget = -7;
    struct Case {
        const char* label;
        std::function<unique_variant()> make;
        WmiValue expected;
    };
    const Case cases[] = {
        {"text", [] { return Bstr(L"eth0"); }, Text(u"eth0")},
        {"text with a zero inside", [] { return Bstr(std::wstring_view(L"a\0b", 3)); },
         Text(u"a\0b", 3)},
        {"null BSTR is empty text",
         [] { return Scalar(VT_BSTR, [](VARIANT& v) { V_BSTR(&v) = nullptr; }); }, Text()},
        {"true", [] { return Scalar(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = VARIANT_TRUE; }); },
         true},
        {"false", [] { return Scalar(VT_BOOL, [](VARIANT& v) { V_BOOL(&v) = VARIANT_FALSE; }); },
         false},
        {"VT_I4 -1 stays -1", [] { return Scalar(VT_I4, [](VARIANT& v) { V_I4(&v) = -1; }); },
         std::int64_t{-1}},
        {"VT_I4 1500", [] { return Scalar(VT_I4, [](VARIANT& v) { V_I4(&v) = 1500; }); },
         std::int64_t{1500}},
        {"VT_UI4 max", [] { return Scalar(VT_UI4, [](VARIANT& v) { V_UI4(&v) = 4294967295u; }); },
         std::int64_t{4294967295}},
        {"VT_I1 -5", [] { return Scalar(VT_I1, [](VARIANT& v) { V_I1(&v) = -5; }); },
         std::int64_t{-5}},
        {"VT_UI1 255", [] { return Scalar(VT_UI1, [](VARIANT& v) { V_UI1(&v) = 255; }); },
         std::int64_t{255}},
        {"VT_I2 -2", [] { return Scalar(VT_I2, [](VARIANT& v) { V_I2(&v) = -2; }); },
         std::int64_t{-2}},
        {"VT_UI2 65535", [] { return Scalar(VT_UI2, [](VARIANT& v) { V_UI2(&v) = 65535; }); },
         std::int64_t{65535}},
        {"VT_I8 min", [] { return Scalar(VT_I8, [](VARIANT& v) { V_I8(&v) = INT64_MIN; }); },
         std::int64_t{INT64_MIN}},
        {"VT_UI8 beyond int64",
         [] { return Scalar(VT_UI8, [](VARIANT& v) { V_UI8(&v) = 0x8000000000000000ull; }); },
         WmiReadFailed{kOverflow}},
        {"VT_INT", [] { return Scalar(VT_INT, [](VARIANT& v) { V_INT(&v) = -3; }); },
         std::int64_t{-3}},
        {"VT_UINT", [] { return Scalar(VT_UINT, [](VARIANT& v) { V_UINT(&v) = 3000000000u; }); },
         std::int64_t{3000000000}},
        {"by reference",
         [] { return Scalar(VT_I4 | VT_BYREF, [](VARIANT& v) { V_I4REF(&v) = &byRefTarget; }); },
         std::int64_t{-7}},
        {"double as text", [] { return Scalar(VT_R8, [](VARIANT& v) { V_R8(&v) = 42.0; }); },
         Text(u"42")},
        {"null", [] { return Scalar(VT_NULL, [](VARIANT&) {}); }, WmiNull{}},
        {"empty", [] { return unique_variant(); }, WmiNull{}},
        {"list read as a single value", [] { return BstrList({L"a"}); },
         WmiReadFailed{kTypeMismatch}},
        {"object", [] { return Scalar(VT_DISPATCH, [](VARIANT& v) { V_DISPATCH(&v) = nullptr; }); },
         WmiReadFailed{kTypeMismatch}},
    };
    for (const Case& c : cases) {
        const unique_variant value = c.make();
        const WmiValue actual = win32::ValueFromVariant(value.get());
        EXPECT_TRUE(Same(actual, c.expected))
            << c.label << ": got " << Show(actual) << ", want " << Show(c.expected);
    }
}

TEST(Win32WmiTestsValues, ListElementsByIndexFromTheLowerBound) {
    const std::vector<std::wstring_view> five = {L"a", L"b", L"c", L"d", L"e"};
    struct Case {
        const char* label;
        std::function<unique_variant()> make;
        std::int16_t index;
        WmiValue expected;
    };
    const auto one = [] { return BstrList({L"10.0.0.5"}); };
    const auto fiveItems = [five] { return BstrList(five); };
    const auto fromOne = [] { return BstrList({L"x", L"y", L"z"}, 1); };
    const Case cases[] = {
        {"one: 0", one, 0, Text(u"10.0.0.5")},
        {"one: 1", one, 1, WmiReadFailed{kBadIndex}},
        {"one: -1", one, -1, WmiReadFailed{kBadIndex}},
        {"five: 0", fiveItems, 0, Text(u"a")},
        {"five: 2", fiveItems, 2, Text(u"c")},
        {"five: 4", fiveItems, 4, Text(u"e")},
        {"five: 5", fiveItems, 5, WmiReadFailed{kBadIndex}},
        {"five: -1", fiveItems, -1, WmiReadFailed{kBadIndex}},
        {"lower bound 1: 0", fromOne, 0, Text(u"x")},
        {"lower bound 1: 2", fromOne, 2, Text(u"z")},
        {"lower bound 1: 3", fromOne, 3, WmiReadFailed{kBadIndex}},
        {"empty array", [] { return BstrList({}); }, 0, WmiReadFailed{kBadIndex}},
        {"null list", [] { return Scalar(VT_NULL, [](VARIANT&) {}); }, 0, WmiReadFailed{kBadIndex}},
        {"empty list", [] { return unique_variant(); }, 0, WmiReadFailed{kBadIndex}},
        {"array without data",
         [] { return Scalar(VT_ARRAY | VT_BSTR, [](VARIANT& v) { V_ARRAY(&v) = nullptr; }); }, 0,
         WmiReadFailed{kBadIndex}},
        {"not a list", [] { return Bstr(L"a"); }, 0, WmiReadFailed{kTypeMismatch}},
        {"null element is empty text",
         [] {
             unique_variant v = BstrList({L"a"});
             LONG at = 0;
             SafeArrayPutElement(V_ARRAY(&v.get()), &at, nullptr);
             return v;
         },
         0, Text()},
        {"integers",
         [] {
             unique_variant v;
             SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, 2);
             LONG at = 1;
             LONG minusOne = -1;
             SafeArrayPutElement(array, &at, &minusOne);
             V_VT(v.addressof()) = VT_ARRAY | VT_I4;
             V_ARRAY(v.addressof()) = array;
             return v;
         },
         1, std::int64_t{-1}},
        {"variants",
         [] {
             unique_variant v;
             SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, 2);
             unique_variant text = Bstr(L"v");
             LONG at = 0;
             SafeArrayPutElement(array, &at, text.addressof());  // copies the variant
             V_VT(v.addressof()) = VT_ARRAY | VT_VARIANT;
             V_ARRAY(v.addressof()) = array;
             return v;
         },
         0, Text(u"v")},
        {"mislabelled element size",
         [] {
             unique_variant v;
             V_VT(v.addressof()) = VT_ARRAY | VT_I2;
             V_ARRAY(v.addressof()) = SafeArrayCreateVector(VT_I4, 0, 2);
             return v;
         },
         0, WmiReadFailed{kTypeMismatch}},
        {"texts claimed over 64-bit integers, of a BSTR's size",
         [] {
             unique_variant v;
             V_VT(v.addressof()) = VT_ARRAY | VT_BSTR;
             V_ARRAY(v.addressof()) = SafeArrayCreateVector(VT_I8, 0, 1);  // one 0: a null BSTR
             return v;
         },
         0, WmiReadFailed{kTypeMismatch}},
        {"two dimensions",
         [] {
             unique_variant v;
             SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
             V_VT(v.addressof()) = VT_ARRAY | VT_BSTR;
             V_ARRAY(v.addressof()) = SafeArrayCreate(VT_BSTR, 2, bounds);
             return v;
         },
         0, WmiReadFailed{kTypeMismatch}},
    };
    for (const Case& c : cases) {
        const unique_variant list = c.make();
        const WmiValue actual = win32::ElementFromVariant(list.get(), c.index);
        EXPECT_TRUE(Same(actual, c.expected))
            << c.label << ": got " << Show(actual) << ", want " << Show(c.expected);
    }
}

TEST(Win32WmiTestsValues, OwnersReleaseAndMoveTheirContents) {
    unique_bstr empty = unique_bstr::From(L"");
    EXPECT_NE(empty.get(), nullptr) << "an empty text is still a BSTR";
    EXPECT_EQ(empty.length(), 0u);

    unique_bstr text = unique_bstr::From(std::wstring_view(L"x\0y", 3));
    EXPECT_EQ(text.length(), 3u);
    const BSTR raw = text.get();
    unique_bstr moved(std::move(text));
    EXPECT_EQ(moved.get(), raw);
    EXPECT_EQ(text.get(), nullptr);  // NOLINT(bugprone-use-after-move): checking the source

    unique_variant value = Bstr(L"held");
    unique_variant taken(std::move(value));
    EXPECT_EQ(value.vt(), VT_EMPTY);  // NOLINT(bugprone-use-after-move)
    ASSERT_EQ(taken.vt(), VT_BSTR);
    EXPECT_EQ(std::wstring_view(V_BSTR(&taken.get())), L"held");
    const VARIANT* out = taken.put();
    EXPECT_EQ(V_VT(out), VT_EMPTY) << "put() hands out a cleared variant";
}

// --- Apartment and error texts -------------------------------------------

TEST(Win32WmiTestsApartment, BalancesOnlyWhatItJoined) {
    std::thread([] {
        {
            ComApartment outer;
            ASSERT_EQ(outer.result(), S_OK);
            ComApartment nested;
            EXPECT_EQ(nested.result(), S_FALSE);
            EXPECT_TRUE(nested.ok());
        }
        // Both were balanced: the thread is out of COM again.
        const HRESULT fresh = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
        EXPECT_EQ(fresh, S_OK);
        {
            ComApartment refused;
            EXPECT_EQ(refused.result(), RPC_E_CHANGED_MODE);
            EXPECT_FALSE(refused.ok());
        }
        // Had the refused one uninitialized, this would be a first join (S_OK).
        EXPECT_EQ(CoInitializeEx(nullptr, COINIT_MULTITHREADED), S_FALSE);
        CoUninitialize();
        if (SUCCEEDED(fresh)) CoUninitialize();
    }).join();
}

// The program's apartment: joined by the first use of COM, not before, once,
// and left when its owner ends.
TEST(Win32WmiTestsApartment, ADeferredOneJoinsAtFirstUseAndEndsWithItsOwner) {
    std::thread([] {
        APTTYPE type{};
        APTTYPEQUALIFIER qualifier{};
        EXPECT_FALSE(win32::JoinComApartment()) << "no deferred apartment on this thread";
        {
            ComApartment deferred{ComApartment::OnFirstUse{}};
            EXPECT_EQ(deferred.result(), CO_E_NOTINITIALIZED);
            EXPECT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);
            EXPECT_TRUE(win32::JoinComApartment());
            EXPECT_EQ(deferred.result(), S_OK);
            EXPECT_TRUE(win32::JoinComApartment());
            ASSERT_EQ(CoGetApartmentType(&type, &qualifier), S_OK);
            EXPECT_TRUE(type == APTTYPE_STA || type == APTTYPE_MAINSTA);
        }
        EXPECT_FALSE(win32::JoinComApartment()) << "its owner ended";
        // Had the second use joined again, leaving once would not be enough.
        EXPECT_EQ(CoGetApartmentType(&type, &qualifier), CO_E_NOTINITIALIZED);
    }).join();
}

TEST(Win32WmiTestsErrors, CommonFailuresHaveATextAndKeepTheirCode) {
    ComApartment com;
    struct Case {
        std::uint32_t code;
        bool needsText;
    };
    const Case cases[] = {
        {0x80041015, true},   // WBEM_E_TRANSPORT_FAILURE
        {0x8004100E, true},   // WBEM_E_INVALID_NAMESPACE
        {0x80041002, true},   // WBEM_E_NOT_FOUND
        {0x80041001, true},   // WBEM_E_FAILED
        {0x80041003, true},   // WBEM_E_ACCESS_DENIED
        {0x80041010, true},   // WBEM_E_INVALID_CLASS
        {0x80041017, true},   // WBEM_E_INVALID_QUERY
        {0x800706BA, true},   // RPC server unavailable
        {0x80070005, true},   // access denied
        {0x800401E4, true},   // MK_E_SYNTAX
        {0x80041FFF, false},  // no known meaning
    };
    for (const Case& c : cases) {
        const std::string hex = Ascii(HexText8(c.code));
        SCOPED_TRACE(hex);
        const PlatformError error = win32::ErrorFromHresult(static_cast<HRESULT>(c.code));
        EXPECT_EQ(error.code, c.code);
        if (c.needsText) {
            EXPECT_FALSE(error.message.empty());
        }
        if (!error.message.empty()) {
            const char16_t last = error.message.back();
            EXPECT_TRUE(last != u'\r' && last != u'\n' && last != u' ' && last != u'\t')
                << "untrimmed: \"" << Ascii(error.message) << "\"";
        }
        // The core prints the code beside the text; a text that only
        // restates it is noise.
        EXPECT_EQ(Folded(error.message).find(Folded(HexText8(c.code))), Text::npos)
            << Ascii(error.message);
    }
}

}  // namespace
}  // namespace kestrova
