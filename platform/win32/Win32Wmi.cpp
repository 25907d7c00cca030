#include "platform/win32/Win32Wmi.h"

#include <objbase.h>
#include <wbemdisp.h>
#include <wrl/client.h>

#include <cstring>
#include <new>
#include <string>
#include <utility>

#include "platform/win32/ComApartment.h"
#include "platform/win32/ErrorText.h"
#include "platform/win32/UniqueBstr.h"
#include "platform/win32/UniqueVariant.h"
#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {

using Microsoft::WRL::ComPtr;

// The moniker interface's own bound on a bind: a deadline in the bind
// options. It is a request to the moniker, not a guarantee ("each moniker
// implementation should try to complete its operation by the deadline, or
// fail with MK_E_EXCEEDEDDEADLINE"); Wine's WMI moniker ignores it. Well
// above any bind of a computer that answers, far below DCOM's retries.
constexpr DWORD kBindDeadlineMs = 10000;

BIND_OPTS BindOptions() {
    BIND_OPTS options{};
    options.cbStruct = sizeof(options);
    options.grfMode = STGM_READWRITE;  // what CreateBindCtx sets
    options.dwTickCountDeadline = GetTickCount() + kBindDeadlineMs;
    // Zero means no deadline, and the tick count wraps.
    if (options.dwTickCountDeadline == 0) options.dwTickCountDeadline = 1;
    return options;
}

WmiReadFailed ReadFailed(HRESULT hr) {
    return WmiReadFailed{static_cast<std::uint32_t>(hr)};
}

Text TextOf(BSTR text) {
    // A null BSTR is the empty string by COM convention, not a missing value.
    if (text == nullptr) return Text();
    return FromWide(std::wstring_view(text, SysStringLen(text)));
}

// OLE's prototypes take non-const sources that they only read.
VARIANT* Source(const VARIANT& value) {
    return const_cast<VARIANT*>(&value);
}

class ArrayLock {
public:
    explicit ArrayLock(SAFEARRAY* array) noexcept : array_(array), result_(SafeArrayLock(array)) {}
    ~ArrayLock() {
        if (SUCCEEDED(result_)) SafeArrayUnlock(array_);
    }
    ArrayLock(const ArrayLock&) = delete;
    ArrayLock& operator=(const ArrayLock&) = delete;
    HRESULT result() const noexcept { return result_; }

private:
    SAFEARRAY* array_;
    HRESULT result_;
};

// The element size is checked as well as the array's element type: a
// wrong size would be an over-read.
template <class T>
bool Load(T& field, const void* element, UINT elementSize) {
    if (elementSize != sizeof(T)) return false;
    std::memcpy(&field, element, sizeof(T));
    return true;
}

// Reads one element in place through a VARIANT that borrows it: nothing is
// copied or owned, so the view is never cleared.
WmiValue ElementValue(VARTYPE type, const void* element, UINT elementSize) {
    if (type == VT_VARIANT) {
        if (elementSize != sizeof(VARIANT)) return ReadFailed(DISP_E_TYPEMISMATCH);
        return ValueFromVariant(*static_cast<const VARIANT*>(element));
    }
    VARIANT view;
    VariantInit(&view);
    bool loaded = false;
    switch (type) {
        case VT_BSTR:
            loaded = Load(V_BSTR(&view), element, elementSize);
            break;
        case VT_BOOL:
            loaded = Load(V_BOOL(&view), element, elementSize);
            break;
        case VT_I1:
            loaded = Load(V_I1(&view), element, elementSize);
            break;
        case VT_I2:
            loaded = Load(V_I2(&view), element, elementSize);
            break;
        case VT_I4:
            loaded = Load(V_I4(&view), element, elementSize);
            break;
        case VT_INT:
            loaded = Load(V_INT(&view), element, elementSize);
            break;
        case VT_I8:
            loaded = Load(V_I8(&view), element, elementSize);
            break;
        case VT_UI1:
            loaded = Load(V_UI1(&view), element, elementSize);
            break;
        case VT_UI2:
            loaded = Load(V_UI2(&view), element, elementSize);
            break;
        case VT_UI4:
            loaded = Load(V_UI4(&view), element, elementSize);
            break;
        case VT_UINT:
            loaded = Load(V_UINT(&view), element, elementSize);
            break;
        case VT_UI8:
            loaded = Load(V_UI8(&view), element, elementSize);
            break;
        case VT_R4:
            loaded = Load(V_R4(&view), element, elementSize);
            break;
        case VT_R8:
            loaded = Load(V_R8(&view), element, elementSize);
            break;
        case VT_DATE:
            loaded = Load(V_DATE(&view), element, elementSize);
            break;
        case VT_CY:
            loaded = Load(V_CY(&view), element, elementSize);
            break;
        // A DECIMAL overlays the whole VARIANT, type field included, so the
        // type is set after it below.
        case VT_DECIMAL:
            loaded = Load(V_DECIMAL(&view), element, elementSize);
            break;
        default:
            break;
    }
    if (!loaded) return ReadFailed(DISP_E_TYPEMISMATCH);
    V_VT(&view) = type;
    return ValueFromVariant(view);
}

