// A stand-in for the directory service's IIS provider, for the Windows tests:
// registered under the name IIS, it parses "IIS://LocalHost/..." into
// automation objects over a machine image's metabase store (the MetaBase.xml
// named by the environment variable TESSARON_TEST_METABASE), so the native
// backend's directory-service code runs for real. Every committing call
// writes the store's file.
#include <wbemcli.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "../ComClassFactory.h"
#include "platform/Failure.h"
#include "platform/WideText.h"
#include "platform/image/MachineImage.h"

namespace {

using tessaron::Metabase;
using tessaron::MetabaseObject;
using tessaron::MetabaseValue;
using tessaron::PlatformError;

LONG objects = 0;

Metabase* store() {
    static std::unique_ptr<Metabase> instance;
    if (!instance) {
        wchar_t file[MAX_PATH] = {};
        if (!GetEnvironmentVariableW(L"TESSARON_TEST_METABASE", file, MAX_PATH)) return nullptr;
        instance = tessaron::createImageMetabase(std::filesystem::path(file));
    }
    return instance.get();
}

HRESULT hresultOf(const PlatformError& error) {
    return error.number() < 0 ? static_cast<HRESULT>(error.number()) : E_FAIL;
}

HRESULT report(const PlatformError& error, EXCEPINFO* exception) {
    if (exception) {
        *exception = {};
        exception->scode = hresultOf(error);
        exception->bstrDescription = SysAllocString(tessaron::toWide(error.description()).c_str());
    }
    return DISP_E_EXCEPTION;
}

std::string text(BSTR value) {
    return value ? tessaron::fromWide(std::wstring_view(value, SysStringLen(value)))
                 : std::string();
}

void putText(VARIANT* out, const std::string& value) {
    VariantInit(out);
    out->vt = VT_BSTR;
    out->bstrVal = SysAllocString(tessaron::toWide(value).c_str());
}

void putValue(VARIANT* out, const MetabaseValue& value) {
    VariantInit(out);
    if (const auto* textValue = std::get_if<std::string>(&value)) {
        putText(out, *textValue);
    } else if (const auto* flag = std::get_if<bool>(&value)) {
        out->vt = VT_BOOL;
        out->boolVal = *flag ? VARIANT_TRUE : VARIANT_FALSE;
    } else if (const auto* number = std::get_if<long>(&value)) {
        out->vt = VT_I4;
        out->lVal = *number;
    } else {
        // Lists come back as arrays of variants, as scripts receive them.
        const auto& texts = std::get<std::vector<std::string>>(value);
        SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, 0, static_cast<ULONG>(texts.size()));
        for (LONG i = 0; i < static_cast<LONG>(texts.size()); ++i) {
            VARIANT item;
            putText(&item, texts[static_cast<std::size_t>(i)]);
            SafeArrayPutElement(array, &i, &item);
            VariantClear(&item);
        }
        out->vt = VT_ARRAY | VT_VARIANT;
        out->parray = array;
    }
}

MetabaseValue valueOf(const VARIANT& in) {
    if (in.vt & VT_ARRAY) {
        std::vector<std::string> texts;
        LONG lower = 0, upper = -1;
        SafeArrayGetLBound(in.parray, 1, &lower);
        SafeArrayGetUBound(in.parray, 1, &upper);
        for (LONG i = lower; i <= upper; ++i) {
            if ((in.vt & VT_TYPEMASK) == VT_BSTR) {
                BSTR item = nullptr;
                SafeArrayGetElement(in.parray, &i, &item);
                texts.push_back(text(item));
                SysFreeString(item);
            } else {
                VARIANT item;
                VariantInit(&item);
                SafeArrayGetElement(in.parray, &i, &item);
                texts.push_back(item.vt == VT_BSTR ? text(item.bstrVal) : std::string());
                VariantClear(&item);
            }
        }
        return texts;
    }
    switch (in.vt) {
        case VT_BOOL:
            return in.boolVal != VARIANT_FALSE;
        case VT_I2:
            return static_cast<long>(in.iVal);
        case VT_I4:
            return static_cast<long>(in.lVal);
        case VT_BSTR:
            return text(in.bstrVal);
        default:
            throw PlatformError(13, "Type mismatch");
    }
}

// The members a script calls, by their dispatch numbers.
struct Member {
    const wchar_t* name;
    DISPID id;
};
const Member kMembers[] = {{L"Get", 1},       {L"Put", 2},        {L"SetInfo", 3},
                           {L"Create", 4},    {L"Class", 5},      {L"Name", 6},
                           {L"AppCreate", 7}, {L"AppCreate2", 8}, {L"Start", 9}};

template <typename Interface>
class Unknown : public Interface {
public:
    Unknown() { InterlockedIncrement(&objects); }
    virtual ~Unknown() { InterlockedDecrement(&objects); }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }

private:
    LONG references_ = 1;
};

