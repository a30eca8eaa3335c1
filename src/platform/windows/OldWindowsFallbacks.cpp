// Functions the compiler's runtime libraries import that the oldest releases
// the program is for lack: winpthread's GetTickCount64 (Windows Vista on) in
// both builds, and in the 32-bit build for Windows 2000 also winpthread's
// vectored exception handlers, libstdc++'s GetModuleHandleExW and its
// _wstat64, _fstat64, _aligned_malloc and _aligned_free of msvcrt.dll (each
// from Windows XP on).
//
// Each is provided here in place of its import: the import slot the runtime
// calls through (__imp_NAME) is defined by this file, so the linker takes no
// import of NAME from the system's import library. The function in the slot
// looks the real one up at run time and calls it where the system has it,
// and otherwise does the same with what the old release has.
// cmake/windows/check-imports.sh confirms after each link that none of these
// is imported any more.
#include <sys/stat.h>
#include <windows.h>

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

// The address of `name` in the system DLL `dll` (already loaded), or null.
// Looked up on each call: no static of its own, so nothing here waits on the
// runtime's locks, which may themselves be what is calling.
template <typename Function>
Function systemFunction(const wchar_t* dll, const char* name) {
    const HMODULE module = GetModuleHandleW(dll);
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}

// GetTickCount's 32-bit count extended to 64 bits: the count wraps after
// 49.7 days, and each call that sees it smaller than the last one seen
// counts a wrap. Calls at least once in 49.7 days keep it exact; the runtime
// uses it for timed waits, which call it far more often.
ULONGLONG WINAPI extendedTickCount() {
    static std::atomic<std::uint64_t> last{0};
    std::uint64_t seen = last.load();
    for (;;) {
        const std::uint32_t ticks = GetTickCount();
        std::uint64_t wraps = seen >> 32;
        if (ticks < static_cast<std::uint32_t>(seen)) ++wraps;
        const std::uint64_t now = (wraps << 32) | ticks;
        if (last.compare_exchange_weak(seen, now)) return now;
    }
}

ULONGLONG WINAPI tickCount64() {
    using Call = ULONGLONG(WINAPI*)();
    const Call system = systemFunction<Call>(L"kernel32.dll", "GetTickCount64");
    return system ? system() : extendedTickCount();
}

}  // namespace

// The import slots, named as the linker knows them: on x86 stdcall names
// carry a leading underscore and their arguments' size, cdecl names the
// underscore.
#ifdef __i386__
#define TESSARON_WINAPI_SLOT(name, bytes) "__imp__" #name "@" #bytes
#define TESSARON_CRT_SLOT(name) "__imp__" #name
#else
#define TESSARON_WINAPI_SLOT(name, bytes) "__imp_" #name
#define TESSARON_CRT_SLOT(name) "__imp_" #name
#endif

// The linker is asked for this name (cmake: -u), which brings this file into
// every program linked with the Windows backend before the runtime libraries
// ask for the slots.
extern const int tessaronWindowsFallbacks __asm__("tessaron_windows_fallbacks");
const int tessaronWindowsFallbacks = 1;

using TickCount64Call = ULONGLONG(WINAPI*)();
TickCount64Call tessaronGetTickCount64Slot __asm__(TESSARON_WINAPI_SLOT(GetTickCount64,
                                                                        0)) = &tickCount64;

#ifdef __i386__
namespace {

// Without vectored handlers (Windows 2000) none is added: winpthread adds
// one only to hear the exception by which debuggers are told thread names.
PVOID WINAPI addVectoredExceptionHandler(ULONG first, PVECTORED_EXCEPTION_HANDLER handler) {
    using Call = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
    const Call system = systemFunction<Call>(L"kernel32.dll", "AddVectoredExceptionHandler");
    return system ? system(first, handler) : nullptr;
}

ULONG WINAPI removeVectoredExceptionHandler(PVOID handle) {
    using Call = ULONG(WINAPI*)(PVOID);
    const Call system = systemFunction<Call>(L"kernel32.dll", "RemoveVectoredExceptionHandler");
    return system && handle ? system(handle) : 0;
}

// GetModuleHandleExW as Windows 2000 can do it: the module by name or by an
// address inside it (VirtualQuery's allocation base is the module's base),
// with a reference taken by loading it once more unless none is wanted.
BOOL WINAPI moduleHandleEx(DWORD flags, LPCWSTR nameOrAddress, HMODULE* module) {
    using Call = BOOL(WINAPI*)(DWORD, LPCWSTR, HMODULE*);
    const Call system = systemFunction<Call>(L"kernel32.dll", "GetModuleHandleExW");
    if (system) return system(flags, nameOrAddress, module);
    if (!module) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    *module = nullptr;
    HMODULE found = nullptr;
    if (flags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) {
        MEMORY_BASIC_INFORMATION region{};
        if (VirtualQuery(nameOrAddress, &region, sizeof region) == sizeof region) {
            found = static_cast<HMODULE>(region.AllocationBase);
        }
    } else {
        found = GetModuleHandleW(nameOrAddress);
    }
    if (!found) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return FALSE;
    }
    if (!(flags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT)) {
        wchar_t path[MAX_PATH] = {};
        if (GetModuleFileNameW(found, path, MAX_PATH) == 0 || !LoadLibraryW(path)) return FALSE;
    }
    *module = found;
    return TRUE;
}

// msvcrt.dll's struct _stati64 (32-bit times), which Windows 2000's has.
struct StatWithTime32 {
    _dev_t st_dev;
    _ino_t st_ino;
    unsigned short st_mode;
    short st_nlink;
    short st_uid;
    short st_gid;
    _dev_t st_rdev;
    __int64 st_size;
    __time32_t st_atime;
    __time32_t st_mtime;
    __time32_t st_ctime;
};

