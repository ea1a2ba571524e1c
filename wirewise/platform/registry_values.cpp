#include "platform/registry_values.h"

#include "platform/internal_error.h"
#include "platform/log.h"
#include "seams/codepage.h"

namespace ww {
namespace {

// Call only inside a catch block.
void LogInternalError(App& app) {
    const InternalError e = CurrentInternalError();
    WriteLog(app, "Error in reading regkey: " + std::to_string(e.number) + ", " + e.description);
}

} // namespace

bool OpenRegKey(App& app, RegKey& key, HKey root, const std::string& keyPath) {
    try {
        return key.Open(root, ToAnsi(keyPath), kKeyReadWrite) == kErrorSuccess;
    } catch (...) {
        LogInternalError(app);
        return false;
    }
}

bool ReadRegValue(App& app, HKey root, const std::string& keyPath, const std::string& valueName,
                  std::string& text) {
    text.clear();
    RegKey key(*app.reg);
    return OpenRegKey(app, key, root, keyPath) && ReadRegValue(app, key, valueName, text);
}

bool ReadRegValue(App& app, const RegKey& key, const std::string& valueName, std::string& text) {
    try {
        return key.ReadText(valueName, &text) == kErrorSuccess;
    } catch (...) {
        text.clear();
        LogInternalError(app);
        return false;
    }
}

bool WriteRegValue(App& app, HKey root, const std::string& keyPath, uint32_t type,
                   const std::string& valueName, RegValue& value) {
    const std::string ansiPath = ToAnsi(keyPath);
    RegKey key(*app.reg);
    const long opened = key.Open(root, ansiPath, kKeyReadWrite);
    if (opened != kErrorSuccess) {
        // Creates the key with any missing parents; a key that exists already is opened with the
        // rights the user has. Whether the write then succeeds decides the result.
        key.Create(root, ansiPath);
    }
    // A type that is not written leaves the answer to the open.
    if (opened != kErrorSuccess && !RegKey::Writes(type)) {
        value = std::string();
        return false;
    }
    return WriteRegValue(key, type, valueName, value);
}

bool WriteRegValue(const RegKey& key, uint32_t type, const std::string& valueName,
                   RegValue& value) {
    if (!RegKey::Writes(type)) return true;
    if (key.Write(valueName, type, value) == kErrorSuccess) return true;
    value = std::string();
    return false;
}

} // namespace ww
