#include "adapters/ip_helper.h"

#include <array>

#include "platform/log.h"
#include "seams/files.h"
#include "seams/iphelper.h"
#include "seams/ui.h"

namespace ww {
namespace {

// Library file per function: Windows 2000, Windows XP, every other family.
struct Binding {
    IpFunction function;
    const char* name;
    const char* win2k;
    const char* winXp;
    const char* other;
};

constexpr std::array<Binding, 5> kBindings = {{
    {IpFunction::GetAdaptersInfo, "GetAdaptersInfo", "iphlpapi_2k", "iphlpapi_xp", "iphlpapi_9x"},
    {IpFunction::GetNetworkParams, "GetNetworkParams", "iphlpapi_2k", "iphlpapi_xp", "iphlpapi_9x"},
    {IpFunction::GetInterfaceInfo, "GetInterfaceInfo", "iphlpapi_9x", "iphlpapi_9x", "iphlpapi_9x"},
    {IpFunction::IpReleaseAddress, "IpReleaseAddress", "iphlpapi_9x", "iphlpapi_9x", "iphlpapi_9x"},
    {IpFunction::IpRenewAddress, "IpRenewAddress", "iphlpapi_9x", "iphlpapi_9x", "iphlpapi_9x"},
}};

const Binding& BindingOf(IpFunction function) {
    return kBindings[static_cast<size_t>(function)];
}

// The program's own folder, with its trailing backslash. Only that folder is ever tried: the
// DLL search path could hand a planted file the program's administrator rights.
std::string ProgramFolder(App& app) {
    const std::string path = app.files->ProgramPath();
    const size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

constexpr char kPathTooLongMessage[] =
    "The folder this program runs from has too long a path for Windows to load the program's "
    "files from it.\r\n\r\nCopy the program's folder to a shorter path, such as C:\\Corvane, "
    "and start it there.";

// Windows loads a library only from a full path shorter than MAX_PATH (260) characters, also
// where its file functions take longer ones: a file there is not missing, and the log says so.
bool TooLongToLoad(const std::string& path) {
    constexpr size_t kMaxPath = 260;
    size_t units = 0; // UTF-16 units of the UTF-8 text
    for (const char c : path) {
        const auto b = static_cast<unsigned char>(c);
        if ((b & 0xC0) != 0x80) units += b >= 0xF0 ? 2 : 1;
    }
    return units >= kMaxPath;
}

// Names the file that let a caller down, so that a customer who copied only the program is not
// sent to look for a network card; once per file, however often it is tried.
IpHelper::Proc Missing(App& app, const std::string& file) {
    if (app.iphlp->reportedMissing.insert(file).second) WriteLog(app, "Missing " + file);
    return 0;
}

// The function's address, bound now if this is its first call from that file; 0 when the file
// or the function is missing (tried again at the next call).
IpHelper::Proc Bind(App& app, IpFunction function) {
    const Binding& b = BindingOf(function);
    const std::string library = IpHelperLibrary(function, app.OsCode);
    const std::string key = library + "!" + b.name;
    IpHelper& ip = *app.iphlp;
    if (auto it = ip.bound.find(key); it != ip.bound.end()) return it->second;

    const std::string file = library + ".dll";
    const std::string folder = ProgramFolder(app);
    if (folder.empty()) return Missing(app, file);
    if (TooLongToLoad(folder + file)) {
        if (ip.reportedMissing.insert(file).second)
            WriteLog(app, "Path too long for Windows: " + folder + file);
        // One box says it for every file: they all lie in that folder.
        if (!ip.toldPathTooLong) {
            ip.toldPathTooLong = true;
            app.ui->MessageBox(kPathTooLongMessage, kMbOk | kMbIconHand);
        }
        return 0;
    }
    const IpHelper::Module module = ip.LoadLibraryFile(folder + file);
    if (module == 0) return Missing(app, file);
    const IpHelper::Proc proc = ip.ProcAddress(module, b.name);
    if (proc == 0) return Missing(app, file);
    ip.bound.emplace(key, proc);
    return proc;
}

} // namespace

std::string IpHelperLibrary(IpFunction function, OsFamily os) {
    const Binding& b = BindingOf(function);
    switch (os) {
    case OsFamily::Win2000:
        return b.win2k;
    case OsFamily::WinXp:
        return b.winXp;
    default:
        return b.other;
    }
}

namespace iphlp {

std::optional<uint32_t> GetAdaptersInfo(App& app, void* buffer, uint32_t* size) {
    const IpHelper::Proc fn = Bind(app, IpFunction::GetAdaptersInfo);
    if (fn == 0) return std::nullopt;
    return app.iphlp->GetAdaptersInfo(fn, buffer, size);
}

std::optional<uint32_t> GetNetworkParams(App& app, void* buffer, uint32_t* size) {
    const IpHelper::Proc fn = Bind(app, IpFunction::GetNetworkParams);
    if (fn == 0) return std::nullopt;
    return app.iphlp->GetNetworkParams(fn, buffer, size);
}

std::optional<uint32_t> GetInterfaceInfo(App& app, void* buffer, uint32_t* size) {
    const IpHelper::Proc fn = Bind(app, IpFunction::GetInterfaceInfo);
    if (fn == 0) return std::nullopt;
    return app.iphlp->GetInterfaceInfo(fn, buffer, size);
}

std::optional<uint32_t> IpReleaseAddress(App& app, void* adapterIndexMap) {
    const IpHelper::Proc fn = Bind(app, IpFunction::IpReleaseAddress);
    if (fn == 0) return std::nullopt;
    return app.iphlp->IpReleaseAddress(fn, adapterIndexMap);
}

std::optional<uint32_t> IpRenewAddress(App& app, void* adapterIndexMap) {
    const IpHelper::Proc fn = Bind(app, IpFunction::IpRenewAddress);
    if (fn == 0) return std::nullopt;
    return app.iphlp->IpRenewAddress(fn, adapterIndexMap);
}

uint32_t LastError(App& app) {
    return app.iphlp->LastError();
}

} // namespace iphlp
} // namespace ww
