#include "NativeWmi.h"

#include <windows.h>

#include <oleauto.h>
#include <wbemidl.h>
#include <wrl/client.h>

#include <cstdint>
#include <cstdio>

using Microsoft::WRL::ComPtr;

namespace kestrova::e2e {

namespace {

constexpr wchar_t kNamespace[] = L"root\\CIMV2";
constexpr wchar_t kQuery[] =
    L"Select * from Win32_NetworkAdapterConfiguration Where IPEnabled = True";

struct Bstr {
    explicit Bstr(const wchar_t* text) : value(SysAllocString(text)) {}
    ~Bstr() { SysFreeString(value); }
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    BSTR value;
};

struct Variant {
    Variant() { VariantInit(&value); }
    ~Variant() { VariantClear(&value); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    VARIANT value;
};

std::wstring HexCode(HRESULT hr) {
    wchar_t text[16];
    std::swprintf(text, 16, L"0x%08lX", static_cast<unsigned long>(hr));
    return text;
}

// A scalar as the table shows it: texts as delivered, booleans as
// True/False, numbers in decimal with CIM's unsigned types kept unsigned
// (they arrive in signed variants).
std::wstring Scalar(const VARIANT& v) {
    switch (v.vt) {
        case VT_BSTR:
            return v.bstrVal ? std::wstring(v.bstrVal, SysStringLen(v.bstrVal)) : std::wstring();
        case VT_BOOL:
            return v.boolVal != VARIANT_FALSE ? L"True" : L"False";
        case VT_I4:
            return std::to_wstring(static_cast<std::uint32_t>(v.lVal));
        case VT_UI4:
            return std::to_wstring(v.ulVal);
        case VT_I2:
            return std::to_wstring(static_cast<std::uint16_t>(v.iVal));
        case VT_UI1:
            return std::to_wstring(v.bVal);
        default:
            return L"";  // null, empty or absent: an empty cell
    }
}

std::wstring Property(IWbemClassObject& object, const wchar_t* name) {
    Variant v;
    if (FAILED(object.Get(name, 0, &v.value, nullptr, nullptr))) return L"";
    return Scalar(v.value);
}

// Element `index` of a string array; absent, null or short arrays give "".
std::wstring Element(IWbemClassObject& object, const wchar_t* name, LONG index) {
    Variant v;
    if (FAILED(object.Get(name, 0, &v.value, nullptr, nullptr))) return L"";
    if (v.value.vt != (VT_ARRAY | VT_BSTR) || !v.value.parray) return L"";
    LONG lower = 0, upper = -1;
    if (FAILED(SafeArrayGetLBound(v.value.parray, 1, &lower)) ||
        FAILED(SafeArrayGetUBound(v.value.parray, 1, &upper))) {
        return L"";
    }
    LONG at = lower + index;  // not const: MinGW declares the index array non-const
    if (at > upper) return L"";
    BSTR element = nullptr;
    if (FAILED(SafeArrayGetElement(v.value.parray, &at, &element))) return L"";
    std::wstring text = element ? std::wstring(element, SysStringLen(element)) : std::wstring();
    SysFreeString(element);
    return text;
}

ExpectedRow RowOf(IWbemClassObject& a) {
    ExpectedRow row;
    row.cells = {
        Property(a, L"MACAddress"),
        Property(a, L"Description"),
        Element(a, L"IPAddress", 0),
        Element(a, L"DefaultIPGateway", 0),
        Element(a, L"DNSServerSearchOrder", 0),
        Property(a, L"DHCPEnabled"),
        Element(a, L"IPAddress", 1),
        Element(a, L"IPAddress", 2),
        Element(a, L"DNSServerSearchOrder", 1),
        Element(a, L"DNSServerSearchOrder", 2),
        Property(a, L"DNSDomain"),
        Property(a, L"MTU"),
        Property(a, L"ServiceName"),
    };
    const bool gateway = !row.cells[3].empty();
    const bool dns = !row.cells[4].empty();
    row.light = !gateway ? Light::Red : dns ? Light::Green : Light::Yellow;
    return row;
}

}  // namespace

const wchar_t* NameOf(Light light) {
    switch (light) {
        case Light::Green: return L"green";
        case Light::Yellow: return L"yellow";
        case Light::Red: return L"red";
    }
    return L"?";
}

WmiTruth ReadAdaptersNatively() {
    WmiTruth truth;
    auto fail = [&truth](const wchar_t* step, HRESULT hr) {
        truth.error = std::wstring(step) + L" failed: " + HexCode(hr);
        return truth;
    };

    HRESULT hr = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (FAILED(hr)) return fail(L"CoInitializeEx", hr);
    CoInitializeSecurity(nullptr, -1, nullptr, nullptr, RPC_C_AUTHN_LEVEL_DEFAULT,
                         RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE, nullptr);

    {
        ComPtr<IWbemLocator> locator;
        hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER, IID_IWbemLocator,
                              reinterpret_cast<void**>(locator.GetAddressOf()));
        if (FAILED(hr)) return fail(L"CoCreateInstance(WbemLocator)", hr);

        ComPtr<IWbemServices> services;
        Bstr space(kNamespace);
        hr = locator->ConnectServer(space.value, nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                    services.GetAddressOf());
        if (FAILED(hr)) return fail(L"ConnectServer", hr);

        ComPtr<IEnumWbemClassObject> adapters;
        Bstr language(L"WQL");
        Bstr query(kQuery);
        hr = services->ExecQuery(language.value, query.value,
                                 WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY, nullptr,
                                 adapters.GetAddressOf());
        if (FAILED(hr)) return fail(L"ExecQuery", hr);

        for (;;) {
            ComPtr<IWbemClassObject> adapter;
            ULONG returned = 0;
            hr = adapters->Next(static_cast<long>(WBEM_INFINITE), 1, adapter.GetAddressOf(),
                                &returned);
            if (FAILED(hr)) return fail(L"IEnumWbemClassObject::Next", hr);
            if (hr != WBEM_S_NO_ERROR || returned == 0) break;
            truth.rows.push_back(RowOf(*adapter.Get()));
        }
    }
    CoUninitialize();
    return truth;
}

}  // namespace kestrova::e2e
