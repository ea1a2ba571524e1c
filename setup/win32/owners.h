#pragma once
// Owners of the Win32 resources wirewise holds: each gives its resource back once, on
// destruction, on every way out.
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
    explicit operator bool() const { return value_ != Traits::Empty(); }
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

struct FileTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static bool Close(Type h) { return CloseHandle(h) != 0; }
};
struct ModuleTraits {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static bool Close(Type h) { return FreeLibrary(h) != 0; }
};
struct GdiTraits {
    using Type = HGDIOBJ;
    static Type Empty() { return nullptr; }
    static bool Close(Type h) { return DeleteObject(h) != 0; }
};
struct WindowTraits {
    using Type = HWND;
    static Type Empty() { return nullptr; }
    // The window may already be gone with its parent or by its own close.
    static bool Close(Type h) { return !IsWindow(h) || DestroyWindow(h) != 0; }
};
struct BstrTraits {
    using Type = BSTR;
    static Type Empty() { return nullptr; }
    static bool Close(Type s) {
        SysFreeString(s);
        return true;
    }
};

using File = Owned<FileTraits>;
using Module = Owned<ModuleTraits>;
using GdiObject = Owned<GdiTraits>;
using Window = Owned<WindowTraits>;
using Bstr = Owned<BstrTraits>;

// A buffer that netapi32 handed out, freed through the library's own function (netapi32 is
// loaded at run time: Windows 9x has none).
class NetBuffer {
  public:
    using FreeFn = DWORD(WINAPI*)(LPVOID);
    explicit NetBuffer(FreeFn free) : free_(free) {}
    NetBuffer(const NetBuffer&) = delete;
    NetBuffer& operator=(const NetBuffer&) = delete;
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
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// One reference of a COM interface.
template <typename T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    // For out-parameters: releases what is held and hands out the slot.
    T** Put() {
        Reset();
        return &p_;
    }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

  private:
    T* p_ = nullptr;
};

// A VARIANT cleared on destruction and before each refill.
class Variant {
  public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
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
class ComApartment {
  public:
    ComApartment() : hr_(CoInitialize(nullptr)) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }
    // A thread already in the other apartment kind can use COM all the same.
    HRESULT status() const { return hr_ == RPC_E_CHANGED_MODE ? S_OK : hr_; }

  private:
    HRESULT hr_;
};

} // namespace ww
