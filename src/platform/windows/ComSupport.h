#pragma once

#include <string>
#include <vector>

#include "platform/Failure.h"
#include "platform/windows/Win32.h"

namespace tessaron::platform::windows {

// Joins the calling thread to a single-threaded COM apartment for the rest of
// its life (once per thread); every COM call of the backend starts with it.
void enterComApartment();

// The system's text for an HRESULT (a Windows error's message), without the
// line break the system ends it with; `fallback` when it has none.
std::string systemMessage(HRESULT result, const std::string& fallback = "Unspecified error");

// A PlatformError for a failed COM call: the error's own description where the
// object gave one (EXCEPINFO or IErrorInfo), otherwise the system's text.
PlatformError comError(HRESULT result);

// Owns a COM interface pointer.
template <typename Interface>
class ComPtr {
public:
    ComPtr() = default;
    explicit ComPtr(Interface* pointer) : pointer_(pointer) {}
    ComPtr(const ComPtr& other) : pointer_(other.pointer_) {
        if (pointer_) pointer_->AddRef();
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(other.pointer_) { other.pointer_ = nullptr; }
    ComPtr& operator=(ComPtr other) noexcept {
        std::swap(pointer_, other.pointer_);
        return *this;
    }
    ~ComPtr() {
        if (pointer_) pointer_->Release();
    }
    Interface* get() const { return pointer_; }
    Interface* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }
    // For out-parameters: releases what it holds first.
    Interface** out() {
        *this = ComPtr();
        return &pointer_;
    }

private:
    Interface* pointer_ = nullptr;
};

// A VARIANT that clears itself.
class Variant {
public:
    Variant() { VariantInit(&value_); }
    explicit Variant(const std::string& text);
    explicit Variant(bool flag);
    explicit Variant(long number);
    // A SAFEARRAY of BSTR, as the directory service takes multi-valued
    // properties.
    explicit Variant(const std::vector<std::string>& texts);
    ~Variant() { VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() { return &value_; }
    const VARIANT& value() const { return value_; }

private:
    VARIANT value_;
};

// A BSTR's text as UTF-8.
std::string bstrText(BSTR text);
BSTR newBstr(const std::string& text);

// A late-bound automation object: properties and methods called by name.
class Automation {
public:
    explicit Automation(ComPtr<IDispatch> object) : object_(std::move(object)) {}

    // Calls a method (or reads a property, with DISPATCH_PROPERTYGET) by
    // name; arguments in their natural order. Throws PlatformError.
    void call(const std::string& name, std::vector<VARIANT*> arguments, VARIANT* result = nullptr,
              WORD kind = DISPATCH_METHOD);
    std::string textProperty(const std::string& name);
    IDispatch* get() const { return object_.get(); }

private:
    ComPtr<IDispatch> object_;
};

}  // namespace tessaron::platform::windows
