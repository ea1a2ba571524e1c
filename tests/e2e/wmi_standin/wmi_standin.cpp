// A stand-in for the local WMI service, for the end-to-end cases: Wine's own class has no
// methods, so no NT run could finish. A case registers this server for CLSID_WbemLocator in its
// prefix; it serves root\cimv2 and Win32_NetworkAdapterConfiguration from the seed file beside
// it, answers the five methods as the seed scripts them, appends every call to wmi-calls.txt and
// changes the registry as Windows does.
//
// Seed lines (tab-separated):
//   instance <Index> <SettingID> <IPEnabled 0|1> <Description>
//   answer   <SettingID> <Method> <ReturnValue>...   (one per call in turn; 0 once used up)
#include <objbase.h>
#include <oleauto.h>
#include <wbemidl.h>
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <deque>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace {

HMODULE g_module = nullptr;
LONG g_objects = 0;

std::wstring Folder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(g_module, path, MAX_PATH);
    std::wstring p(path, n);
    return p.substr(0, p.find_last_of(L'\\') + 1);
}

std::wstring Widen(const std::string& s) {
    return std::wstring(s.begin(), s.end());
}

std::string Narrow(const std::wstring& s) {
    std::string out;
    for (const wchar_t c : s)
        out += c < 0x80 ? static_cast<char>(c) : '?';
    return out;
}

bool SameText(const std::wstring& a, const std::wstring& b) {
    return _wcsicmp(a.c_str(), b.c_str()) == 0;
}

struct Adapter {
    long index = 0;
    std::wstring settingId;
    bool ipEnabled = true;
    std::wstring description;
};

struct Seed {
    std::vector<Adapter> adapters;
    std::map<std::pair<std::wstring, std::wstring>, std::deque<unsigned long>> answers;
};

Seed& TheSeed() {
    static Seed seed = [] {
        Seed s;
        FILE* f = _wfopen((Folder() + L"wmi-seed.txt").c_str(), L"rb");
        if (!f) return s;
        char line[1024];
        while (std::fgets(line, sizeof line, f)) {
            std::vector<std::string> fields;
            std::string field;
            for (const char* p = line; *p && *p != '\r' && *p != '\n'; ++p) {
                if (*p == '\t') {
                    fields.push_back(field);
                    field.clear();
                } else {
                    field += *p;
                }
            }
            fields.push_back(field);
            if (fields[0] == "instance" && fields.size() >= 5) {
                s.adapters.push_back(
                    {std::stol(fields[1]), Widen(fields[2]), fields[3] == "1", Widen(fields[4])});
            } else if (fields[0] == "answer" && fields.size() >= 4) {
                auto& queue = s.answers[{Widen(fields[1]), Widen(fields[2])}];
                for (size_t i = 3; i < fields.size(); ++i)
                    queue.push_back(std::stoul(fields[i]));
            }
        }
        std::fclose(f);
        return s;
    }();
    return seed;
}

void Record(const std::string& line) {
    FILE* f = _wfopen((Folder() + L"wmi-calls.txt").c_str(), L"ab");
    if (!f) return;
    std::fprintf(f, "%s\r\n", line.c_str());
    std::fclose(f);
}

std::wstring PathOf(const Adapter& a) {
    return L"\\\\WINEPC\\root\\cimv2:Win32_NetworkAdapterConfiguration.Index=" +
           std::to_wstring(a.index);
}

// NT 4 keeps the adapter's addressing in its own Tcpip key and one list of name servers and one
// DNS domain for the whole PC; later systems keep them in the adapter's interface key.
bool Nt4() {
    OSVERSIONINFOW vi{};
    vi.dwOSVersionInfoSize = sizeof vi;
    return GetVersionExW(&vi) && vi.dwPlatformId == VER_PLATFORM_WIN32_NT && vi.dwMajorVersion == 4;
}

void SetValue(const std::wstring& key, const wchar_t* name, DWORD type, const void* data,
              size_t bytes) {
    HKEY k = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key.c_str(), 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k,
                        nullptr) != ERROR_SUCCESS)
        return;
    RegSetValueExW(k, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(bytes));
    RegCloseKey(k);
}

