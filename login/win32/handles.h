#pragma once
// Owners of the Win32 resources the program holds: each closes its resource once, on destruction.
#include <windows.h>
#include <oleauto.h>

#include <cstring>
#include <utility>

namespace gk::win32 {

template <typename Traits> class Owned {
  public:
    using Type = typename Traits::Type;
    Owned() = default;
    explicit Owned(Type value) : value_(value) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : value_(std::exchange(other.value_, Traits::Empty())) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Close();
            value_ = std::exchange(other.value_, Traits::Empty());
        }
        return *this;
    }
    ~Owned() { Close(); }
    Type get() const { return value_; }
    explicit operator bool() const { return value_ != Traits::Empty(); }
    void Close() {
        if (value_ != Traits::Empty()) Traits::Close(value_);
        value_ = Traits::Empty();
    }

  private:
    Type value_ = Traits::Empty();
};

struct ModuleTraits {
    using Type = HMODULE;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { FreeLibrary(h); }
};
struct GdiTraits {
    using Type = HGDIOBJ;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};
struct DcTraits {
    using Type = HDC;
    static Type Empty() { return nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};
struct FindTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};
struct FileTraits {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};
struct WindowTraits {
    using Type = HWND;
    static Type Empty() { return nullptr; }
    // A child may already be gone with its parent.
    static void Close(Type h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
struct BstrTraits {
    using Type = BSTR;
    static Type Empty() { return nullptr; }
    static void Close(Type s) { SysFreeString(s); }
};

using Module = Owned<ModuleTraits>;
using GdiObject = Owned<GdiTraits>;
using MemoryDc = Owned<DcTraits>;
using FindHandle = Owned<FindTraits>;
using File = Owned<FileTraits>;
using Window = Owned<WindowTraits>;
using Bstr = Owned<BstrTraits>;

// A COM interface pointer released on destruction.
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

// A window's DC (the screen's for no window), released on destruction.
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

// One WM_PAINT's DC, from BeginPaint to EndPaint.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &ps_); }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// Selects an object into a DC for the lifetime of the guard.
class Selection {
  public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A function exported by a loaded module, as its real type; null when it is not there.
template <typename Fn> Fn ProcAddress(HMODULE module, const char* name) {
    const FARPROC proc = module ? GetProcAddress(module, name) : nullptr;
    Fn fn = nullptr;
    static_assert(sizeof fn == sizeof proc);
    std::memcpy(&fn, &proc, sizeof fn);
    return fn;
}

} // namespace gk::win32
