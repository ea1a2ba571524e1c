#include "platform/folder_rights.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/wirewise/security_descriptor.h"

namespace ww::test {
namespace {

constexpr uint8_t kAllow = 0, kDeny = 1;
constexpr uint8_t kInherit = 0x03, kInheritOnly = 0x0B;
constexpr uint32_t kFull = 0x1F01FF, kReadList = 0x1200A9, kModify = 0x1301BF;

// Each owner and each right that would let someone other than the machine's administrators
// plant a file or take the folder over; the folders Windows and this program make pass.
TEST(ClosedToUsers, OnlyAdministratorsSystemAndTrustedInstallerMayWrite) {
    const Ace admins{kAllow, kInherit, kFull, kAdministratorsSid};
    const Ace system{kAllow, kInherit, kFull, kSystemSid};
    const Ace usersRead{kAllow, kInherit, kReadList, kUsersSid};
    struct Case {
        const char* name;
        std::string descriptor;
        bool closed;
    };
    const std::vector<Case> cases = {
        {"as this program makes it", ClosedDescriptor(), true},
        {"owned by SYSTEM", Descriptor(kSystemSid, {admins, system, usersRead}), true},
        {"owned by TrustedInstaller", Descriptor(kTrustedInstallerSid, {admins, system}), true},
        {"TrustedInstaller may write",
         Descriptor(kAdministratorsSid, {{kAllow, 0, kFull, kTrustedInstallerSid}}), true},
        {"Everyone may read",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x1200A9, kEveryoneSid}}), true},
        {"a user is denied writing",
         Descriptor(kAdministratorsSid, {{kDeny, 0, kFull, kAliceSid}, admins}), true},
        {"an empty DACL", Descriptor(kAdministratorsSid, {}), true},
        {"owned by a user", Descriptor(kAliceSid, {admins, system}), false},
        {"owned by Users", Descriptor(kUsersSid, {admins}), false},
        {"Users may change",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, kModify, kUsersSid}}), false},
        {"Authenticated Users may add files",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x2, kAuthenticatedUsersSid}}), false},
        {"Everyone may add folders",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x4, kEveryoneSid}}), false},
        {"a user may delete",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x10000, kAliceSid}}), false},
        {"a user may delete what is inside",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x40, kAliceSid}}), false},
        {"a user may change the rights",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x40000, kAliceSid}}), false},
        {"a user may take it over",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x80000, kAliceSid}}), false},
        {"Users have GENERIC_WRITE",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x40000000, kUsersSid}}), false},
        {"Users have GENERIC_ALL",
         Descriptor(kAdministratorsSid, {admins, {kAllow, 0, 0x10000000, kUsersSid}}), false},
        {"CREATOR OWNER owns what is made inside",
         Descriptor(kAdministratorsSid, {admins, {kAllow, kInheritOnly, kFull, kCreatorOwnerSid}}),
         false},
        {"Users may write in what is made inside",
         Descriptor(kAdministratorsSid, {admins, {kAllow, kInheritOnly, kModify, kUsersSid}}),
         false},
        {"no DACL", Descriptor(kAdministratorsSid, {}, false, 0x8000), false},
        {"a NULL DACL", Descriptor(kAdministratorsSid, {}, false), false},
        {"not self-relative", Descriptor(kAdministratorsSid, {admins}, true, 0x0004), false},
        {"an allowing object ACE",
         Descriptor(kAdministratorsSid, {admins, {0x05, 0, 0x1200A9, kUsersSid}}), false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ClosedToUsers(c.descriptor), c.closed);
    }
}

// Bytes cut short or pointing outside the descriptor never read past it and are never closed.
TEST(ClosedToUsers, DescriptorsCutShortOrOutOfBoundsAreOpen) {
    const std::string whole = ClosedDescriptor();
    for (size_t size = 0; size < whole.size(); ++size) {
        SCOPED_TRACE(size);
        EXPECT_FALSE(ClosedToUsers(whole.substr(0, size)));
    }
    const auto with = [&](size_t at, char value) {
        std::string bytes = whole;
        bytes[at] = value;
        return bytes;
    };
    const size_t acl = 20 + kAdministratorsSid.size();
    EXPECT_FALSE(ClosedToUsers(with(4, '\x7F')));             // owner past the end
    EXPECT_FALSE(ClosedToUsers(with(4, 0)));                  // no owner
    EXPECT_FALSE(ClosedToUsers(with(16, '\x7F')));            // DACL past the end
    EXPECT_FALSE(ClosedToUsers(with(21, 16)));                // owner with too many parts
    EXPECT_FALSE(ClosedToUsers(with(acl + 2, '\x7F')));       // ACL larger than the descriptor
    EXPECT_FALSE(ClosedToUsers(with(acl + 4, 9)));            // more ACEs than it holds
    EXPECT_FALSE(ClosedToUsers(with(acl + 8 + 2, 2)));        // an ACE smaller than its header
    EXPECT_FALSE(ClosedToUsers(with(acl + 8 + 2, '\x7F')));   // an ACE past the ACL
    EXPECT_TRUE(ClosedToUsers(whole + std::string(8, '\0'))); // the buffer's slack is no matter
}

} // namespace
} // namespace ww::test
