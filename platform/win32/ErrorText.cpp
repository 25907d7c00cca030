#include "platform/win32/ErrorText.h"

#include <wbemcli.h>
#include <wrl/client.h>

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/win32/UniqueBstr.h"
#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {

using Microsoft::WRL::ComPtr;

Text Trimmed(std::wstring_view text) {
    std::size_t end = text.size();
    while (end > 0 && (text[end - 1] == L'\r' || text[end - 1] == L'\n' || text[end - 1] == L' ' ||
                       text[end - 1] == L'\t')) {
        --end;
    }
    return FromWide(text.substr(0, end));
}

// FORMAT_MESSAGE_ALLOCATE_BUFFER hands back a LocalAlloc'd buffer.
class LocalText {
public:
    LocalText() = default;
    ~LocalText() {
        if (text_) LocalFree(text_);
    }
    LocalText(const LocalText&) = delete;
    LocalText& operator=(const LocalText&) = delete;
    wchar_t** put() { return &text_; }
    const wchar_t* get() const { return text_; }

private:
    wchar_t* text_ = nullptr;
};

Text SystemText(DWORD code) {
    LocalText buffer;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<wchar_t*>(buffer.put()), 0, nullptr);
    if (length == 0 || buffer.get() == nullptr) return Text();
    return Trimmed(std::wstring_view(buffer.get(), length));
}

// WMI's codes live in the interface facility from 0x80041000 on; other
// interface codes mean something else to every interface that uses them.
bool IsWbemCode(HRESULT hr) {
    const auto code = static_cast<std::uint32_t>(hr);
    return code >= 0x80041000u && code <= 0x80045FFFu;
}

// Some implementations (Wine's among them) answer every code with a text that
// only restates it, "Error code: 0x80041015". The core shows the code next
// to the message anyway, so such a text says nothing and counts as none.
bool OnlyRestatesCode(std::wstring_view text, HRESULT hr) {
    static constexpr wchar_t kDigits[] = L"0123456789abcdef";
    wchar_t hex[8];
    auto code = static_cast<std::uint32_t>(hr);
    for (int i = 7; i >= 0; --i) {
        hex[i] = kDigits[code & 0xF];
        code >>= 4;
    }
    const std::wstring_view needle(hex, 8);
    if (text.size() < needle.size()) return false;
    for (std::size_t at = 0; at + needle.size() <= text.size(); ++at) {
        bool same = true;
        for (std::size_t i = 0; i < needle.size() && same; ++i) {
            wchar_t c = text[at + i];
            if (c >= L'A' && c <= L'F') c = static_cast<wchar_t>(c - L'A' + L'a');
            same = c == needle[i];
        }
        if (same) return true;
    }
    return false;
}

Text WbemStatusText(HRESULT hr) {
    // Needs COM on this thread; without it there is simply no such text.
    ComPtr<IWbemStatusCodeText> statusText;
    if (FAILED(CoCreateInstance(CLSID_WbemStatusCodeText, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IWbemStatusCodeText,
                                reinterpret_cast<void**>(statusText.GetAddressOf())))) {
        return Text();
    }
    unique_bstr text;
    if (FAILED(statusText->GetErrorCodeText(hr, 0, 0, text.put())) || !text) return Text();
    if (OnlyRestatesCode(text.view(), hr)) return Text();
    return Trimmed(text.view());
}

struct BuiltInText {
    HRESULT code;
    const wchar_t* text;
};

// The WMI failures a refresh can realistically meet, for systems whose own
// tables have nothing to say about them.
constexpr BuiltInText kBuiltInTexts[] = {
    {static_cast<HRESULT>(WBEM_E_FAILED), L"Generic WMI failure."},
    {static_cast<HRESULT>(WBEM_E_NOT_FOUND), L"Not found."},
    {static_cast<HRESULT>(WBEM_E_ACCESS_DENIED), L"Access denied."},
    {static_cast<HRESULT>(WBEM_E_PROVIDER_FAILURE), L"WMI provider failure."},
    {static_cast<HRESULT>(WBEM_E_TYPE_MISMATCH), L"Type mismatch."},
    {static_cast<HRESULT>(WBEM_E_OUT_OF_MEMORY), L"Out of memory."},
    {static_cast<HRESULT>(WBEM_E_INVALID_PARAMETER), L"Invalid parameter."},
    {static_cast<HRESULT>(WBEM_E_NOT_AVAILABLE), L"Not available."},
    {static_cast<HRESULT>(WBEM_E_CRITICAL_ERROR), L"Critical WMI error."},
    {static_cast<HRESULT>(WBEM_E_NOT_SUPPORTED), L"Not supported."},
    {static_cast<HRESULT>(WBEM_E_INVALID_NAMESPACE), L"Invalid namespace."},
    {static_cast<HRESULT>(WBEM_E_INVALID_CLASS), L"Invalid class."},
    {static_cast<HRESULT>(WBEM_E_PROVIDER_NOT_FOUND), L"WMI provider not found."},
    {static_cast<HRESULT>(WBEM_E_PROVIDER_LOAD_FAILURE), L"WMI provider load failure."},
    {static_cast<HRESULT>(WBEM_E_INITIALIZATION_FAILURE), L"WMI initialization failure."},
    {static_cast<HRESULT>(WBEM_E_TRANSPORT_FAILURE), L"Transport failure."},
    {static_cast<HRESULT>(WBEM_E_INVALID_OPERATION), L"Invalid operation."},
    {static_cast<HRESULT>(WBEM_E_INVALID_QUERY), L"Invalid query."},
    {static_cast<HRESULT>(WBEM_E_INVALID_QUERY_TYPE), L"Invalid query language."},
    {static_cast<HRESULT>(WBEM_E_UNEXPECTED), L"Unexpected WMI error."},
    {static_cast<HRESULT>(WBEM_E_INVALID_SYNTAX), L"Invalid syntax."},
    {static_cast<HRESULT>(WBEM_E_CALL_CANCELLED), L"The call was cancelled."},
    {static_cast<HRESULT>(WBEM_E_SHUTTING_DOWN), L"WMI is shutting down."},
    {static_cast<HRESULT>(WBEM_E_INVALID_OBJECT_PATH), L"Invalid object path."},
    {static_cast<HRESULT>(WBEM_E_SERVER_TOO_BUSY), L"The WMI server is too busy."},
    {static_cast<HRESULT>(WBEM_E_LOCAL_CREDENTIALS),
     L"User credentials cannot be used for local connections."},
    {static_cast<HRESULT>(WBEM_E_TIMED_OUT), L"The WMI operation timed out."},
    {static_cast<HRESULT>(WBEM_E_QUOTA_VIOLATION), L"WMI quota violation."},
    {MK_E_SYNTAX, L"Invalid moniker syntax."},
};

Text BuiltIn(HRESULT hr) {
    for (const BuiltInText& entry : kBuiltInTexts) {
        if (entry.code == hr) return FromWide(entry.text);
    }
    return Text();
}

}  // namespace

PlatformError ErrorFromHresult(HRESULT hr) {
    PlatformError error;
    error.code = static_cast<std::uint32_t>(hr);
    error.message = SystemText(static_cast<DWORD>(hr));
    // Some message tables know a Win32 error only by its plain number.
    if (error.message.empty() && HRESULT_FACILITY(hr) == FACILITY_WIN32) {
        error.message = SystemText(static_cast<DWORD>(HRESULT_CODE(hr)));
    }
    if (error.message.empty() && IsWbemCode(hr)) error.message = WbemStatusText(hr);
    if (error.message.empty()) error.message = BuiltIn(hr);
    return error;
}

}  // namespace kestrova::win32
