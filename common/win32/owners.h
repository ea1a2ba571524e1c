#pragma once
// Owners of the Win32 resources the programs hold: each gives its resource back once, on
// destruction, on every way out.
//
// A handle or COM pointer is an Owned<Traits>: movable, emptied by the move. What a scope borrows
// or starts and must give back there (a window's DC, an object selected into a DC, the DC's saved
// settings, COM or OLE on the thread, a VARIANT, a buffer of a library loaded at run time) is a
// Guard, which neither copies nor moves.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <string_view>
#include <utility>

namespace corvane {

// A movable owner of one value that Traits knows how to give back.
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
    // Hands the value over without giving it back: someone else does now. (Not Release, which a
    // COM pointer's -> reaches.)
    Type Detach() { return std::exchange(value_, Traits::Empty()); }

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

struct FileTraits : InvalidIsEmpty {
    static bool Close(Type h) { return CloseHandle(h) != 0; }
};
// Kernel objects other than files: a failed create gives null, not INVALID_HANDLE_VALUE.
struct KernelObjectTraits : NullIsEmpty<HANDLE> {
    static bool Close(Type h) { return CloseHandle(h) != 0; }
};
struct FindTraits : InvalidIsEmpty {
    static bool Close(Type h) { return FindClose(h) != 0; }
};
struct KeyTraits : NullIsEmpty<HKEY> {
    static bool Close(Type k) { return RegCloseKey(k) == ERROR_SUCCESS; }
};
struct ModuleTraits : NullIsEmpty<HMODULE> {
    static bool Close(Type h) { return FreeLibrary(h) != 0; }
};
struct GdiTraits : NullIsEmpty<HGDIOBJ> {
    static bool Close(Type h) { return DeleteObject(h) != 0; }
};
struct DcTraits : NullIsEmpty<HDC> {
    static bool Close(Type h) { return DeleteDC(h) != 0; }
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
using FindHandle = Owned<FindTraits>;
using Module = Owned<ModuleTraits>;
using GdiObject = Owned<GdiTraits>;
using MemoryDc = Owned<DcTraits>;
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

// A VARIANT cleared with what it holds, on destruction and before each refill.
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

// OLE on this thread (an embedded browser needs it), for as long as the object lives.
class OleSession : Guard {
  public:
    OleSession() : ok_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (ok_) OleUninitialize();
    }

  private:
    bool ok_;
};

} // namespace corvane
