#include "platform/restart.h"

#include <gtest/gtest.h>

#include "fakes/wirewise/test_app.h"

namespace ww::test {
namespace {

using Lines = std::vector<std::string>;

const std::string kQuestion =
    "Setup has finished setting up your network. Your PC needs to be rebooted before the changes "
    "can be applied. Please save your work and close any other applications.\r\n\r\nDo you wish "
    "to reboot now?\r\n\r\nSelect 'Yes' to reboot now. Select 'No' to reboot later.";
const std::string kFailed =
    "The application failed to reboot your system. Please reboot your system manually.";

TEST(PromptReboot, AsksAndFollowsTheAnswer) {
    struct Case {
        const char* name;
        int answer;
        bool exitOk;
        Lines log;
        size_t boxes;
        size_t exitCalls;
        bool restarting; // afterwards
    } cases[] = {
        {"No", kIdNo, true, {"Reboot cancelled"}, 1, 0, false},
        {"Yes", kIdYes, true, {"Rebooting"}, 1, 1, true},
        {"Yes, refused",
         kIdYes,
         false,
         {"Rebooting", "Reboot error: A required privilege is not held by the client.", ""},
         2,
         1,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.ui.answers.push_back(c.answer);
        t.sys.exitWindowsOk = c.exitOk;
        PromptReboot(t.app);
        EXPECT_EQ(t.LogLines(), c.log);
        EXPECT_EQ(t.app.Restarting, c.restarting);
        ASSERT_EQ(t.ui.boxes.size(), c.boxes);
        EXPECT_EQ(t.ui.boxes[0].text, kQuestion);
        EXPECT_EQ(t.ui.boxes[0].style, 4u);
        if (c.boxes == 2) {
            EXPECT_EQ(t.ui.boxes[1].text, kFailed);
            EXPECT_EQ(t.ui.boxes[1].style, 16u);
        }
        ASSERT_EQ(t.sys.exitCalls.size(), c.exitCalls);
        if (c.exitCalls) {
            EXPECT_EQ(t.sys.exitCalls[0], std::make_pair(2u, 0x14u));
        }
    }
}

TEST(PromptReboot, AnInternalErrorIsLoggedWithItsNumberAndShown) {
    // A Ui that fails the first box, as an out-of-memory would.
    struct FailingUi final : Ui {
        FakeUi inner;
        int MessageBox(std::string_view text, uint32_t style) override {
            if (inner.boxes.empty()) {
                inner.boxes.push_back({std::string(text), style});
                throw std::bad_alloc();
            }
            return inner.MessageBox(text, style);
        }
        void SetWaitCursor(bool) override {}
    } ui;
    TestApp t;
    t.app.ui = &ui;
    PromptReboot(t.app);
    EXPECT_EQ(t.LogLines(), Lines{"Error rebooting: 7"});
    ASSERT_EQ(ui.inner.boxes.size(), 2u);
    EXPECT_EQ(ui.inner.boxes[1].text, kFailed);
    EXPECT_EQ(ui.inner.boxes[1].style, 16u);
}

TEST(GetSystemErrorText, GivesTheSystemsTextTrimmedOfBlanks) {
    struct Case {
        const char* name;
        std::optional<std::string> message;
        std::string want;
    } cases[] = {
        {"with line break", "Access is denied.\r\n", "Access is denied.\r\n"},
        {"blanks around", "  Padded.  ", "Padded."},
        {"no text for the code", std::nullopt, ""},
        {"longer than the buffer", std::string(300, 'x'), ""},
        {"longest that fits", std::string(254, 'x'), std::string(254, 'x')},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TestApp t;
        t.sys.messages.clear();
        if (c.message) t.sys.messages[5] = *c.message;
        EXPECT_EQ(GetSystemErrorText(t.app, 5), c.want);
        ASSERT_EQ(t.sys.formatCalls.size(), 1u);
        EXPECT_EQ(t.sys.formatCalls[0].flags, 0x1000u);
        EXPECT_EQ(t.sys.formatCalls[0].languageId, 0u);
        EXPECT_EQ(t.sys.formatCalls[0].size, 255u);
    }
}

TEST(EnableShutdownPrivilege, EnablesTheShutdownPrivilegeOfTheProcessToken) {
    TestApp t;
    EXPECT_TRUE(EnableShutdownPrivilege(t.app));
    EXPECT_EQ(t.sys.tokenAccess, 0x28u);
    EXPECT_EQ(t.sys.privilegeLookups, std::vector<std::string>{"SeShutdownPrivilege"});
    ASSERT_EQ(t.sys.adjustCalls.size(), 1u);
    const auto& call = t.sys.adjustCalls[0];
    EXPECT_EQ(call.token, FakeSystem::kToken);
    EXPECT_FALSE(call.disableAll);
    EXPECT_EQ(call.newState.PrivilegeCount, 1u);
    EXPECT_EQ(call.newState.Privileges[0].luid.LowPart, 19u);
    EXPECT_EQ(call.newState.Privileges[0].Attributes, 2u);
    EXPECT_EQ(call.bufferLength, 16u);
    EXPECT_EQ(call.returnLengthPreset, 4u);
    EXPECT_EQ(t.sys.closedHandles, std::vector<SysHandle>{FakeSystem::kToken});
}

TEST(EnableShutdownPrivilege, FailsQuietlyAndLeavesNoHandleOpen) {
    TestApp t;
    t.sys.openTokenOk = false;
    EXPECT_FALSE(EnableShutdownPrivilege(t.app));
    EXPECT_TRUE(t.sys.closedHandles.empty());
    EXPECT_TRUE(t.LogLines().empty());
}

} // namespace
} // namespace ww::test
