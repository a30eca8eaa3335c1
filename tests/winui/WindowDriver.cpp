#include "WindowDriver.h"

#include <commctrl.h>
#include <wincodec.h>

#include <chrono>
#include <map>
#include <vector>

#include "main/ProgramBackend.h"
#include "platform/WideText.h"
#include "winui/FormControls.h"
#include "winui/WindowProgram.h"

namespace tessaron::winui::testing {

RunningProgram::RunningProgram(const std::optional<std::filesystem::path>& machine) {
    std::optional<std::string> folder;
    if (machine) folder = machine->string();
    thread_ = std::thread([this, folder] {
        threadId_ = GetCurrentThreadId();
        status_ = runSettingsWindow(startup::programBackend(), folder);
        ended_ = true;
    });
    waitUntil([this] { return threadId_ != 0; });
}

RunningProgram::~RunningProgram() {
    if (!ended_) {
        // Whatever is still open: message boxes answered, the window closed.
        for (int round = 0; round < 50 && !ended_; ++round) {
            answerMessageBox(threadId_, IDNO, 0);
            if (HWND main = findWindow(threadId_, L"TessaronMain"))
                PostMessageW(main, WM_CLOSE, 0, 0);
            if (!ended_) PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
            waitUntil([this] { return ended_.load(); }, 200);
        }
    }
    if (thread_.joinable()) thread_.join();
}

HWND RunningProgram::mainWindow(int timeoutMs) {
    HWND found = nullptr;
    waitUntil(
        [&] {
            found = findWindow(threadId_, L"TessaronMain");
            return found != nullptr || ended_;
        },
        timeoutMs);
    return found;
}

std::optional<int> RunningProgram::exitStatus(int timeoutMs) {
    if (!waitUntil([this] { return ended_.load(); }, timeoutMs)) return std::nullopt;
    return status_.load();
}

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() >= until) return false;
        Sleep(5);
    }
    return true;
}

namespace {

struct Search {
    const wchar_t* windowClass;
    std::wstring title;
    bool anyTitle;
    DWORD process = 0;  // 0: any
    HWND found = nullptr;
};

BOOL CALLBACK matchTop(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<Search*>(context);
    if (search->process != 0) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process != search->process) return TRUE;
    }
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (!IsWindowVisible(window) || wcscmp(name, search->windowClass) != 0) return TRUE;
    wchar_t title[256] = {};
    GetWindowTextW(window, title, 256);
    if (!search->anyTitle && search->title != title) return TRUE;
    search->found = window;
    return FALSE;
}

struct ById {
    int id;
    HWND found = nullptr;
};