class Object final : public WmiObject {
public:
    explicit Object(ComPtr<ISWbemObject> object) noexcept : object_(std::move(object)) {}

    WmiValue ReadProperty(TextView name) override {
        unique_variant value;
        const HRESULT hr = Read(name, value);
        if (FAILED(hr)) return ReadFailed(hr);
        return ValueFromVariant(value.get());
    }

    WmiValue ReadElement(TextView name, std::int16_t index) override {
        unique_variant value;
        const HRESULT hr = Read(name, value);
        if (FAILED(hr)) return ReadFailed(hr);
        return ElementFromVariant(value.get(), index);
    }

private:
    // Through Properties_ rather than the object's own IDispatch: Wine's
    // SWbemObject refuses a plain property-get there, and Properties_.Item
    // reports an unknown name as WBEM_E_NOT_FOUND on both systems.
    HRESULT Read(TextView name, unique_variant& value) {
        ComPtr<ISWbemPropertySet> properties;
        HRESULT hr = object_->get_Properties_(properties.GetAddressOf());
        if (FAILED(hr)) return hr;
        if (!properties) return E_POINTER;

        unique_bstr propertyName = unique_bstr::From(ToWide(name));
        if (!propertyName) return E_OUTOFMEMORY;
        ComPtr<ISWbemProperty> property;
        hr = properties->Item(propertyName.get(), 0, property.GetAddressOf());
        if (FAILED(hr)) return hr;
        if (!property) return E_POINTER;

        return property->get_Value(value.put());
    }

    ComPtr<ISWbemObject> object_;
};

class ObjectSet final : public WmiObjectSet {
public:
    ObjectSet(ComPtr<ISWbemObjectSet> results, ComPtr<IEnumVARIANT> items) noexcept
        : results_(std::move(results)), items_(std::move(items)) {}

    Outcome<std::unique_ptr<WmiObject>> Next() override {
        unique_variant item;
        ULONG fetched = 0;
        HRESULT hr = items_->Next(1, item.put(), &fetched);
        if (FAILED(hr)) return ErrorFromHresult(hr);
        if (hr == S_FALSE || fetched == 0) return std::unique_ptr<WmiObject>();

        IUnknown* unknown = nullptr;
        if (item.vt() == VT_DISPATCH) unknown = V_DISPATCH(&item.get());
        if (item.vt() == VT_UNKNOWN) unknown = V_UNKNOWN(&item.get());
        if (unknown == nullptr) return ErrorFromHresult(DISP_E_TYPEMISMATCH);

        ComPtr<ISWbemObject> object;
        hr = unknown->QueryInterface(IID_PPV_ARGS(object.GetAddressOf()));
        if (FAILED(hr)) return ErrorFromHresult(hr);

        std::unique_ptr<WmiObject> wrapped(new (std::nothrow) Object(std::move(object)));
        if (!wrapped) return ErrorFromHresult(E_OUTOFMEMORY);
        return wrapped;
    }

private:
    // Declared in this order so the enumerator goes before the set it walks.
    ComPtr<ISWbemObjectSet> results_;
    ComPtr<IEnumVARIANT> items_;
};

