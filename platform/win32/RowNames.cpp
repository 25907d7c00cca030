#include "platform/win32/RowNames.h"

// The annotation's GUIDs are defined here, in the one file that uses them,
// rather than taken from oleacc's import library: the program loads no DLL
// it does not have to, and this one only once a reader asks.
#include <initguid.h>
#include <oleacc.h>

#include <atomic>
#include <mutex>
#include <utility>

#include "platform/win32/MtaThread.h"
#include "platform/win32/WideText.h"

namespace kestrova::win32 {

// Called on COM's threads while the user-interface thread replaces the
// names: the snapshot is swapped whole under the lock, and a caller keeps
// the one it took for as long as it reads it.
class RowNames::Server final : public IAccPropServer {
public:
    using Names = std::vector<std::wstring>;

    // Readers' calls may be running: the rule is swapped under the lock, and
    // the one it replaces is let go here, on the caller's thread, outside it.
    // The names' thread empties it before it leaves its apartment, so the
    // last reference to the service it holds goes there, not on the
    // user-interface thread after the apartment has gone.
    void SetChildOf(ChildOf childOf) {
        ChildOf old;
        {
            const std::lock_guard<std::mutex> hold(lock_);
            old = std::exchange(childOf_, std::move(childOf));
        }
    }

    void Replace(std::shared_ptr<const Names> names) {
        const std::lock_guard<std::mutex> hold(lock_);
        names_ = std::move(names);
    }

    std::optional<std::wstring> NameOf(long position) const {
        std::shared_ptr<const Names> names;
        {
            const std::lock_guard<std::mutex> hold(lock_);
            names = names_;
        }
        if (!names || position < 0 || position >= static_cast<long>(names->size())) {
            return std::nullopt;
        }
        return (*names)[static_cast<std::size_t>(position)];
    }

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
        if (!IsEqualGUID(property, PROPID_ACC_NAME)) return S_OK;
        try {
            const std::optional<long> child = ChildIn(id, length);
            // The list itself (CHILDID_SELF) keeps its own name.
            if (!child || *child <= 0) return S_OK;
            const std::optional<std::wstring> name = NameOf(*child - 1);
            if (!name) return S_OK;
            BSTR text = SysAllocStringLen(name->data(), static_cast<UINT>(name->size()));
            if (!text) return E_OUTOFMEMORY;
            value->vt = VT_BSTR;
            value->bstrVal = text;
            *has = TRUE;
            return S_OK;
        } catch (...) {
            return E_OUTOFMEMORY;  // no exception may cross COM
        }
    }

private:
    ~Server() = default;

    // Called under the lock and never copied out: it only parses the
    // identity's bytes, and a copy would keep the service alive elsewhere.
    std::optional<long> ChildIn(const BYTE* id, DWORD length) const {
        const std::lock_guard<std::mutex> hold(lock_);
        if (!childOf_) return std::nullopt;
        return childOf_(id, length);
    }

    std::atomic<ULONG> references_{1};
    ChildOf childOf_;
    mutable std::mutex lock_;
    std::shared_ptr<const Names> names_;
};

namespace {

// Long enough for the service to load and take the server on a busy
// machine; short enough that a reader whose first question waits for it
// does not give up on the window.
constexpr DWORD kStartWait = 1000;

RowNames::Annotation SystemAnnotation() {
    // The service is a COM class of the system's, loaded from where COM
    // registered it, into this (the multithreaded) apartment.
    IAccPropServices* created = nullptr;
    if (FAILED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER,
                                IID_IAccPropServices, reinterpret_cast<void**>(&created)))) {
        return {};
    }
    // Shared by the three parts; the last to go releases it, on this thread.
    const std::shared_ptr<IAccPropServices> services(created,
                                                     [](IAccPropServices* s) { s->Release(); });
    const MSAAPROPID name = PROPID_ACC_NAME;
    auto annotated = std::make_shared<bool>(false);
    RowNames::Annotation annotation;
    annotation.set = [services, annotated, name](HWND list, IAccPropServer* server) {
        // ANNO_CONTAINER: the list's rows, its children, are annotated too.
        // The service marshals the server here, in this apartment.
        *annotated = SUCCEEDED(services->SetHwndPropServer(list, OBJID_CLIENT, CHILDID_SELF, &name,
                                                           1, server, ANNO_CONTAINER));
        return *annotated;
    };
    annotation.clear = [services, annotated, name](HWND list) {
        if (*annotated) services->ClearHwndProps(list, OBJID_CLIENT, CHILDID_SELF, &name, 1);
    };
    annotation.childOf = [services](const BYTE* id, DWORD length) -> std::optional<long> {
        HWND hwnd = nullptr;
        DWORD object = 0;
        DWORD child = 0;
        if (FAILED(services->DecomposeHwndIdentityString(id, length, &hwnd, &object, &child)) ||
            static_cast<LONG>(object) != OBJID_CLIENT) {
            return std::nullopt;
        }
        return static_cast<long>(child);
    };
    return annotation;
}

}  // namespace

RowNames::RowNames(HWND list) : RowNames(list, &SystemAnnotation) {}

RowNames::RowNames(HWND list, Service service)
    : list_(list), service_(std::move(service)), server_(new Server) {
    server_->Replace(std::make_shared<const Server::Names>());
}

bool RowNames::Start() {
    if (thread_ || !list_) return false;
    // A service that cannot be made, or refuses the server, is let go at
    // once on the names' thread, which then ends: nothing of it stays for
    // the life of the list.
    thread_ = std::make_unique<MtaThread>(
        [this] {
            annotation_ = service_();
            server_->SetChildOf(annotation_.childOf);
            return annotation_.set && annotation_.set(list_, server_);
        },
        [this] {
            if (annotation_.clear) annotation_.clear(list_);
            server_->SetChildOf({});
            annotation_ = {};
        });
    thread_->WaitEntered(kStartWait);
    return !Failed();
}

bool RowNames::Failed() const {
    return !thread_ || thread_->Ended();
}

RowNames::~RowNames() {
    // The annotation is cleared and the apartment left first, which lets go
    // of the service's references; a reader still holding a proxy then gets
    // an error. The server holds nothing of the list's, only its snapshot.
    thread_.reset();
    server_->Release();
}

void RowNames::Replace(std::vector<Text> names) {
    auto wide = std::make_shared<Server::Names>();
    wide->reserve(names.size());
    for (const Text& name : names) wide->push_back(ToWide(name));
    server_->Replace(std::move(wide));
}

std::optional<std::wstring> RowNames::NameOf(int position) const {
    return server_->NameOf(position);
}

}  // namespace kestrova::win32
