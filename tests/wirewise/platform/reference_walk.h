#pragma once
// The registry search as it was before it opened each key only once and paced its message pump:
// the same events in the same order from the same registry are what cRegSearch must still give.
// Kept apart from the program, on the same seams, so that the two can run over one fake tree.
#include <cstdint>
#include <memory>
#include <string>

#include "app.h"
#include "platform/reg_search.h"

namespace ww::test {

struct ReferenceState;

class ReferenceSearch {
  public:
    ReferenceSearch(App& app, RegSearchEvents& events);
    ~ReferenceSearch();
    ReferenceSearch(const ReferenceSearch&) = delete;
    ReferenceSearch& operator=(const ReferenceSearch&) = delete;

    HKey RootKey = 0;
    std::string Subkey;
    std::string SearchString;
    uint32_t SearchFlags = 0;

    void DoSearch();
    void StopSearch();

  private:
    App& app_;
    RegSearchEvents& events_;
    std::shared_ptr<ReferenceState> state_;
};

} // namespace ww::test
