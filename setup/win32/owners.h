#pragma once
// Owners of the Win32 resources wirewise holds: each gives its resource back once, on
// destruction, on every way out.
//
// A handle or COM pointer is an Owned<Traits>: movable, emptied by the move. What a scope borrows
// or starts and must give back there (a window's DC, COM on the thread, a VARIANT, a buffer of a
// library loaded at run time) is a Guard, which neither copies nor moves.
#include <objbase.h>
#include <oleauto.h>
#include <windows.h>

#include <utility>

namespace ww {

// A movable owner of one value that Traits knows how to give back.
template <typename Traits> class Owned {
  public:
    using Type = typename Traits::Type;
    Owned() = default;
    explicit Owned(Type value) : value_(value) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : value_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Close();
            value_ = other.Release();
        }
        return *this;
    }
    ~Owned() { Close(); }
    Type get() const { return value_; }
    Type operator->() const { return value_; } // a COM pointer's methods
    explicit operator bool() const { return value_ != Traits::Empty(); }
    // For out-parameters: gives back what is held and hands out the slot.
    Type* Put() {
        Close();
        return &value_;
    }
    // Gives the value back now; true when nothing was held or the system took it back.
    bool Close() {
        const bool ok = value_ == Traits::Empty() || Traits::Close(value_);
        value_ = Traits::Empty();
        return ok;
    }
    // Lets go of the value without giving it back (someone else already does).
    Type Release() { return std::exchange(value_, Traits::Empty()); }

  private:
    Type value_ = Traits::Empty();
};

template <typename T> struct NullIsEmpty {
    using Type = T;
    static Type Empty() { return nullptr; }
};

struct FileTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return CloseHandle(h) != 0; }
};
// Kernel objects other than files: a failed create gives null, not INVALID_HANDLE_VALUE.
struct KernelObjectTraits : NullIsEmpty<HANDLE> {
    static bool Close(Type h) { return CloseHandle(h) != 0; }
};
struct ModuleTraits : NullIsEmpty<HMODULE> {
    static bool Close(Type h) { return FreeLibrary(h) != 0; }
};
struct GdiTraits : NullIsEmpty<HGDIOBJ> {
    static bool Close(Type h) { return DeleteObject(h) != 0; }
};
struct WindowTraits : NullIsEmpty<HWND> {
    // The window may already be gone with its parent or by its own close.
    static bool Close(Type h) { return !IsWindow(h) || DestroyWindow(h) != 0; }
};
struct BstrTraits : NullIsEmpty<BSTR> {
    static bool Close(Type s) {
        SysFreeString(s);
        return true;
    }
};
// One reference of a COM interface.
template <typename T> struct ComTraits : NullIsEmpty<T*> {
    static bool Close(T* p) {
        p->Release();
        return true;
    }
};

using File = Owned<FileTraits>;
using KernelObject = Owned<KernelObjectTraits>;
using Module = Owned<ModuleTraits>;
using GdiObject = Owned<GdiTraits>;
using Window = Owned<WindowTraits>;
using Bstr = Owned<BstrTraits>;
template <typename T> using ComPtr = Owned<ComTraits<T>>;

class Guard {
  public:
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

  protected:
    Guard() = default;
    ~Guard() = default;
};

// A buffer that netapi32 handed out, freed through the library's own function (netapi32 is
// loaded at run time: Windows 9x has none).
class NetBuffer : Guard {
  public:
    using FreeFn = DWORD(WINAPI*)(LPVOID);
    explicit NetBuffer(FreeFn free) : free_(free) {}
    ~NetBuffer() {
        if (buffer_ != nullptr) free_(buffer_);
    }
    LPBYTE* Put() { return &buffer_; }
    LPBYTE get() const { return buffer_; }

  private:
    FreeFn free_;
    LPBYTE buffer_ = nullptr;
};

// A window's device context (the screen's for no window), released on destruction.
class WindowDc : Guard {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// A VARIANT cleared on destruction and before each refill.
class Variant : Guard {
  public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    VARIANT* Put() {
        VariantClear(&v_);
        return &v_;
    }
    VARIANT* get() { return &v_; }
    const VARIANT* operator->() const { return &v_; }

  private:
    VARIANT v_;
};

// COM for this thread, for as long as the object lives.
class ComApartment : Guard {
  public:
    ComApartment() : hr_(CoInitialize(nullptr)) {}
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    // A thread already in the other apartment kind can use COM all the same.
    HRESULT status() const { return hr_ == RPC_E_CHANGED_MODE ? S_OK : hr_; }

  private:
    HRESULT hr_;
};

} // namespace ww
