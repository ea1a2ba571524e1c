#pragma once
// Owners of the Win32 resources the program holds, each releasing its resource once.
//
// A handle or COM pointer is an Owned<Traits>: movable, emptied by the move. What a scope borrows
// or starts and must give back there (a window's DC, an object selected into a DC, the DC's saved
// settings, OLE on the thread, a VARIANT) is a Guard, which neither copies nor moves.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <cstring>
#include <string_view>
#include <utility>

namespace gk::win32 {

template <typename Traits> class Owned {
  public:
    using Type = typename Traits::Type;
    Owned() = default;
    explicit Owned(Type value) : value_(value) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : value_(other.Detach()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other) {
            Close();
            value_ = other.Detach();
        }
        return *this;
    }
    ~Owned() { Close(); }
    Type get() const { return value_; }
    Type operator->() const { return value_; } // a COM pointer's methods
    explicit operator bool() const { return value_ != Traits::Empty(); }
    // For out-parameters: closes what is held and hands out the slot.
    Type* Put() {
        Close();
        return &value_;
    }
    // Hands the resource over to another owner.
    Type Detach() { return std::exchange(value_, Traits::Empty()); }
    void Close() {
        if (value_ != Traits::Empty()) Traits::Close(value_);
        value_ = Traits::Empty();
    }

  private:
    Type value_ = Traits::Empty();
};

template <typename T> struct NullIsEmpty {
    using Type = T;
    static Type Empty() { return nullptr; }
};
struct InvalidIsEmpty {
    using Type = HANDLE;
    static Type Empty() { return INVALID_HANDLE_VALUE; }
};

struct ModuleTraits : NullIsEmpty<HMODULE> {
    static void Close(Type h) { FreeLibrary(h); }
};
struct GdiTraits : NullIsEmpty<HGDIOBJ> {
    static void Close(Type h) { DeleteObject(h); }
};
struct DcTraits : NullIsEmpty<HDC> {
    static void Close(Type h) { DeleteDC(h); }
};
struct FindTraits : InvalidIsEmpty {
    static void Close(Type h) { FindClose(h); }
};
struct FileTraits : InvalidIsEmpty {
    static void Close(Type h) { CloseHandle(h); }
};
struct WindowTraits : NullIsEmpty<HWND> {
    // A child may already be gone with its parent.
    static void Close(Type h) {
        if (IsWindow(h)) DestroyWindow(h);
    }
};
struct BstrTraits : NullIsEmpty<BSTR> {
    static void Close(Type s) { SysFreeString(s); }
};
template <typename T> struct ComTraits : NullIsEmpty<T*> {
    static void Close(T* p) { p->Release(); }
};

using Module = Owned<ModuleTraits>;
using GdiObject = Owned<GdiTraits>;
using MemoryDc = Owned<DcTraits>;
using FindHandle = Owned<FindTraits>;
using File = Owned<FileTraits>;
using Window = Owned<WindowTraits>;
using Bstr = Owned<BstrTraits>;
template <typename T> using ComPtr = Owned<ComTraits<T>>;

// A BSTR copy of `text`; empty when the system has no memory for it.
inline Bstr MakeBstr(std::wstring_view text) {
    return Bstr(SysAllocStringLen(text.data(), static_cast<UINT>(text.size())));
}

class Guard {
  public:
    Guard(const Guard&) = delete;
    Guard& operator=(const Guard&) = delete;

  protected:
    Guard() = default;
    ~Guard() = default;
};

// A window's DC (the screen's for no window).
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

// One WM_PAINT's DC, from BeginPaint to EndPaint.
class PaintDc : Guard {
  public:
    explicit PaintDc(HWND window) : window_(window), dc_(BeginPaint(window, &ps_)) {}
    ~PaintDc() { EndPaint(window_, &ps_); }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    PAINTSTRUCT ps_{};
    HDC dc_;
};

// An object selected into a DC; the one it replaced comes back.
class Selection : Guard {
  public:
    Selection(HDC dc, HGDIOBJ object)
        : dc_(dc), previous_(object != nullptr ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (previous_ != nullptr && previous_ != HGDI_ERROR) SelectObject(dc_, previous_);
    }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// The DC's settings (font, text colour, background mode), restored as they were.
class SavedDcState : Guard {
  public:
    explicit SavedDcState(HDC dc) : dc_(dc), saved_(SaveDC(dc)) {}
    ~SavedDcState() {
        if (saved_ != 0) RestoreDC(dc_, saved_);
    }

  private:
    HDC dc_;
    int saved_;
};

// OLE on this thread (the embedded browser needs it).
class OleSession : Guard {
  public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_) OleUninitialize();
    }

  private:
    bool ok_;
};

// A VARIANT, cleared with what it holds.
class Variant : Guard {
  public:
    Variant() { VariantInit(&v_); }
    ~Variant() { VariantClear(&v_); }
    VARIANT* get() { return &v_; }
    void SetLong(LONG value) {
        VariantClear(&v_);
        v_.vt = VT_I4;
        v_.lVal = value;
    }
    // Takes the text over; an empty one leaves the variant empty.
    void SetText(Bstr text) {
        VariantClear(&v_);
        if (!text) return;
        v_.vt = VT_BSTR;
        v_.bstrVal = text.Detach();
    }

  private:
    VARIANT v_;
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