BOOL CALLBACK matchId(HWND window, LPARAM context) {
    auto* search = reinterpret_cast<ById*>(context);
    if (GetDlgCtrlID(window) != search->id) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

HWND findWindow(DWORD thread, const wchar_t* windowClass, const std::string& title) {
    Search search{windowClass, toWide(title), title.empty()};
    EnumThreadWindows(thread, &matchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND findProcessWindow(DWORD process, const wchar_t* windowClass) {
    Search search{windowClass, {}, true, process};
    EnumWindows(&matchTop, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND childById(HWND top, int id) {
    ById search{id};
    EnumChildWindows(top, &matchId, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND controlWindow(HWND top, const app::window::FormDesign& form, const std::string& name) {
    return childById(top, controlId(form, name));
}

std::string textOf(HWND window) {
    wchar_t text[8192] = {};
    SendMessageW(window, WM_GETTEXT, 8192, reinterpret_cast<LPARAM>(text));
    return fromWide(text);
}

std::string classOf(HWND window) {
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    return fromWide(name);
}

RECT placeIn(HWND top, HWND control) {
    RECT place{};
    GetWindowRect(control, &place);
    MapWindowPoints(HWND_DESKTOP, top, reinterpret_cast<POINT*>(&place), 2);
    return place;
}

void typeText(HWND edit, const std::string& text) {
    SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(toWide(text).c_str()));
}

void click(HWND button) {
    SendMessageW(button, BM_CLICK, 0, 0);
}

void clickLater(HWND button) {
    PostMessageW(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
}

void selectEntry(HWND combo, int index) {
    SendMessageW(combo, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageW(GetParent(combo), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(combo), CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(combo));
}

void selectTab(HWND tabs, int index) {
    SendMessageW(tabs, TCM_SETCURSEL, static_cast<WPARAM>(index), 0);
    NMHDR note{tabs, static_cast<UINT_PTR>(GetDlgCtrlID(tabs)), static_cast<UINT>(TCN_SELCHANGE)};
    SendMessageW(GetParent(tabs), WM_NOTIFY, note.idFrom, reinterpret_cast<LPARAM>(&note));
}

std::optional<MessageBoxSeen> answerMessageBox(DWORD thread, int answer, int timeoutMs) {
    HWND box = nullptr;
    waitUntil(
        [&] {
            box = findWindow(thread, L"#32770");
            return box != nullptr;
        },
        timeoutMs);
    if (!box) return std::nullopt;
    MessageBoxSeen seen{textOf(box), textOf(GetDlgItem(box, 0xFFFF))};
    PostMessageW(box, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, answer)));
    waitUntil([&] { return !IsWindow(box) || !IsWindowVisible(box); }, 5000);
    return seen;
}

bool captureWindow(HWND window, const std::filesystem::path& file, double* mostFrequentShare) {
    RECT frame{};
    GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    if (width <= 0 || height <= 0) return false;
    RedrawWindow(window, nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC source = GetWindowDC(window);
    HDC memory = CreateCompatibleDC(source);
    HBITMAP bitmap = CreateDIBSection(source, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ before = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SelectObject(memory, before);
    DeleteDC(memory);
    ReleaseDC(window, source);

    auto* pixels = static_cast<std::uint32_t*>(bits);
    const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    std::map<std::uint32_t, std::size_t> colours;
    for (std::size_t i = 0; i < count; ++i) {
        pixels[i] |= 0xFF000000u;  // BitBlt leaves the alpha byte empty
        ++colours[pixels[i]];
    }
    std::size_t most = 0;
    for (const auto& [colour, seen] : colours) most = std::max(most, seen);
    if (mostFrequentShare)
        *mostFrequentShare = static_cast<double>(most) / static_cast<double>(count);

    bool saved = false;
    IWICImagingFactory* factory = nullptr;
    CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_PPV_ARGS(&factory)))) {
        IWICStream* stream = nullptr;
        IWICBitmapEncoder* encoder = nullptr;
        IWICBitmapFrameEncode* frameEncode = nullptr;
        WICPixelFormatGUID format = GUID_WICPixelFormat32bppBGRA;
        saved =
            SUCCEEDED(factory->CreateStream(&stream)) &&
            SUCCEEDED(stream->InitializeFromFilename(file.wstring().c_str(), GENERIC_WRITE)) &&
            SUCCEEDED(factory->CreateEncoder(GUID_ContainerFormatPng, nullptr, &encoder)) &&
            SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
            SUCCEEDED(encoder->CreateNewFrame(&frameEncode, nullptr)) &&
            SUCCEEDED(frameEncode->Initialize(nullptr)) &&
            SUCCEEDED(frameEncode->SetSize(static_cast<UINT>(width), static_cast<UINT>(height))) &&
            SUCCEEDED(frameEncode->SetPixelFormat(&format)) &&
            IsEqualGUID(format, GUID_WICPixelFormat32bppBGRA) &&
            SUCCEEDED(
                frameEncode->WritePixels(static_cast<UINT>(height), static_cast<UINT>(width * 4),
                                         static_cast<UINT>(count * 4), static_cast<BYTE*>(bits))) &&
            SUCCEEDED(frameEncode->Commit()) && SUCCEEDED(encoder->Commit());
        if (frameEncode) frameEncode->Release();
        if (encoder) encoder->Release();
        if (stream) stream->Release();
        factory->Release();
    }
    DeleteObject(bitmap);
    return saved;
}

}  // namespace tessaron::winui::testing
