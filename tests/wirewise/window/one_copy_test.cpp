#include "window/one_copy.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace ww::test {
namespace {

// The running copy's mark and window, with what was asked of them in turn.
class FakeInstances final : public Instances {
  public:
    explicit FakeInstances(std::vector<std::string>& events, bool free)
        : events_(events), free_(free) {}
    bool ClaimOnlyCopy() override {
        events_.push_back("claim");
        return free_;
    }
    void ShowRunningCopy() override { events_.push_back("show"); }

  private:
    std::vector<std::string>& events_;
    bool free_;
};

// Records the box among the other events, so that their order shows.
class OrderedUi final : public Ui {
  public:
    explicit OrderedUi(std::vector<std::string>& events) : events_(events) {}
    int MessageBox(std::string_view text, uint32_t style) override {
        events_.push_back("box " + std::to_string(style) + ": " + std::string(text));
        return kIdOk;
    }
    void SetWaitCursor(bool) override {}

  private:
    std::vector<std::string>& events_;
};

TEST(OneCopy, TheFirstCopyStartsAndASecondGivesWay) {
    struct Case {
        const char* name;
        bool free;
        bool starts;
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"only copy", true, true, {"claim"}},
        // OK with the information icon (0x40), then the first copy comes to the front.
        {"second copy",
         false,
         false,
         {"claim", "box 64: Corvane Wirewise is already running.", "show"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<std::string> events;
        FakeInstances instances(events, c.free);
        OrderedUi ui(events);
        EXPECT_EQ(StartAsOnlyCopy(instances, ui), c.starts);
        EXPECT_EQ(events, c.events);
    }
}

} // namespace
} // namespace ww::test
