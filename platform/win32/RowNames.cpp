#include "platform/win32/RowNames.h"

// The annotation's GUIDs are defined here, in the one file that uses them,
// rather than taken from oleacc's import library: the program loads no DLL
// it does not have to.
#include <initguid.h>
#include <oleacc.h>

#include <atomic>
#include <utility>

#include "platform/win32/ComApartment.h"
#include "platform/win32/WideText.h"

namespace kestrova::win32 {

namespace {

class NameServer final : public IAccPropServer {
public:
    NameServer(RowNames::NameOf nameOf, RowNames::ChildOf childOf)
        : nameOf_(std::move(nameOf)), childOf_(std::move(childOf)) {}

    // The list goes before the service lets go of this object.
    void Forget() { nameOf_ = nullptr; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override {
        if (!object) return E_POINTER;
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IAccPropServer)) {
            *object = static_cast<IAccPropServer*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --references_;
        if (left == 0) delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetPropValue(const BYTE* id, DWORD length, MSAAPROPID property,
                                           VARIANT* value, BOOL* has) override {
        if (!value || !has) return E_POINTER;
        VariantInit(value);
        *has = FALSE;
        if (!IsEqualGUID(property, PROPID_ACC_NAME) || !nameOf_ || !childOf_) return S_OK;
        const std::optional<long> child = childOf_(id, length);
        // The list itself (CHILDID_SELF) keeps its own name.
        if (!child || *child <= 0) return S_OK;
        const std::optional<Text> name = nameOf_(static_cast<int>(*child - 1));
        if (!name) return S_OK;
        const std::wstring wide = ToWide(*name);
        BSTR text = SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
        if (!text) return E_OUTOFMEMORY;
        value->vt = VT_BSTR;
        value->bstrVal = text;
        *has = TRUE;
        return S_OK;
    }

private:
    ~NameServer() = default;

    std::atomic<ULONG> references_{1};
    RowNames::NameOf nameOf_;
    RowNames::ChildOf childOf_;
};

}  // namespace

RowNames::RowNames(HWND list, NameOf nameOf) : RowNames(list, std::move(nameOf), nullptr) {}

RowNames::RowNames(HWND list, NameOf nameOf, ChildOf childOf) : list_(list) {
    // The service is a COM class of the system's, loaded from where COM
    // registered it.
    JoinComApartment();
    const HRESULT created = CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                             IID_IAccPropServices,
                                             reinterpret_cast<void**>(&services_));
    if (FAILED(created)) services_ = nullptr;
    if (!childOf && services_) {
        IAccPropServices* services = services_;
        childOf = [services](const BYTE* id, DWORD length) -> std::optional<long> {
            HWND hwnd = nullptr;
            DWORD object = 0;
            DWORD child = 0;
            if (FAILED(services->DecomposeHwndIdentityString(id, length, &hwnd, &object, &child)) ||
                static_cast<LONG>(object) != OBJID_CLIENT) {
                return std::nullopt;
            }
            return static_cast<long>(child);
        };
    }
    server_ = new NameServer(std::move(nameOf), std::move(childOf));
    if (services_ && list_) {
        MSAAPROPID name = PROPID_ACC_NAME;
        // ANNO_CONTAINER: the list's rows, its children, are annotated too.
        annotated_ = SUCCEEDED(services_->SetHwndPropServer(list_, OBJID_CLIENT, CHILDID_SELF,
                                                             &name, 1, server_, ANNO_CONTAINER));
    }
}

RowNames::~RowNames() {
    if (annotated_ && services_) {
        MSAAPROPID name = PROPID_ACC_NAME;
        services_->ClearHwndProps(list_, OBJID_CLIENT, CHILDID_SELF, &name, 1);
    }
    static_cast<NameServer*>(server_)->Forget();
    server_->Release();
    if (services_) services_->Release();
}

}  // namespace kestrova::win32
