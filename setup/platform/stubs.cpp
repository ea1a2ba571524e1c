// Placeholders until the modules land; each is removed as its real definition arrives.
#include "platform/identity.h"
#include "platform/restart.h"

namespace ww {

std::string GetLoggedUser(App&) {
    return {};
}
std::string GetMachineName(App&) {
    return {};
}
std::string GetUserSid(App&) {
    return {};
}
std::string GetDomainController(App&) {
    return {};
}
bool EnableShutdownPrivilege(App&) {
    return false;
}
void PromptReboot(App&) {}
std::string GetSystemErrorText(App&, uint32_t) {
    return {};
}

} // namespace ww