// The registry as Windows leaves it after a method that succeeded.
void ChangeRegistry(const Adapter& a, const std::wstring& method) {
    const std::wstring services = L"SYSTEM\\CurrentControlSet\\Services\\";
    const std::wstring interfaceKey = services + L"Tcpip\\Parameters\\Interfaces\\" + a.settingId;
    const std::wstring addressing =
        Nt4() ? services + a.settingId + L"\\Parameters\\Tcpip" : interfaceKey;
    const std::wstring dns = Nt4() ? services + L"Tcpip\\Parameters" : interfaceKey;
    static const wchar_t kNone[] = L"0.0.0.0\0";
    static const wchar_t kEmpty[] = L"";
    if (method == L"EnableDHCP") {
        const DWORD one = 1;
        SetValue(addressing, L"EnableDHCP", REG_DWORD, &one, sizeof one);
        SetValue(addressing, L"IPAddress", REG_MULTI_SZ, kNone, sizeof kNone);
        SetValue(addressing, L"SubnetMask", REG_MULTI_SZ, kNone, sizeof kNone);
    } else if (method == L"SetDNSServerSearchOrder") {
        SetValue(dns, L"NameServer", REG_SZ, kEmpty, sizeof kEmpty);
    } else if (method == L"SetDNSDomain") {
        SetValue(dns, L"Domain", REG_SZ, kEmpty, sizeof kEmpty);
    }
}

