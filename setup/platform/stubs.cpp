// Placeholders until the modules land; each is removed as its real definition arrives.
#include "platform/identity.h"
#include "platform/registry_values.h"
#include "platform/restart.h"

namespace ww {

bool ReadRegValue(App&, HKey, const std::string&, const std::string&, std::string& text) {
    text.clear();
    return false;
}
bool WriteRegValue(App&, HKey, const std::string&, uint32_t, const std::string&, RegValue& value) {
    value = std::string();
    return false;
}
int16_t DetectOS(App&) { return 0; }
std::string GetLoggedUser(App&) { return {}; }
std::string GetMachineName(App&) { return {}; }
std::string GetUserSid(App&) { return {}; }
std::string GetDomainController(App&) { return {}; }
bool EnableShutdownPrivilege(App&) { return false; }
void PromptReboot(App&) {}
std::string GetSystemErrorText(App&, uint32_t) { return {}; }

} // namespace ww