static_assert(sizeof(StatWithTime32) == 48, "msvcrt's struct _stati64 is 48 bytes");
static_assert(offsetof(StatWithTime32, st_size) == offsetof(struct _stat64, st_size));

void copyStat(const StatWithTime32& from, struct _stat64* to) {
    to->st_dev = from.st_dev;
    to->st_ino = from.st_ino;
    to->st_mode = from.st_mode;
    to->st_nlink = from.st_nlink;
    to->st_uid = from.st_uid;
    to->st_gid = from.st_gid;
    to->st_rdev = from.st_rdev;
    to->st_size = from.st_size;
    to->st_atime = from.st_atime;
    to->st_mtime = from.st_mtime;
    to->st_ctime = from.st_ctime;
}

// _wstat64 and _fstat64 where msvcrt.dll has them, otherwise _wstati64 and
// _fstati64 with the times widened (the 32-bit times reach 2038).
int __cdecl wideStat64(const wchar_t* path, struct _stat64* result) {
    using Call = int(__cdecl*)(const wchar_t*, struct _stat64*);
    using OldCall = int(__cdecl*)(const wchar_t*, StatWithTime32*);
    const Call system = systemFunction<Call>(L"msvcrt.dll", "_wstat64");
    if (system) return system(path, result);
    const OldCall old = systemFunction<OldCall>(L"msvcrt.dll", "_wstati64");
    StatWithTime32 narrow{};
    if (!old) return -1;
    const int status = old(path, &narrow);
    if (status == 0) copyStat(narrow, result);
    return status;
}

int __cdecl descriptorStat64(int descriptor, struct _stat64* result) {
    using Call = int(__cdecl*)(int, struct _stat64*);
    using OldCall = int(__cdecl*)(int, StatWithTime32*);
    const Call system = systemFunction<Call>(L"msvcrt.dll", "_fstat64");
    if (system) return system(descriptor, result);
    const OldCall old = systemFunction<OldCall>(L"msvcrt.dll", "_fstati64");
    StatWithTime32 narrow{};
    if (!old) return -1;
    const int status = old(descriptor, &narrow);
    if (status == 0) copyStat(narrow, result);
    return status;
}

// _aligned_malloc and _aligned_free (C++'s aligned new) where msvcrt.dll has
// them, otherwise a block from malloc with the pointer malloc gave kept just
// before the aligned address. Both ask the same DLL, so a block is always
// freed by the allocator that made it.
void* __cdecl alignedMalloc(std::size_t size, std::size_t alignment) {
    using Call = void*(__cdecl*)(std::size_t, std::size_t);
    const Call system = systemFunction<Call>(L"msvcrt.dll", "_aligned_malloc");
    if (system) return system(size, alignment);
    if (alignment == 0 || (alignment & (alignment - 1)) != 0) return nullptr;
    if (alignment < sizeof(void*)) alignment = sizeof(void*);
    if (size > SIZE_MAX - alignment - sizeof(void*)) return nullptr;
    void* block = std::malloc(size + alignment + sizeof(void*));
    if (!block) return nullptr;
    const auto start = reinterpret_cast<std::uintptr_t>(block) + sizeof(void*);
    void* aligned = reinterpret_cast<void*>((start + alignment - 1) & ~(alignment - 1));
    static_cast<void**>(aligned)[-1] = block;
    return aligned;
}

void __cdecl alignedFree(void* aligned) {
    using Call = void(__cdecl*)(void*);
    const Call system = systemFunction<Call>(L"msvcrt.dll", "_aligned_free");
    if (system) return system(aligned);
    if (aligned) std::free(static_cast<void**>(aligned)[-1]);
}

}  // namespace

using AlignedMallocCall = void*(__cdecl*)(std::size_t, std::size_t);
using AlignedFreeCall = void(__cdecl*)(void*);
AlignedMallocCall tessaronAlignedMallocSlot __asm__(TESSARON_CRT_SLOT(_aligned_malloc)) =
    &alignedMalloc;
AlignedFreeCall tessaronAlignedFreeSlot __asm__(TESSARON_CRT_SLOT(_aligned_free)) = &alignedFree;
using AddHandlerCall = PVOID(WINAPI*)(ULONG, PVECTORED_EXCEPTION_HANDLER);
using RemoveHandlerCall = ULONG(WINAPI*)(PVOID);
using ModuleHandleExCall = BOOL(WINAPI*)(DWORD, LPCWSTR, HMODULE*);
using WideStatCall = int(__cdecl*)(const wchar_t*, struct _stat64*);
using DescriptorStatCall = int(__cdecl*)(int, struct _stat64*);
AddHandlerCall tessaronAddVectoredExceptionHandlerSlot __asm__(
    TESSARON_WINAPI_SLOT(AddVectoredExceptionHandler, 8)) = &addVectoredExceptionHandler;
RemoveHandlerCall tessaronRemoveVectoredExceptionHandlerSlot __asm__(
    TESSARON_WINAPI_SLOT(RemoveVectoredExceptionHandler, 4)) = &removeVectoredExceptionHandler;
ModuleHandleExCall tessaronGetModuleHandleExWSlot __asm__(
    TESSARON_WINAPI_SLOT(GetModuleHandleExW, 12)) = &moduleHandleEx;
WideStatCall tessaronWstat64Slot __asm__(TESSARON_CRT_SLOT(_wstat64)) = &wideStat64;
DescriptorStatCall tessaronFstat64Slot __asm__(TESSARON_CRT_SLOT(_fstat64)) = &descriptorStat64;
#endif