class Children : public Unknown<IEnumVARIANT> {
public:
    explicit Children(std::vector<IDispatch*> items) : items_(std::move(items)) {}
    ~Children() override {
        for (auto* item : items_) item->Release();
    }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IEnumVARIANT) {
            *out = static_cast<IEnumVARIANT*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE Next(ULONG count, VARIANT* out, ULONG* fetched) override {
        ULONG done = 0;
        while (done < count && next_ < items_.size()) {
            VariantInit(&out[done]);
            out[done].vt = VT_DISPATCH;
            out[done].pdispVal = items_[next_++];
            out[done].pdispVal->AddRef();
            ++done;
        }
        if (fetched) *fetched = done;
        return done == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Skip(ULONG count) override {
        next_ += count;
        return next_ <= items_.size() ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Clone(IEnumVARIANT**) override { return E_NOTIMPL; }

private:
    std::vector<IDispatch*> items_;
    std::size_t next_ = 0;
};

class Node : public Unknown<IDispatch> {
public:
    explicit Node(std::unique_ptr<MetabaseObject> object) : object_(std::move(object)) {}

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        for (const auto& member : kMembers) {
            if (count == 1 && lstrcmpiW(names[0], member.name) == 0) {
                ids[0] = member.id;
                return S_OK;
            }
        }
        ids[0] = DISPID_UNKNOWN;
        return DISP_E_UNKNOWNNAME;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        // Arguments arrive last to first.
        const auto argument = [&](UINT index) -> const VARIANT& {
            if (index >= parameters->cArgs) throw PlatformError(449, "Argument not optional");
            return parameters->rgvarg[parameters->cArgs - 1 - index];
        };
        VARIANT ignored;
        VariantInit(&ignored);
        VARIANT* out = result ? result : &ignored;
        try {
            switch (id) {
                case 1:
                    putValue(out, object_->Get(text(argument(0).bstrVal)));
                    break;
                case 2:
                    object_->Put(text(argument(0).bstrVal), valueOf(argument(1)));
                    break;
                case 3:
                    object_->SetInfo();
                    store()->Flush();
                    break;
                case 4: {
                    auto* child = new Node(
                        object_->Create(text(argument(0).bstrVal), text(argument(1).bstrVal)));
                    VariantInit(out);
                    out->vt = VT_DISPATCH;
                    out->pdispVal = child;
                    break;
                }
                case 5:
                    putText(out, object_->Class());
                    break;
                case 6:
                    putText(out, object_->Name());
                    break;
                case 7:
                    object_->AppCreate(valueOf(argument(0)) == MetabaseValue(true));
                    store()->Flush();
                    break;
                case 8:
                    object_->AppCreate2(static_cast<int>(std::get<long>(valueOf(argument(0)))));
                    store()->Flush();
                    break;
                case 9:
                    object_->Start();
                    store()->Flush();
                    break;
                case DISPID_NEWENUM: {
                    std::vector<IDispatch*> items;
                    for (auto& child : object_->Children())
                        items.push_back(new Node(std::move(child)));
                    VariantInit(out);
                    out->vt = VT_UNKNOWN;
                    out->punkVal = new Children(std::move(items));
                    break;
                }
                default:
                    return DISP_E_MEMBERNOTFOUND;
            }
        } catch (const PlatformError& error) {
            VariantClear(&ignored);
            return report(error, exception);
        } catch (const std::bad_variant_access&) {
            VariantClear(&ignored);
            return report(PlatformError(13, "Type mismatch"), exception);
        }
        VariantClear(&ignored);
        return S_OK;
    }

private:
    std::unique_ptr<MetabaseObject> object_;
};

class Provider : public IParseDisplayName, public IClassFactory {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IParseDisplayName) {
            *out = static_cast<IParseDisplayName*>(this);
        } else if (id == IID_IClassFactory) {
            *out = static_cast<IClassFactory*>(this);
        } else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    HRESULT STDMETHODCALLTYPE ParseDisplayName(IBindCtx*, LPOLESTR name, ULONG* eaten,
                                               IMoniker** moniker) override {
        *moniker = nullptr;
        Metabase* metabase = store();
        if (!metabase) return E_FAIL;
        try {
            IDispatch* node = new Node(metabase->Open(tessaron::fromWide(name)));
            const HRESULT result = CreatePointerMoniker(node, moniker);
            node->Release();
            if (SUCCEEDED(result) && eaten) *eaten = static_cast<ULONG>(lstrlenW(name));
            return result;
        } catch (const PlatformError& error) {
            return hresultOf(error);
        }
    }

    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown*, REFIID, void** out) override {
        *out = nullptr;
        return CLASS_E_CLASSNOTAVAILABLE;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

Provider provider;

// Stands in for WMI's locator on a server where the DNS server's WMI provider
// is installed: root\MicrosoftDNS is there, nothing else is. The program only
// tells whether a connection succeeds, so the namespace object it gets back
// answers nothing beyond IUnknown.
class DnsNamespace : public Unknown<IUnknown> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown) {
            *out = static_cast<IUnknown*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
};

class DnsLocator : public Unknown<IWbemLocator> {
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IWbemLocator) {
            *out = static_cast<IWbemLocator*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    HRESULT STDMETHODCALLTYPE ConnectServer(BSTR resource, BSTR, BSTR, BSTR, LONG, BSTR,
                                            IWbemContext*, IWbemServices** services) override {
        *services = nullptr;
        if (!resource || lstrcmpiW(resource, L"root\\MicrosoftDNS") != 0) {
            return WBEM_E_INVALID_NAMESPACE;
        }
        *services = reinterpret_cast<IWbemServices*>(new DnsNamespace);
        return S_OK;
    }
};

ComClassFactory<DnsLocator> dnsLocatorFactory;

// {7A1C5E2B-4D3F-4A6B-8C9D-0E1F2A3B4C5D}
const CLSID kClassId = {
    0x7a1c5e2b, 0x4d3f, 0x4a6b, {0x8c, 0x9d, 0x0e, 0x1f, 0x2a, 0x3b, 0x4c, 0x5d}};

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID classId, REFIID id, void** out) {
    if (classId == CLSID_WbemLocator) return dnsLocatorFactory.QueryInterface(id, out);
    if (classId != kClassId) return CLASS_E_CLASSNOTAVAILABLE;
    return provider.QueryInterface(id, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return S_FALSE;
}
