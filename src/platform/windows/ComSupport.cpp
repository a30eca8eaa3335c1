#include "platform/windows/ComSupport.h"

#include <algorithm>

#include "platform/WideText.h"

namespace tessaron::platform::windows {
namespace {

// One apartment per thread, left when the thread ends.
struct Apartment {
    bool joined = false;
    Apartment() {
        const HRESULT result = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        joined = SUCCEEDED(result);
    }
    ~Apartment() {
        if (joined) CoUninitialize();
    }
};

std::string trimmedMessage(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
    return text;
}

// The description an object left for the thread, if any.
std::string threadErrorDescription() {
    ComPtr<IErrorInfo> info;
    if (GetErrorInfo(0, info.out()) != S_OK || !info) return {};
    BSTR description = nullptr;
    if (FAILED(info->GetDescription(&description))) return {};
    const auto text = bstrText(description);
    SysFreeString(description);
    return text;
}

}  // namespace

void enterComApartment() {
    thread_local Apartment apartment;
}

std::string systemMessage(HRESULT result, const std::string& fallback) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(result), MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT),
        reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::string text;
    if (length > 0 && buffer) text = trimmedMessage(fromWide(std::wstring_view(buffer, length)));
    if (buffer) LocalFree(buffer);
    return text.empty() ? fallback : text;
}

PlatformError comError(HRESULT result) {
    auto description = threadErrorDescription();
    if (description.empty()) description = systemMessage(result);
    return PlatformError(static_cast<long>(result), description);
}

Variant::Variant(const std::string& text) : Variant() {
    value_.vt = VT_BSTR;
    value_.bstrVal = newBstr(text);
}

Variant::Variant(bool flag) : Variant() {
    value_.vt = VT_BOOL;
    value_.boolVal = flag ? VARIANT_TRUE : VARIANT_FALSE;
}

Variant::Variant(long number) : Variant() {
    value_.vt = VT_I4;
    value_.lVal = number;
}

Variant::Variant(const std::vector<std::string>& texts) : Variant() {
    SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, 0, static_cast<ULONG>(texts.size()));
    for (LONG index = 0; index < static_cast<LONG>(texts.size()); ++index) {
        BSTR text = newBstr(texts[static_cast<std::size_t>(index)]);
        SafeArrayPutElement(array, &index, text);  // copies the string
        SysFreeString(text);
    }
    value_.vt = VT_ARRAY | VT_BSTR;
    value_.parray = array;
}

std::string bstrText(BSTR text) {
    if (!text) return {};
    return fromWide(std::wstring_view(text, SysStringLen(text)));
}

BSTR newBstr(const std::string& text) {
    const auto wide = toWide(text);
    return SysAllocStringLen(wide.data(), static_cast<UINT>(wide.size()));
}

void Automation::call(const std::string& name, std::vector<VARIANT*> arguments, VARIANT* result,
                      WORD kind) {
    enterComApartment();
    auto wideName = toWide(name);
    LPOLESTR names[] = {wideName.data()};
    DISPID id = 0;
    HRESULT status = object_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
    if (FAILED(status)) {
        throw PlatformError(438, "Object doesn't support this property or method");
    }
    // IDispatch takes its arguments last to first.
    std::vector<VARIANT> reversed;
    for (auto it = arguments.rbegin(); it != arguments.rend(); ++it) reversed.push_back(**it);
    DISPPARAMS parameters{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
    EXCEPINFO exception{};
    UINT badArgument = 0;
    Variant ignored;
    status = object_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, kind, &parameters,
                             result ? result : ignored.get(), &exception, &badArgument);
    if (status == DISP_E_EXCEPTION) {
        if (exception.pfnDeferredFillIn) exception.pfnDeferredFillIn(&exception);
        const HRESULT code =
            exception.scode ? exception.scode : static_cast<HRESULT>(exception.wCode);
        std::string description = bstrText(exception.bstrDescription);
        SysFreeString(exception.bstrDescription);
        SysFreeString(exception.bstrSource);
        SysFreeString(exception.bstrHelpFile);
        if (description.empty()) description = systemMessage(code);
        throw PlatformError(static_cast<long>(code), description);
    }
    if (FAILED(status)) throw comError(status);
}

std::string Automation::textProperty(const std::string& name) {
    Variant value;
    call(name, {}, value.get(), DISPATCH_PROPERTYGET);
    if (value.value().vt != VT_BSTR) {
        Variant text;
        if (FAILED(VariantChangeType(text.get(), value.get(), 0, VT_BSTR))) {
            throw PlatformError(13, "Type mismatch");
        }
        return bstrText(text.value().bstrVal);
    }
    return bstrText(value.value().bstrVal);
}

}  // namespace tessaron::platform::windows
