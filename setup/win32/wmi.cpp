#include "win32/wmi.h"

#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <windows.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace ww {
namespace {

// Owns one reference of a COM interface.
template <class T> class ComPtr {
  public:
    ComPtr() = default;
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ~ComPtr() { Reset(); }
    T** put() {
        Reset();
        return &p_;
    }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    void Reset() {
        if (p_) p_->Release();
        p_ = nullptr;
    }

  private:
    T* p_ = nullptr;
};

std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n =
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    return wide;
}

std::string Utf8(const wchar_t* wide, size_t length) {
    if (length == 0) return {};
    const int n = WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), nullptr, 0,
                                      nullptr, nullptr);
    std::string utf8(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, static_cast<int>(length), utf8.data(), n, nullptr,
                        nullptr);
    return utf8;
}

class Bstr {
  public:
    explicit Bstr(const std::wstring& text)
        : b_(SysAllocStringLen(text.data(), static_cast<UINT>(text.size()))) {}
    Bstr(const Bstr&) = delete;
    Bstr& operator=(const Bstr&) = delete;
    Bstr(Bstr&& other) noexcept : b_(std::exchange(other.b_, nullptr)) {}
    Bstr& operator=(Bstr&&) = delete;
    ~Bstr() { SysFreeString(b_); }
    BSTR get() const { return b_; }
    // SysAllocStringLen yields null only when memory ran out.
    bool valid() const { return b_ != nullptr; }

  private:
    BSTR b_;
};