class Services final : public WmiServices {
public:
    explicit Services(ComPtr<ISWbemServices> services) noexcept : services_(std::move(services)) {}

    Outcome<std::unique_ptr<WmiObjectSet>> ExecQuery(TextView query) override {
        // Real BSTRs throughout: the header's default for the language is a
        // plain literal, which has no length prefix.
        unique_bstr queryText = unique_bstr::From(ToWide(query));
        unique_bstr language = unique_bstr::From(L"WQL");
        if (!queryText || !language) return ErrorFromHresult(E_OUTOFMEMORY);

        ComPtr<ISWbemObjectSet> results;
        HRESULT hr =
            services_->ExecQuery(queryText.get(), language.get(), wbemFlagReturnImmediately,
                                 nullptr, results.GetAddressOf());
        if (FAILED(hr)) return ErrorFromHresult(hr);
        if (!results) return ErrorFromHresult(E_POINTER);

        ComPtr<IUnknown> enumerator;
        hr = results->get__NewEnum(enumerator.GetAddressOf());
        if (FAILED(hr)) return ErrorFromHresult(hr);
        if (!enumerator) return ErrorFromHresult(E_POINTER);
        ComPtr<IEnumVARIANT> items;
        hr = enumerator.As(&items);
        if (FAILED(hr)) return ErrorFromHresult(hr);

        std::unique_ptr<WmiObjectSet> set(new (std::nothrow)
                                              ObjectSet(std::move(results), std::move(items)));
        if (!set) return ErrorFromHresult(E_OUTOFMEMORY);
        return set;
    }

private:
    ComPtr<ISWbemServices> services_;
};

}  // namespace

WmiValue ValueFromVariant(const VARIANT& value) {
    const VARTYPE type = V_VT(&value);
    if ((type & VT_BYREF) != 0) {
        unique_variant direct;
        const HRESULT hr = VariantCopyInd(direct.addressof(), Source(value));
        if (FAILED(hr)) return ReadFailed(hr);
        return ValueFromVariant(direct.get());
    }
    switch (type) {
        case VT_EMPTY:
        case VT_NULL:
            return WmiNull{};
        case VT_BSTR:
            return TextOf(V_BSTR(&value));
        case VT_BOOL:
            return V_BOOL(&value) != VARIANT_FALSE;
        // CHAR's signedness is the compiler's choice; VT_I1 is signed.
        case VT_I1:
            return std::int64_t{static_cast<signed char>(V_I1(&value))};
        case VT_I2:
            return std::int64_t{V_I2(&value)};
        case VT_I4:
            return std::int64_t{V_I4(&value)};
        case VT_INT:
            return std::int64_t{V_INT(&value)};
        case VT_I8:
            return std::int64_t{V_I8(&value)};
        case VT_UI1:
            return std::int64_t{V_UI1(&value)};
        case VT_UI2:
            return std::int64_t{V_UI2(&value)};
        case VT_UI4:
            return std::int64_t{V_UI4(&value)};
        case VT_UINT:
            return std::int64_t{V_UINT(&value)};
        case VT_UI8:
            if (V_UI8(&value) > static_cast<ULONGLONG>(INT64_MAX))
                return ReadFailed(DISP_E_OVERFLOW);
            return static_cast<std::int64_t>(V_UI8(&value));
        // Converting an object to text would call into it (its default
        // property); a value read has no business doing that.
        case VT_DISPATCH:
        case VT_UNKNOWN:
            return ReadFailed(DISP_E_TYPEMISMATCH);
        default:
            break;
    }
    if ((type & VT_ARRAY) != 0) return ReadFailed(DISP_E_TYPEMISMATCH);

    unique_variant text;
    const HRESULT hr = VariantChangeType(text.addressof(), Source(value), 0, VT_BSTR);
    if (FAILED(hr)) return ReadFailed(hr);
    if (text.vt() != VT_BSTR) return ReadFailed(DISP_E_TYPEMISMATCH);
    return TextOf(V_BSTR(&text.get()));
}