template <class Interface> class Unknown : public Interface {
  public:
    Unknown() { InterlockedIncrement(&g_objects); }
    virtual ~Unknown() { InterlockedDecrement(&g_objects); }
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** out) override {
        if (riid == IID_IUnknown || riid == __uuidof(Interface)) {
            *out = static_cast<Interface*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return InterlockedIncrement(&refs_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG n = InterlockedDecrement(&refs_);
        if (n == 0) delete this;
        return n;
    }

  private:
    LONG refs_ = 1;
};

constexpr HRESULT kNotSupported = static_cast<HRESULT>(WBEM_E_NOT_SUPPORTED);
constexpr HRESULT kNotFound = static_cast<HRESULT>(WBEM_E_NOT_FOUND);

// A class, an instance, a method's in-parameter signature or a parameter set: named values.
class Object final : public Unknown<IWbemClassObject> {
  public:
    enum class Kind { Class, Instance, Signature, Params };
    explicit Object(Kind kind) : kind_(kind) {}
    ~Object() override {
        for (auto& p : props_)
            VariantClear(&p.second);
    }

    void Set(const std::wstring& name, const VARIANT& value) {
        for (auto& p : props_)
            if (SameText(p.first, name)) {
                VariantClear(&p.second);
                VariantCopy(&p.second, const_cast<VARIANT*>(&value));
                return;
            }
        props_.emplace_back(name, VARIANT{});
        VariantInit(&props_.back().second);
        VariantCopy(&props_.back().second, const_cast<VARIANT*>(&value));
    }
    void SetText(const std::wstring& name, const std::wstring& text) {
        VARIANT v;
        v.vt = VT_BSTR;
        v.bstrVal = SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
        Set(name, v);
        VariantClear(&v);
    }
    void SetNumber(const std::wstring& name, long n, VARTYPE vt = VT_I4) {
        VARIANT v;
        VariantInit(&v);
        v.vt = vt;
        if (vt == VT_BOOL)
            v.boolVal = n ? VARIANT_TRUE : VARIANT_FALSE;
        else
            v.lVal = n;
        Set(name, v);
    }
    void SetNull(const std::wstring& name) {
        VARIANT v;
        VariantInit(&v);
        v.vt = VT_NULL;
        Set(name, v);
    }
    const std::vector<std::pair<std::wstring, VARIANT>>& Props() const { return props_; }

    HRESULT STDMETHODCALLTYPE Get(LPCWSTR name, LONG, VARIANT* value, CIMTYPE* type,
                                  LONG* flavor) override {
        if (type) *type = CIM_STRING;
        if (flavor) *flavor = 0;
        for (auto& p : props_)
            if (SameText(p.first, name)) {
                if (value) {
                    VariantInit(value);
                    return VariantCopy(value, &p.second);
                }
                return S_OK;
            }
        return kNotFound;
    }
    HRESULT STDMETHODCALLTYPE Put(LPCWSTR name, LONG, VARIANT* value, CIMTYPE) override {
        if (kind_ == Kind::Class || kind_ == Kind::Signature) return kNotSupported;
        // Parameters take only the names their method declares.
        if (kind_ == Kind::Params) {
            bool known = false;
            for (auto& p : props_)
                known = known || SameText(p.first, name);
            if (!known) return kNotFound;
        }
        if (value)
            Set(name, *value);
        else
            SetNull(name);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetMethod(LPCWSTR name, LONG, IWbemClassObject** in,
                                        IWbemClassObject** out) override;
    HRESULT STDMETHODCALLTYPE SpawnInstance(LONG, IWbemClassObject** made) override {
        if (kind_ != Kind::Signature) return kNotSupported;
        auto* params = new Object(Kind::Params);
        for (auto& p : props_)
            params->SetNull(p.first);
        *made = params;
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE GetQualifierSet(IWbemQualifierSet**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE Delete(LPCWSTR) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE GetNames(LPCWSTR, LONG, VARIANT*, SAFEARRAY**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE BeginEnumeration(LONG) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE Next(LONG, BSTR*, VARIANT*, CIMTYPE*, LONG*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE EndEnumeration() override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE GetPropertyQualifierSet(LPCWSTR, IWbemQualifierSet**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE Clone(IWbemClassObject**) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE GetObjectText(LONG, BSTR*) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE SpawnDerivedClass(LONG, IWbemClassObject**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE CompareTo(LONG, IWbemClassObject*) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE GetPropertyOrigin(LPCWSTR, BSTR*) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE InheritsFrom(LPCWSTR) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE PutMethod(LPCWSTR, LONG, IWbemClassObject*,
                                        IWbemClassObject*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE DeleteMethod(LPCWSTR) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE BeginMethodEnumeration(LONG) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE NextMethod(LONG, BSTR*, IWbemClassObject**,
                                         IWbemClassObject**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE EndMethodEnumeration() override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE GetMethodQualifierSet(LPCWSTR, IWbemQualifierSet**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE GetMethodOrigin(LPCWSTR, BSTR*) override { return kNotSupported; }

  private:
    Kind kind_;
    std::vector<std::pair<std::wstring, VARIANT>> props_;
};

// The five methods and the in-parameters each declares.
struct MethodInfo {
    const wchar_t* name;
    const wchar_t* parameter; // null: none
};
constexpr MethodInfo kMethods[] = {
    {L"EnableDHCP", nullptr},        {L"SetDNSServerSearchOrder", L"DNSServerSearchOrder"},
    {L"SetDNSDomain", L"DNSDomain"}, {L"ReleaseDHCPLease", nullptr},
    {L"RenewDHCPLease", nullptr},
};

const MethodInfo* FindMethod(const std::wstring& name) {
    for (const MethodInfo& m : kMethods)
        if (name == m.name) return &m;
    return nullptr;
}

HRESULT Object::GetMethod(LPCWSTR name, LONG, IWbemClassObject** in, IWbemClassObject** out) {
    if (kind_ != Kind::Class) return kNotSupported;
    const MethodInfo* m = FindMethod(name);
    if (!m) return kNotFound;
    if (out) *out = nullptr;
    if (in) {
        *in = nullptr;
        if (m->parameter) {
            auto* signature = new Object(Kind::Signature);
            signature->SetNull(m->parameter);
            *in = signature;
        }
    }
    return S_OK;
}

Object* InstanceOf(const Adapter& a) {
    auto* o = new Object(Object::Kind::Instance);
    o->SetText(L"Description", a.description);
    o->SetText(L"SettingID", a.settingId);
    o->SetNumber(L"Index", a.index);
    o->SetNumber(L"IPEnabled", a.ipEnabled ? 1 : 0, VT_BOOL);
    o->SetText(L"__PATH", PathOf(a));
    return o;
}

class Enum final : public Unknown<IEnumWbemClassObject> {
  public:
    explicit Enum(std::vector<Object*> objects) : objects_(std::move(objects)) {}
    ~Enum() override {
        for (Object* o : objects_)
            o->Release();
    }
    HRESULT STDMETHODCALLTYPE Reset() override {
        next_ = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE Next(LONG, ULONG count, IWbemClassObject** out,
                                   ULONG* returned) override {
        ULONG n = 0;
        while (n < count && next_ < objects_.size()) {
            objects_[next_]->AddRef();
            out[n++] = objects_[next_++];
        }
        *returned = n;
        return n == count ? S_OK : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE NextAsync(ULONG, IWbemObjectSink*) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE Clone(IEnumWbemClassObject**) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE Skip(LONG, ULONG) override { return kNotSupported; }

  private:
    std::vector<Object*> objects_;
    size_t next_ = 0;
};

std::string TextOfVariant(const VARIANT& v) {
    if (v.vt == VT_NULL || v.vt == VT_EMPTY) return "null";
    if (v.vt == VT_BSTR) return "\"" + Narrow(v.bstrVal ? v.bstrVal : L"") + "\"";
    VARIANT text;
    VariantInit(&text);
    std::string out = "?";
    if (SUCCEEDED(VariantChangeType(&text, const_cast<VARIANT*>(&v), 0, VT_BSTR)))
        out = Narrow(text.bstrVal ? text.bstrVal : L"");
    VariantClear(&text);
    return out;
}

class Services final : public Unknown<IWbemServices> {
  public:
    HRESULT STDMETHODCALLTYPE ExecQuery(const BSTR language, const BSTR query, LONG, IWbemContext*,
                                        IEnumWbemClassObject** out) override {
        Record("ExecQuery " + Narrow(language ? language : L"") + " " +
               Narrow(query ? query : L""));
        if (!query || !SameText(query, L"Select * From Win32_NetworkAdapterConfiguration"))
            return static_cast<HRESULT>(WBEM_E_INVALID_QUERY);
        std::vector<Object*> objects;
        for (const Adapter& a : TheSeed().adapters)
            objects.push_back(InstanceOf(a));
        *out = new Enum(std::move(objects));
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetObject(const BSTR path, LONG, IWbemContext*,
                                        IWbemClassObject** out, IWbemCallResult**) override {
        if (!path || !SameText(path, L"Win32_NetworkAdapterConfiguration")) return kNotFound;
        *out = new Object(Object::Kind::Class);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE ExecMethod(const BSTR path, const BSTR method, LONG, IWbemContext*,
                                         IWbemClassObject* in, IWbemClassObject** out,
                                         IWbemCallResult**) override {
        const std::wstring name = method ? method : L"";
        const Adapter* adapter = nullptr;
        for (const Adapter& a : TheSeed().adapters)
            if (path && SameText(PathOf(a), path)) adapter = &a;
        std::string line = Narrow(name) + " " + (adapter ? Narrow(adapter->settingId) : "?");
        if (in) {
            for (const auto& p : static_cast<Object*>(in)->Props())
                line += " " + Narrow(p.first) + "=" + TextOfVariant(p.second);
        }
        if (!adapter) {
            Record(line + " -> no such instance");
            return kNotFound;
        }
        if (!FindMethod(name)) {
            Record(line + " -> no such method");
            return static_cast<HRESULT>(WBEM_E_INVALID_METHOD);
        }
        auto& queue = TheSeed().answers[{adapter->settingId, name}];
        unsigned long result = 0;
        if (!queue.empty()) {
            result = queue.front();
            queue.pop_front();
        }
        Record(line + " -> " + std::to_string(result));
        if (result == 0 || result == 1) ChangeRegistry(*adapter, name);
        auto* params = new Object(Object::Kind::Params);
        params->SetNumber(L"ReturnValue", static_cast<long>(result));
        if (out)
            *out = params;
        else
            params->Release();
        return S_OK;
    }

    HRESULT STDMETHODCALLTYPE OpenNamespace(const BSTR, LONG, IWbemContext*, IWbemServices**,
                                            IWbemCallResult**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE CancelAsyncCall(IWbemObjectSink*) override { return kNotSupported; }
    HRESULT STDMETHODCALLTYPE QueryObjectSink(LONG, IWbemObjectSink**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE GetObjectAsync(const BSTR, LONG, IWbemContext*,
                                             IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE PutClass(IWbemClassObject*, LONG, IWbemContext*,
                                       IWbemCallResult**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE PutClassAsync(IWbemClassObject*, LONG, IWbemContext*,
                                            IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE DeleteClass(const BSTR, LONG, IWbemContext*,
                                          IWbemCallResult**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE DeleteClassAsync(const BSTR, LONG, IWbemContext*,
                                               IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE CreateClassEnum(const BSTR, LONG, IWbemContext*,
                                              IEnumWbemClassObject**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE CreateClassEnumAsync(const BSTR, LONG, IWbemContext*,
                                                   IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE PutInstance(IWbemClassObject*, LONG, IWbemContext*,
                                          IWbemCallResult**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE PutInstanceAsync(IWbemClassObject*, LONG, IWbemContext*,
                                               IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE DeleteInstance(const BSTR, LONG, IWbemContext*,
                                             IWbemCallResult**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE DeleteInstanceAsync(const BSTR, LONG, IWbemContext*,
                                                  IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE CreateInstanceEnum(const BSTR, LONG, IWbemContext*,
                                                 IEnumWbemClassObject**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE CreateInstanceEnumAsync(const BSTR, LONG, IWbemContext*,
                                                      IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE ExecQueryAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                             IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE ExecNotificationQuery(const BSTR, const BSTR, LONG, IWbemContext*,
                                                    IEnumWbemClassObject**) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE ExecNotificationQueryAsync(const BSTR, const BSTR, LONG,
                                                         IWbemContext*, IWbemObjectSink*) override {
        return kNotSupported;
    }
    HRESULT STDMETHODCALLTYPE ExecMethodAsync(const BSTR, const BSTR, LONG, IWbemContext*,
                                              IWbemClassObject*, IWbemObjectSink*) override {
        return kNotSupported;
    }
};

class Locator final : public Unknown<IWbemLocator> {
  public:
    HRESULT STDMETHODCALLTYPE ConnectServer(const BSTR resource, const BSTR, const BSTR, const BSTR,
                                            LONG, const BSTR, IWbemContext*,
                                            IWbemServices** out) override {
        const std::wstring ns = resource ? resource : L"";
        Record("ConnectServer " + Narrow(ns));
        const std::wstring tail = L"root\\cimv2";
        if (ns.size() < tail.size() || !SameText(ns.substr(ns.size() - tail.size()), tail))
            return static_cast<HRESULT>(WBEM_E_INVALID_NAMESPACE);
        *out = new Services();
        return S_OK;
    }
};

class Factory final : public Unknown<IClassFactory> {
  public:
    HRESULT STDMETHODCALLTYPE CreateInstance(IUnknown* outer, REFIID riid, void** out) override {
        *out = nullptr;
        if (outer) return CLASS_E_NOAGGREGATION;
        auto* locator = new Locator();
        const HRESULT hr = locator->QueryInterface(riid, out);
        locator->Release();
        return hr;
    }
    HRESULT STDMETHODCALLTYPE LockServer(BOOL) override { return S_OK; }
};

} // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_module = instance;
    return TRUE;
}

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** out) {
    *out = nullptr;
    if (clsid != CLSID_WbemLocator) return CLASS_E_CLASSNOTAVAILABLE;
    auto* factory = new Factory();
    const HRESULT hr = factory->QueryInterface(riid, out);
    factory->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() {
    return g_objects == 0 ? S_OK : S_FALSE;
}
