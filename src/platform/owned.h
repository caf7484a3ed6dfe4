#pragma once
// Move-only owners of what the system hands out: kernel handles, WinInet handles, GDI objects,
// memory DCs, icons, global memory blocks, find handles, BSTRs and COM pointers. An owner
// releases what it holds when it goes, on every path out, exceptions included; nothing is
// released by hand. Where the result of the release matters (a file's last writes can fail
// only in its close), Close() releases at once and reports it.
#include <windows.h>
#include <oleauto.h>
#include <unknwn.h>
#include <wininet.h>

#include <type_traits>
#include <utility>

namespace platform {

// Traits: the held type, the value that means "none", whether a value is held, and the release
// (true when it succeeded).
template <class Traits>
class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle h) noexcept : h_(h) {}
    ~Owned() { Reset(); }
    Owned(Owned&& other) noexcept : h_(other.Detach()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) Reset(other.Detach());
        return *this;
    }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;

    Handle get() const noexcept { return h_; }
    explicit operator bool() const noexcept { return Traits::Held(h_); }
    Handle operator->() const noexcept requires std::is_class_v<std::remove_pointer_t<Handle>> { return h_; }

    // Gives up ownership without releasing.
    Handle Detach() noexcept { return std::exchange(h_, Traits::kNone); }
    // Releases what is held and holds h instead.
    void Reset(Handle h = Traits::kNone) noexcept {
        Handle old = std::exchange(h_, h);
        if (Traits::Held(old)) Traits::Release(old);
    }
    // Releases now; false when the release failed. Holding nothing counts as success.
    bool Close() noexcept {
        Handle h = Detach();
        return !Traits::Held(h) || Traits::Release(h);
    }
    // For a function that writes a new value through a pointer: what was held is released first.
    Handle* Put() noexcept {
        Reset();
        return &h_;
    }
    void** PutVoid() noexcept requires std::is_pointer_v<Handle> { return reinterpret_cast<void**>(Put()); }

private:
    Handle h_ = Traits::kNone;
};

namespace traits {

// Null is none, and the release answers nonzero when it worked: most of the system's handles.
template <class T, auto Free>
struct NullIsNone {
    using Handle = T;
    static constexpr Handle kNone = nullptr;
    static bool Held(Handle h) noexcept { return h != nullptr; }
    static bool Release(Handle h) noexcept { return Free(h) != FALSE; }
};

// Kernel objects and find handles: CreateFile and FindFirstFile answer INVALID_HANDLE_VALUE
// for "none", CreateEvent and most others null. Both count as none and neither is released.
template <auto Free>
struct EitherIsNone {
    using Handle = HANDLE;
    static constexpr Handle kNone = nullptr;
    static bool Held(Handle h) noexcept { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static bool Release(Handle h) noexcept { return Free(h) != FALSE; }
};

struct Global {
    using Handle = HGLOBAL;
    static constexpr Handle kNone = nullptr;
    static bool Held(Handle h) noexcept { return h != nullptr; }
    static bool Release(Handle h) noexcept { return GlobalFree(h) == nullptr; }  // null is success
};

struct Bstr {
    using Handle = BSTR;
    static constexpr Handle kNone = nullptr;
    static bool Held(Handle h) noexcept { return h != nullptr; }
    static bool Release(Handle h) noexcept {
        SysFreeString(h);
        return true;
    }
};

template <class T>
struct Com {
    using Handle = T*;
    static constexpr Handle kNone = nullptr;
    static bool Held(Handle h) noexcept { return h != nullptr; }
    static bool Release(Handle h) noexcept {
        h->Release();
        return true;
    }
};

}  // namespace traits

using Handle = Owned<traits::EitherIsNone<CloseHandle>>;
using FindHandle = Owned<traits::EitherIsNone<FindClose>>;
using InetHandle = Owned<traits::NullIsNone<HINTERNET, InternetCloseHandle>>;
template <class T>
using Gdi = Owned<traits::NullIsNone<T, DeleteObject>>;  // pens, brushes, bitmaps, fonts, regions
// A DC made by CreateCompatibleDC or CreateDC (a window's DC goes back with ReleaseDC instead).
using MemoryDc = Owned<traits::NullIsNone<HDC, DeleteDC>>;
// An icon made by CopyIcon, CreateIcon or LoadImage without LR_SHARED; LoadIcon's are shared
// and never destroyed.
using Icon = Owned<traits::NullIsNone<HICON, DestroyIcon>>;
using GlobalMemory = Owned<traits::Global>;
using Bstr = Owned<traits::Bstr>;
template <class T>
using Com = Owned<traits::Com<T>>;

// Takes a reference of its own to a COM pointer it is handed (Com<T> adopts one it is given).
template <class T>
Com<T> AddRefed(T* p) noexcept {
    if (p) p->AddRef();
    return Com<T>(p);
}

// Holds a global block locked for as long as it lives.
class LockedGlobal {
public:
    explicit LockedGlobal(HGLOBAL mem) noexcept : mem_(mem), p_(GlobalLock(mem)) {}
    ~LockedGlobal() {
        if (p_) GlobalUnlock(mem_);
    }
    LockedGlobal(const LockedGlobal&) = delete;
    LockedGlobal& operator=(const LockedGlobal&) = delete;
    void* get() const noexcept { return p_; }

private:
    HGLOBAL mem_;
    void* p_;
};

// Selects an object into a DC and selects the one it replaced back when it goes, so the object
// can then be deleted. Declare it after the owners of the DC and the object.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) noexcept : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (old_ && old_ != HGDI_ERROR) SelectObject(dc_, old_);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace platform
