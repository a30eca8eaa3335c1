// A stand-in for the panel component, for the Windows tests: an in-process
// automation server whose ComputerName is the machine's name and whose
// Execute appends each command line (UTF-8) to the file named by the
// environment variable TESSARON_TEST_COMMANDS, failing when it is unset.
#include <windows.h>

#include <cstdio>
#include <string>

#include "../ComClassFactory.h"

namespace {

// {6E2B4C1A-3F0D-4E8B-9A57-1C2D3E4F5A6B}
const CLSID kClassId = {
    0x6e2b4c1a, 0x3f0d, 0x4e8b, {0x9a, 0x57, 0x1c, 0x2d, 0x3e, 0x4f, 0x5a, 0x6b}};

LONG objects = 0;

enum : DISPID { kComputerName = 1, kExecute = 2 };

class Master : public IDispatch {
public:
    Master() { InterlockedIncrement(&objects); }
    virtual ~Master() { InterlockedDecrement(&objects); }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override {
        if (id == IID_IUnknown || id == IID_IDispatch) {
            *out = static_cast<IDispatch*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = InterlockedDecrement(&references_);
        if (left == 0) delete this;
        return left;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID,
                                            DISPID* ids) override {
        if (count != 1) return DISP_E_UNKNOWNNAME;
        if (lstrcmpiW(names[0], L"ComputerName") == 0) {
            ids[0] = kComputerName;
        } else if (lstrcmpiW(names[0], L"Execute") == 0) {
            ids[0] = kExecute;
        } else {
            ids[0] = DISPID_UNKNOWN;
            return DISP_E_UNKNOWNNAME;
        }
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters,
                                     VARIANT* result, EXCEPINFO* exception, UINT*) override {
        if (id == kComputerName) {
            wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {};
            DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
            GetComputerNameW(name, &length);
            if (result) {
                VariantInit(result);
                result->vt = VT_BSTR;
                result->bstrVal = SysAllocString(name);
            }
            return S_OK;
        }
        if (id != kExecute) return DISP_E_MEMBERNOTFOUND;
        if (parameters->cArgs != 1 || parameters->rgvarg[0].vt != VT_BSTR)
            return DISP_E_TYPEMISMATCH;
        char file[MAX_PATH] = {};
        if (!GetEnvironmentVariableA("TESSARON_TEST_COMMANDS", file, MAX_PATH)) {
            if (exception) {
                *exception = {};
                exception->scode = E_FAIL;
                exception->bstrDescription = SysAllocString(L"No command log is set.");
            }
            return DISP_E_EXCEPTION;
        }
        const BSTR line = parameters->rgvarg[0].bstrVal;
        const int size =
            WideCharToMultiByte(CP_UTF8, 0, line, SysStringLen(line), nullptr, 0, nullptr, nullptr);
        std::string text(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(CP_UTF8, 0, line, SysStringLen(line), text.data(), size, nullptr,
                            nullptr);
        if (FILE* out = std::fopen(file, "ab")) {
            std::fprintf(out, "%s\n", text.c_str());
            std::fclose(out);
        }
        return S_OK;
    }

private:
    LONG references_ = 1;
};

ComClassFactory<Master> factory;

}  // namespace

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE
    DllGetClassObject(REFCLSID classId, REFIID id, void** out) {
    if (classId != kClassId) return CLASS_E_CLASSNOTAVAILABLE;
    return factory.QueryInterface(id, out);
}

extern "C" __declspec(dllexport) HRESULT STDAPICALLTYPE DllCanUnloadNow() {
    return objects == 0 ? S_OK : S_FALSE;
}
