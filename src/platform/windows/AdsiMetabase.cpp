#include "platform/windows/AdsiMetabase.h"

#include "platform/WideText.h"
#include "platform/metabase/MetabaseErrors.h"
#include "platform/windows/ComSupport.h"

namespace tessaron::platform::windows {
namespace {

// The provider's failures with the texts the program shows for them, the
// same on every system; others with the system's own text.
PlatformError providerError(HRESULT result) {
    switch (static_cast<long>(result)) {
        case error_number::kPathNotFoundHresult:
            return metabase_error::pathNotFound();
        case error_number::kAlreadyExistsHresult:
            return metabase_error::alreadyExists();
        case error_number::kAccessDeniedHresult:
            return metabase_error::accessDenied();
        default:
            return comError(result);
    }
}

// A multi-valued property's texts: an array of BSTR or of VARIANT holding
// texts.
std::vector<std::string> arrayTexts(const VARIANT& value) {
    std::vector<std::string> texts;
    SAFEARRAY* array = (value.vt & VT_BYREF) ? *value.pparray : value.parray;
    if (!array) return texts;
    LONG lower = 0, upper = -1;
    SafeArrayGetLBound(array, 1, &lower);
    SafeArrayGetUBound(array, 1, &upper);
    const VARTYPE element = value.vt & VT_TYPEMASK;
    for (LONG index = lower; index <= upper; ++index) {
        if (element == VT_BSTR) {
            BSTR text = nullptr;
            if (SUCCEEDED(SafeArrayGetElement(array, &index, &text))) {
                texts.push_back(bstrText(text));
                SysFreeString(text);
            }
        } else {
            Variant item;
            if (SUCCEEDED(SafeArrayGetElement(array, &index, item.get()))) {
                Variant text;
                if (SUCCEEDED(VariantChangeType(text.get(), item.get(), 0, VT_BSTR))) {
                    texts.push_back(bstrText(text.value().bstrVal));
                }
            }
        }
    }
    return texts;
}

MetabaseValue toMetabaseValue(const VARIANT& value) {
    if (value.vt & VT_ARRAY) return arrayTexts(value);
    switch (value.vt) {
        case VT_BSTR:
            return bstrText(value.bstrVal);
        case VT_BOOL:
            return value.boolVal != VARIANT_FALSE;
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_INT:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_UINT: {
            Variant number;
            VariantChangeType(number.get(), const_cast<VARIANT*>(&value), 0, VT_I4);
            return static_cast<long>(number.value().lVal);
        }
        default: {
            Variant text;
            if (FAILED(VariantChangeType(text.get(), const_cast<VARIANT*>(&value), 0, VT_BSTR))) {
                throw metabase_error::typeMismatch();
            }
            return bstrText(text.value().bstrVal);
        }
    }
}

std::unique_ptr<Variant> toVariant(const MetabaseValue& value) {
    return std::visit([](const auto& data) { return std::make_unique<Variant>(data); }, value);
}

class AdsiObject : public MetabaseObject {
public:
    explicit AdsiObject(ComPtr<IDispatch> object) : object_(std::move(object)) {}

    std::string Class() const override { return const_cast<AdsiObject*>(this)->text("Class"); }
    std::string Name() const override { return const_cast<AdsiObject*>(this)->text("Name"); }

    std::vector<std::unique_ptr<MetabaseObject>> Children() override {
        enterComApartment();
        DISPPARAMS none{};
        Variant enumerator;
        EXCEPINFO exception{};
        HRESULT result = object_.get()->Invoke(DISPID_NEWENUM, IID_NULL, LOCALE_USER_DEFAULT,
                                               DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none,
                                               enumerator.get(), &exception, nullptr);
        if (FAILED(result)) throw providerError(result);
        IUnknown* unknown = enumerator.value().vt == VT_UNKNOWN    ? enumerator.value().punkVal
                            : enumerator.value().vt == VT_DISPATCH ? enumerator.value().pdispVal
                                                                   : nullptr;
        if (!unknown) throw metabase_error::methodNotSupported();
        ComPtr<IEnumVARIANT> items;
        result = unknown->QueryInterface(IID_IEnumVARIANT, reinterpret_cast<void**>(items.out()));
        if (FAILED(result)) throw providerError(result);

        std::vector<std::unique_ptr<MetabaseObject>> children;
        for (;;) {
            Variant item;
            ULONG fetched = 0;
            if (items->Next(1, item.get(), &fetched) != S_OK || fetched == 0) break;
            if (item.value().vt != VT_DISPATCH || !item.value().pdispVal) continue;
            item.value().pdispVal->AddRef();
            children.push_back(
                std::make_unique<AdsiObject>(ComPtr<IDispatch>(item.value().pdispVal)));
        }
        return children;
    }

    std::unique_ptr<MetabaseObject> Create(const std::string& className,
                                           const std::string& name) override {
        Variant classText(className), nameText(name), created;
        invoke("Create", {classText.get(), nameText.get()}, created.get());
        if (created.value().vt != VT_DISPATCH || !created.value().pdispVal) {
            throw metabase_error::typeMismatch();
        }
        created.value().pdispVal->AddRef();
        return std::make_unique<AdsiObject>(ComPtr<IDispatch>(created.value().pdispVal));
    }

    MetabaseValue Get(const std::string& property) override {
        Variant name(property), value;
        invoke("Get", {name.get()}, value.get());
        return toMetabaseValue(value.value());
    }

    void Put(const std::string& property, const MetabaseValue& value) override {
        Variant name(property);
        const auto data = toVariant(value);
        invoke("Put", {name.get(), data->get()});
    }

    void SetInfo() override { invoke("SetInfo", {}); }

    void AppCreate(bool inProcess) override {
        Variant flag(inProcess);
        invoke("AppCreate", {flag.get()});
    }

    void AppCreate2(int mode) override {
        Variant number(static_cast<long>(mode));
        invoke("AppCreate2", {number.get()});
    }

    void Start() override { invoke("Start", {}); }

private:
    void invoke(const std::string& name, std::vector<VARIANT*> arguments,
                VARIANT* result = nullptr) {
        try {
            Automation(object_).call(name, std::move(arguments), result);
        } catch (const PlatformError& error) {
            // A failure the provider reported by number alone gets its text.
            if (error.description() == systemMessage(static_cast<HRESULT>(error.number()))) {
                throw providerError(static_cast<HRESULT>(error.number()));
            }
            throw;
        }
    }

    std::string text(const std::string& property) {
        return Automation(object_).textProperty(property);
    }

    ComPtr<IDispatch> object_;
};

}  // namespace

std::unique_ptr<MetabaseObject> AdsiMetabase::Open(const std::string& path) {
    enterComApartment();
    ComPtr<IDispatch> object;
    const HRESULT result = CoGetObject(toWide(path).c_str(), nullptr, IID_IDispatch,
                                       reinterpret_cast<void**>(object.out()));
    if (FAILED(result)) {
        // Without the IIS provider the name does not resolve at all: IIS is
        // not there, as for a path with nothing at it.
        if (result == MK_E_SYNTAX || result == MK_E_UNAVAILABLE || result == MK_E_CANTOPENFILE ||
            result == CO_E_CLASSSTRING || result == REGDB_E_CLASSNOTREG) {
            throw metabase_error::pathNotFound();
        }
        throw providerError(result);
    }
    return std::make_unique<AdsiObject>(std::move(object));
}

}  // namespace tessaron::platform::windows