class Variant {
  public:
    Variant() { VariantInit(&v_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;
    ~Variant() { VariantClear(&v_); }
    VARIANT* put() {
        VariantClear(&v_);
        return &v_;
    }
    VARIANT* get() { return &v_; }

  private:
    VARIANT v_;
};

// COM for this thread, for as long as the connection lives.
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

constexpr HRESULT kOutOfMemory = E_OUTOFMEMORY;

// The WBEM status enumerators exceed a signed long; their bits are the HRESULT.
constexpr HRESULT Hr(WBEMSTATUS status) {
    return static_cast<HRESULT>(static_cast<unsigned long>(status));
}

class Win32WmiService final : public WmiService {
  public:
    HRESULT Connect(const std::string& nameSpace) {
        if (FAILED(com_.status())) return com_.status();
        HRESULT hr = CoCreateInstance(CLSID_WbemLocator, nullptr, CLSCTX_INPROC_SERVER,
                                      IID_IWbemLocator, reinterpret_cast<void**>(locator_.put()));
        if (FAILED(hr)) return hr;
        const Bstr path(Wide(nameSpace));
        if (!path.valid()) return kOutOfMemory;
        hr = locator_->ConnectServer(path.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                     services_.put());
        if (FAILED(hr)) return hr;
        // The provider acts for the user, as a script's default impersonation has it; a proxy
        // that cannot take the blanket (an in-process service) works as it is.
        CoSetProxyBlanket(services_.get(), RPC_C_AUTHN_WINNT, RPC_C_AUTHZ_NONE, nullptr,
                          RPC_C_AUTHN_LEVEL_CALL, RPC_C_IMP_LEVEL_IMPERSONATE, nullptr, EOAC_NONE);
        return S_OK;
    }

    HResult ExecQuery(const std::string& wql, const std::vector<std::string>& properties,
                      std::vector<WmiRow>* rows) override {
        rows->clear();
        paths_.clear();
        const Bstr language(L"WQL");
        const Bstr query(Wide(wql));
        if (!language.valid() || !query.valid()) return kOutOfMemory;
        ComPtr<IEnumWbemClassObject> instances;
        HRESULT hr = services_->ExecQuery(language.get(), query.get(),
                                          WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                          nullptr, instances.put());
        if (FAILED(hr)) return hr;
        for (;;) {
            ComPtr<IWbemClassObject> instance;
            ULONG returned = 0;
            hr = instances->Next(static_cast<long>(WBEM_INFINITE), 1, instance.put(), &returned);
            if (FAILED(hr)) return hr;
            if (returned == 0) break;
            WmiRow row;
            for (const std::string& property : properties) {
                Variant value;
                hr = instance->Get(Wide(property).c_str(), 0, value.put(), nullptr, nullptr);
                // A property that an older WMI's class lacks reads as null.
                if (hr == Hr(WBEM_E_NOT_FOUND)) {
                    row.push_back(std::nullopt);
                    continue;
                }
                if (FAILED(hr)) return hr;
                if (value.get()->vt == VT_BSTR)
                    row.push_back(value.get()->bstrVal ? Utf8(value.get()->bstrVal,
                                                              SysStringLen(value.get()->bstrVal))
                                                       : std::string());
                else
                    row.push_back(std::nullopt);
            }
            rows->push_back(std::move(row));
            Variant path;
            hr = instance->Get(L"__PATH", 0, path.put(), nullptr, nullptr);
            if (FAILED(hr)) return hr;
            paths_.emplace_back(
                path.get()->vt == VT_BSTR && path.get()->bstrVal
                    ? std::wstring(path.get()->bstrVal, SysStringLen(path.get()->bstrVal))
                    : std::wstring());
        }
        return S_OK;
    }

    HResult ExecMethod(size_t instance, const std::string& method, const std::vector<WmiArg>& args,
                       uint32_t* returnValue) override {
        *returnValue = 0;
        if (instance >= paths_.size()) return Hr(WBEM_E_INVALID_PARAMETER);
        const Bstr methodName(Wide(method));
        const Bstr className(L"Win32_NetworkAdapterConfiguration");
        if (!methodName.valid() || !className.valid()) return kOutOfMemory;

        // The in-parameters as a script would send them: an instance of the method's
        // signature holding only the arguments given.
        ComPtr<IWbemClassObject> cls;
        HRESULT hr = services_->GetObject(className.get(), 0, nullptr, cls.put(), nullptr);
        if (FAILED(hr)) return hr;
        ComPtr<IWbemClassObject> signature;
        hr = cls->GetMethod(methodName.get(), 0, signature.put(), nullptr);
        if (FAILED(hr)) return hr;
        ComPtr<IWbemClassObject> inParams;
        if (signature.get()) {
            hr = signature->SpawnInstance(0, inParams.put());
            if (FAILED(hr)) return hr;
            for (const WmiArg& arg : args) {
                const std::wstring text = Wide(arg.text);
                Variant value;
                value.get()->vt = VT_BSTR;
                value.get()->bstrVal =
                    SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
                if (!value.get()->bstrVal) return kOutOfMemory;
                hr = inParams->Put(Wide(arg.name).c_str(), 0, value.get(), 0);
                if (FAILED(hr)) return hr;
            }
        } else if (!args.empty()) {
            return Hr(WBEM_E_INVALID_METHOD_PARAMETERS);
        }

        ComPtr<IWbemClassObject> outParams;
        hr = services_->ExecMethod(paths_[instance].get(), methodName.get(), 0, nullptr,
                                   inParams.get(), outParams.put(), nullptr);
        if (FAILED(hr)) return hr;
        if (!outParams.get()) return Hr(WBEM_E_INVALID_METHOD);
        Variant result;
        hr = outParams->Get(L"ReturnValue", 0, result.put(), nullptr, nullptr);
        if (FAILED(hr)) return hr;
        Variant asNumber;
        // WMI hands a uint32 over as VT_I4.
        hr = VariantChangeType(asNumber.get(), result.get(), 0, VT_I4);
        if (FAILED(hr)) return hr;
        *returnValue = static_cast<uint32_t>(asNumber.get()->lVal);
        return S_OK;
    }

  private:
    // Declared first so that COM outlives every pointer below.
    ComApartment com_;
    ComPtr<IWbemLocator> locator_;
    ComPtr<IWbemServices> services_;
    std::vector<Bstr> paths_;
};

} // namespace

HResult Win32Wmi::ConnectServer(const std::string& nameSpace,
                                std::unique_ptr<WmiService>* service) {
    auto connection = std::make_unique<Win32WmiService>();
    const HRESULT hr = connection->Connect(nameSpace);
    if (SUCCEEDED(hr)) *service = std::move(connection);
    return hr;
}

} // namespace ww