WmiValue ElementFromVariant(const VARIANT& list, std::int16_t index) {
    const VARTYPE type = V_VT(&list);
    if ((type & VT_BYREF) != 0) {
        unique_variant direct;
        const HRESULT hr = VariantCopyInd(direct.addressof(), Source(list));
        if (FAILED(hr)) return ReadFailed(hr);
        return ElementFromVariant(direct.get(), index);
    }
    // WMI delivers an empty list as null, so a null list has no elements.
    if (type == VT_EMPTY || type == VT_NULL) return ReadFailed(DISP_E_BADINDEX);
    if ((type & VT_ARRAY) == 0) return ReadFailed(DISP_E_TYPEMISMATCH);

    SAFEARRAY* array = V_ARRAY(&list);
    if (array == nullptr) return ReadFailed(DISP_E_BADINDEX);
    if (SafeArrayGetDim(array) != 1) return ReadFailed(DISP_E_TYPEMISMATCH);
    // The array's own element type must be the one the variant claims: an
    // array of 64-bit integers has the element size of a BSTR, and its
    // values would be read as string pointers.
    VARTYPE stored = VT_EMPTY;
    HRESULT hr = SafeArrayGetVartype(array, &stored);
    if (FAILED(hr)) return ReadFailed(hr);
    if (stored != (type & VT_TYPEMASK)) return ReadFailed(DISP_E_TYPEMISMATCH);
    if (index < 0) return ReadFailed(DISP_E_BADINDEX);

    LONG lower = 0;
    LONG upper = 0;
    hr = SafeArrayGetLBound(array, 1, &lower);
    if (FAILED(hr)) return ReadFailed(hr);
    hr = SafeArrayGetUBound(array, 1, &upper);
    if (FAILED(hr)) return ReadFailed(hr);
    // In 64 bits so that a lower bound near the top of LONG cannot wrap.
    const std::int64_t position = std::int64_t{lower} + index;
    if (position > upper) return ReadFailed(DISP_E_BADINDEX);
    LONG at = static_cast<LONG>(position);

    ArrayLock lock(array);
    if (FAILED(lock.result())) return ReadFailed(lock.result());
    void* element = nullptr;
    hr = SafeArrayPtrOfIndex(array, &at, &element);
    if (FAILED(hr)) return ReadFailed(hr);
    if (element == nullptr) return ReadFailed(E_POINTER);
    return ElementValue(static_cast<VARTYPE>(type & VT_TYPEMASK), element,
                        SafeArrayGetElemsize(array));
}

Outcome<std::unique_ptr<WmiServices>> Win32WmiConnector::Bind(TextView displayName) {
    // The moniker API reads a zero-terminated name: a name with a zero inside
    // would silently bind whatever precedes it.
    if (displayName.find(u'\0') != TextView::npos) return ErrorFromHresult(MK_E_SYNTAX);

    JoinComApartment();  // the first refresh is the program's first use of COM
    const std::wstring name = ToWide(displayName);
    ComPtr<ISWbemServices> services;
    BIND_OPTS options = BindOptions();
    const HRESULT hr = CoGetObject(name.c_str(), &options, IID_PPV_ARGS(services.GetAddressOf()));
    if (FAILED(hr)) return ErrorFromHresult(hr);
    if (!services) return ErrorFromHresult(E_POINTER);

    std::unique_ptr<WmiServices> bound(new (std::nothrow) Services(std::move(services)));
    if (!bound) return ErrorFromHresult(E_OUTOFMEMORY);
    return bound;
}

}  // namespace kestrova::win32
