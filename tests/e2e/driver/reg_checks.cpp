#include "reg_checks.h"

#include <windows.h>

#include <cstdio>
#include <vector>

#include "common/text.h"
#include "common/win32/owners.h"

namespace {

struct Root {
    const char* name;
    HKEY key;
};

const Root kRoots[] = {
    {"HKLM", HKEY_LOCAL_MACHINE}, {"HKEY_LOCAL_MACHINE", HKEY_LOCAL_MACHINE},
    {"HKU", HKEY_USERS},          {"HKEY_USERS", HKEY_USERS},
    {"HKCU", HKEY_CURRENT_USER},  {"HKEY_CURRENT_USER", HKEY_CURRENT_USER},
    {"HKCR", HKEY_CLASSES_ROOT},  {"HKEY_CLASSES_ROOT", HKEY_CLASSES_ROOT},
};

// The key at "ROOT\sub", open for reading values; empty where it or its root is unknown.
corvane::Owned<corvane::KeyTraits> OpenKey(const std::string& path) {
    const size_t cut = path.find('\\');
    const std::string root = path.substr(0, cut);
    const std::string sub = cut == std::string::npos ? "" : path.substr(cut + 1);
    corvane::Owned<corvane::KeyTraits> key;
    for (const Root& r : kRoots)
        if (lstrcmpiA(r.name, root.c_str()) == 0 &&
            RegOpenKeyExA(r.key, sub.c_str(), 0, KEY_QUERY_VALUE, key.Put()) != ERROR_SUCCESS)
            key.Detach();
    return key;
}

} // namespace

std::string RegQueryText(const std::string& key, const std::string& value) {
    const auto open = OpenKey(key);
    if (!open.get()) return "";
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(open.get(), value.c_str(), nullptr, &type, nullptr, &size) !=
        ERROR_SUCCESS)
        return "";
    std::vector<char> data(size + 2, '\0');
    if (RegQueryValueExA(open.get(), value.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
        return "";
    data.resize(size);
    switch (type) {
    case REG_SZ:
    case REG_EXPAND_SZ:
        return std::string(corvane::UpToNul(data.data(), data.size()));
    case REG_DWORD: {
        DWORD number = 0;
        CopyMemory(&number, data.data(), size < sizeof number ? size : sizeof number);
        char text[16];
        std::snprintf(text, sizeof text, "0x%lx", static_cast<unsigned long>(number));
        return text;
    }
    case REG_MULTI_SZ: {
        // As reg.exe walks it: a NUL followed by another (or by the end) ends the list.
        std::string out;
        for (size_t at = 0; at < data.size(); ++at) {
            if (data[at] != '\0') {
                out += data[at];
                continue;
            }
            if (at + 1 >= data.size() || data[at + 1] == '\0') break;
            out += "\\0";
        }
        return out;
    }
    default: {
        std::string out;
        for (const char c : data)
            corvane::AppendHexByte(out, static_cast<unsigned char>(c), corvane::kHexUpper);
        return out;
    }
    }
}
