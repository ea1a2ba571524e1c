#pragma once
// Whether a folder of the program's data folder is closed to everyone but the machine's
// administrators, judged from its security descriptor as Windows hands it over.
#include <string_view>

namespace ww {

// descriptor: a self-relative SECURITY_DESCRIPTOR with at least its owner and DACL, byte for
// byte as GetFileSecurity gives it. True only when the owner is Administrators, SYSTEM or
// TrustedInstaller and no ACE of the DACL lets anyone else write, append, delete, change the
// rights or take the folder over, this folder's own ACEs and those its children inherit alike
// (CREATOR OWNER included). A missing or NULL DACL, an ACE of a kind not judged here, and
// anything cut short or out of bounds count as open.
bool ClosedToUsers(std::string_view descriptor);

} // namespace ww
