#pragma once
// Walks a registry subtree depth-first and reports every key name, value name or value content
// that matches a text. The Windows 9x adapter discovery finds each adapter's device key with it.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "app.h"
#include "seams/registry.h"

namespace ww {

// SearchFlags bits; key names are always tested.
inline constexpr uint32_t kSearchValueNames = 1;
inline constexpr uint32_t kSearchValueContents = 2;
inline constexpr uint32_t kSearchWholeText = 4;

// What matched, as lFound reports it.
inline constexpr int32_t kFoundKeyName = 0;
inline constexpr int32_t kFoundValueName = 1;
inline constexpr int32_t kFoundValueContent = 2;

// lReason of SearchFinished besides the number of an internal error.
inline constexpr int32_t kSearchCompleted = 0;
inline constexpr int32_t kSearchStopped = 1;

// The events of a search, raised on the caller's thread from inside DoSearch.
class RegSearchEvents {
  public:
    // sKey: the key's path below the root, or its path + "\" + the value's name; sValue: "*" for
    // a key, else the value's content as text.
    virtual void cReg_SearchFound(const std::string& sRootKey, const std::string& sKey,
                                  const std::string& sValue, int32_t lFound) = 0;
    // lReason: kSearchCompleted, kSearchStopped or the number of the internal error that ended it.
    virtual void cReg_SearchFinished(int32_t lReason) = 0;

  protected:
    ~RegSearchEvents() = default;
};

struct RegSearchState;

class cRegSearch {
  public:
    cRegSearch(App& app, RegSearchEvents& events);
    ~cRegSearch();
    cRegSearch(const cRegSearch&) = delete;
    cRegSearch& operator=(const cRegSearch&) = delete;

    // Set before DoSearch; they keep their values between searches.
    HKey RootKey = 0;         // 0: the seven predefined roots in turn
    std::string Subkey;       // start key below the root; "" is the root itself
    std::string SearchString; // compared without regard to case
    uint32_t SearchFlags = 0;

    // Runs the whole search and returns after SearchFinished. A handler may stop the search,
    // release this object or start another search from inside any event.
    void DoSearch();
    // Takes effect at the next key the walk would open.
    void StopSearch();

  private:
    App& app_;
    RegSearchEvents& events_;
    // Shared with a running walk, which outlives the object when a handler releases it.
    std::shared_ptr<RegSearchState> state_;
};

// A predefined root's name, such as "HKEY_LOCAL_MACHINE"; "" for any other handle.
std::string RootKeyName(HKey root);
// A value's content as the search shows it: strings (the first of a list), hexadecimal bytes,
// "0x0000001A(26)" for a number, "Temporary unsupported" for any other type.
std::string ValueDataText(uint32_t type, std::string_view data);

} // namespace ww
