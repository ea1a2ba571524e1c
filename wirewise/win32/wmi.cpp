#include "win32/wmi.h"

#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/win32/codepage.h"
#include "common/win32/owners.h"

namespace ww {
namespace {

// A VT_BSTR as program text; anything else is no text.
std::optional<std::string> TextOf(const corvane::Variant& value) {
    if (value->vt != VT_BSTR) return std::nullopt;
    if (!value->bstrVal) return std::string();
    return corvane::FromUtf16(std::wstring_view(value->bstrVal, SysStringLen(value->bstrVal)));
}

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
                                      IID_IWbemLocator, reinterpret_cast<void**>(locator_.Put()));
        if (FAILED(hr)) return hr;
        const corvane::Bstr path = corvane::MakeBstr(corvane::ToUtf16(nameSpace));
        if (!path) return kOutOfMemory;
        hr = locator_->ConnectServer(path.get(), nullptr, nullptr, nullptr, 0, nullptr, nullptr,
                                     services_.Put());
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
        const corvane::Bstr language = corvane::MakeBstr(L"WQL");
        const corvane::Bstr query = corvane::MakeBstr(corvane::ToUtf16(wql));
        if (!language || !query) return kOutOfMemory;
        corvane::ComPtr<IEnumWbemClassObject> instances;
        HRESULT hr = services_->ExecQuery(language.get(), query.get(),
                                          WBEM_FLAG_FORWARD_ONLY | WBEM_FLAG_RETURN_IMMEDIATELY,
                                          nullptr, instances.Put());
        if (FAILED(hr)) return hr;
        for (;;) {
            corvane::ComPtr<IWbemClassObject> instance;
            ULONG returned = 0;
            hr = instances->Next(static_cast<long>(WBEM_INFINITE), 1, instance.Put(), &returned);
            if (FAILED(hr)) return hr;
            if (returned == 0) break;
            WmiRow row;
            for (const std::string& property : properties) {
                corvane::Variant value;
                hr = instance->Get(corvane::ToUtf16(property).c_str(), 0, value.Put(), nullptr,
                                   nullptr);
                // A property that an older WMI's class lacks reads as null.
                if (hr == Hr(WBEM_E_NOT_FOUND)) {
                    row.push_back(std::nullopt);
                    continue;
                }
                if (FAILED(hr)) return hr;
                row.push_back(TextOf(value));
            }
            rows->push_back(std::move(row));
            corvane::Variant path;
            hr = instance->Get(L"__PATH", 0, path.Put(), nullptr, nullptr);
            if (FAILED(hr)) return hr;
            paths_.push_back(path->vt == VT_BSTR && path->bstrVal
                                 ? corvane::MakeBstr({path->bstrVal, SysStringLen(path->bstrVal)})
                                 : corvane::MakeBstr(L""));
        }
        return S_OK;
    }

    HResult ExecMethod(size_t instance, const std::string& method, const std::vector<WmiArg>& args,
                       uint32_t* returnValue) override {
        *returnValue = 0;
        if (instance >= paths_.size()) return Hr(WBEM_E_INVALID_PARAMETER);
        const corvane::Bstr methodName = corvane::MakeBstr(corvane::ToUtf16(method));
        const corvane::Bstr className = corvane::MakeBstr(L"Win32_NetworkAdapterConfiguration");
        if (!methodName || !className) return kOutOfMemory;

        // The in-parameters as a script would send them: an instance of the method's
        // signature holding only the arguments given.
        corvane::ComPtr<IWbemClassObject> cls;
        HRESULT hr = services_->GetObject(className.get(), 0, nullptr, cls.Put(), nullptr);
        if (FAILED(hr)) return hr;
        corvane::ComPtr<IWbemClassObject> signature;
        hr = cls->GetMethod(methodName.get(), 0, signature.Put(), nullptr);
        if (FAILED(hr)) return hr;
        corvane::ComPtr<IWbemClassObject> inParams;
        if (signature.get()) {
            hr = signature->SpawnInstance(0, inParams.Put());
            if (FAILED(hr)) return hr;
            for (const WmiArg& arg : args) {
                corvane::Variant value;
                value.get()->vt = VT_BSTR;
                value.get()->bstrVal = corvane::MakeBstr(corvane::ToUtf16(arg.text)).Detach();
                if (!value->bstrVal) return kOutOfMemory;
                hr = inParams->Put(corvane::ToUtf16(arg.name).c_str(), 0, value.get(), 0);
                if (FAILED(hr)) return hr;
            }
        } else if (!args.empty()) {
            return Hr(WBEM_E_INVALID_METHOD_PARAMETERS);
        }

        corvane::ComPtr<IWbemClassObject> outParams;
        hr = services_->ExecMethod(paths_[instance].get(), methodName.get(), 0, nullptr,
                                   inParams.get(), outParams.Put(), nullptr);
        if (FAILED(hr)) return hr;
        if (!outParams.get()) return Hr(WBEM_E_INVALID_METHOD);
        corvane::Variant result;
        hr = outParams->Get(L"ReturnValue", 0, result.Put(), nullptr, nullptr);
        if (FAILED(hr)) return hr;
        corvane::Variant asNumber;
        // WMI hands a uint32 over as VT_I4.
        hr = VariantChangeType(asNumber.get(), result.get(), 0, VT_I4);
        if (FAILED(hr)) return hr;
        *returnValue = static_cast<uint32_t>(asNumber.get()->lVal);
        return S_OK;
    }

  private:
    // Declared first so that COM outlives every pointer below.
    corvane::ComApartment com_;
    corvane::ComPtr<IWbemLocator> locator_;
    corvane::ComPtr<IWbemServices> services_;
    std::vector<corvane::Bstr> paths_; // of the rows of the last query
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
