#include "reference_walk.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <vector>

#include "platform/internal_error.h"
#include "platform/reg_key.h"
#include "seams/codepage.h"
#include "seams/registry.h"
#include "seams/system.h"

namespace ww::test {

struct ReferenceState {
    int32_t stopReason = 0;
    bool released = false;
};

namespace {

constexpr uint32_t kNameChars = 260;
constexpr uint32_t kDataBytes = 4096;

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

std::string CutAtNul(const std::string& s) {
    return s.substr(0, s.find('\0'));
}

// A name from a fixed buffer: up to its first NUL, never past the buffer.
std::string NameFrom(const char* buffer, size_t size) {
    size_t len = 0;
    while (len < size && buffer[len] != '\0')
        ++len;
    return std::string(buffer, len);
}

// A value's content as text, with a formatted print per byte.
std::string ReferenceValueDataText(uint32_t type, const std::string& data) {
    switch (type) {
    case 1:
    case 7:
        return FromAnsi(CutAtNul(data));
    case 3: {
        std::string text;
        char hex[4];
        for (unsigned char b : data) {
            std::snprintf(hex, sizeof hex, "%02X", b);
            if (!text.empty()) text += ' ';
            text += hex;
        }
        return text;
    }
    case 4: {
        uint32_t value = 0;
        for (size_t i = 0; i < data.size() && i < 4; ++i)
            value |= static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
        char text[32];
        std::snprintf(text, sizeof text, "0x%08X(%d)", value, static_cast<int32_t>(value));
        return text;
    }
    default:
        return "Temporary unsupported";
    }
}

// One search run over one root at a time. Paths are kept as the registry gives them (ANSI) and
// turned into program text for the events.
class Walk {
  public:
    Walk(App& app, RegSearchEvents& events, ReferenceState& state, std::string searchText,
         uint32_t flags)
        : app_(app), events_(events), state_(state), search_(Upper(std::move(searchText))),
          flags_(flags) {}

    void SetRoot(HKey root) {
        root_ = root;
        rootName_ = RootKeyName(root);
    }
    bool Stopped() const { return state_.stopReason != 0 || state_.released; }

    void Keys(const std::string& keyPath) {
        if (Stopped()) return;
        RegKey key(*app_.reg);
        try {
            if (key.Open(root_, keyPath, kKeyRead) != kErrorSuccess) return;
            for (uint32_t index = 0;; ++index) {
                app_.sys->DoEvents();
                std::array<char, kNameChars> name{};
                if (app_.reg->EnumKey(key.get(), index, name.data(), kNameChars) != kErrorSuccess)
                    break;
                const std::string child = NameFrom(name.data(), name.size());
                const std::string path = keyPath.empty() ? child : keyPath + "\\" + child;
                if (Matches(FromAnsi(child))) Found(path, "*", kFoundKeyName);
                if (flags_ & (kSearchValueNames | kSearchValueContents)) Values(path);
                Keys(path);
            }
        } catch (...) {
            state_.stopReason = CurrentInternalError().number;
        }
    }

    void Values(const std::string& keyPath) {
        if (Stopped()) return;
        RegKey key(*app_.reg);
        try {
            if (key.Open(root_, keyPath, kKeyRead) != kErrorSuccess) return;
            std::vector<char> name(kNameChars);
            std::vector<uint8_t> data(kDataBytes);
            for (uint32_t index = 0;; ++index) {
                std::fill(name.begin(), name.end(), '\0');
                std::fill(data.begin(), data.end(), uint8_t{0});
                uint32_t nameSize = kNameChars;
                uint32_t dataSize = kDataBytes;
                uint32_t type = 0;
                if (app_.reg->EnumValue(key.get(), index, name.data(), &nameSize, &type,
                                        data.data(), &dataSize) != kErrorSuccess)
                    break;
                // An empty value is read as one zero byte.
                if (dataSize < 1) dataSize = 1;
                if (dataSize > kDataBytes) dataSize = kDataBytes;
                const std::string bytes(reinterpret_cast<const char*>(data.data()), dataSize);
                const std::string valueName = NameFrom(name.data(), name.size());
                const std::string path = keyPath + "\\" + valueName;
                if ((flags_ & kSearchValueNames) && Matches(FromAnsi(valueName)))
                    Found(path, ReferenceValueDataText(type, bytes), kFoundValueName);
                if (flags_ & kSearchValueContents) {
                    const std::string text = CutAtNul(ReferenceValueDataText(type, bytes));
                    if (Matches(text)) Found(path, text, kFoundValueContent);
                }
            }
        } catch (...) {
            state_.stopReason = CurrentInternalError().number;
        }
    }

  private:
    bool Matches(const std::string& text) const {
        if (flags_ & kSearchWholeText) return Upper(text) == search_;
        return Upper(text).find(search_) != std::string::npos;
    }

    // A released search tells nobody any more.
    void Found(const std::string& path, const std::string& value, int32_t what) {
        if (state_.released) return;
        events_.cReg_SearchFound(rootName_, FromAnsi(path), value, what);
    }

    App& app_;
    RegSearchEvents& events_;
    ReferenceState& state_;
    std::string search_;
    uint32_t flags_;
    HKey root_ = 0;
    std::string rootName_;
};

} // namespace

ReferenceSearch::ReferenceSearch(App& app, RegSearchEvents& events)
    : app_(app), events_(events), state_(std::make_shared<ReferenceState>()) {}

ReferenceSearch::~ReferenceSearch() {
    state_->released = true;
}

void ReferenceSearch::StopSearch() {
    state_->stopReason = kSearchStopped;
}

void ReferenceSearch::DoSearch() {
    // Everything the walk needs is copied here: a handler may release this object mid-walk.
    const std::shared_ptr<ReferenceState> state = state_;
    RegSearchEvents& events = events_;
    Walk walk(app_, events, *state, SearchString, SearchFlags);
    const std::string start = ToAnsi(Subkey);
    if (RootKey != 0) {
        walk.SetRoot(RootKey);
        if (SearchFlags & (kSearchValueNames | kSearchValueContents)) walk.Values(start);
        walk.Keys(start);
    } else {
        for (HKey root = kHkeyClassesRoot; root <= kHkeyDynData; ++root) {
            if (walk.Stopped()) break;
            walk.SetRoot(root);
            walk.Keys(start);
        }
    }
    if (!state->released) events.cReg_SearchFinished(state->stopReason);
    state->stopReason = 0;
}

} // namespace ww::test
