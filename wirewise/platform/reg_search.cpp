#include "platform/reg_search.h"

#include "common/text.h"
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/internal_error.h"
#include "platform/reg_key.h"
#include "seams/codepage.h"
#include "seams/system.h"

namespace ww {

using corvane::AppendHexByte;
using corvane::kHexUpper;
using corvane::UpToNul;

struct RegSearchState {
    int32_t stopReason = 0;
    bool released = false;
};

namespace {

constexpr uint32_t kNameChars = 260;
constexpr uint32_t kDataBytes = 4096;
// How often a walk lets the window repaint and react. A pump step costs a round trip to the
// window system even when nothing is waiting; at every sub-key it made a search inside the
// program far slower than the same search without a window.
constexpr uint32_t kPumpEveryMs = 10;

constexpr std::string_view kUnsupported = "Temporary unsupported";

// Every ANSI code page keeps plain ASCII as it is: such bytes are already program text.
bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

// Appends the text of a value that is no string: hexadecimal bytes, a number or the word for
// any other type. All of it is plain ASCII.
void AppendNonStringText(uint32_t type, std::string_view data, std::string& out) {
    switch (type) {
    case kRegBinary:
        for (size_t i = 0; i < data.size(); ++i) {
            const auto b = static_cast<unsigned char>(data[i]);
            if (i != 0) out += ' ';
            AppendHexByte(out, b, kHexUpper);
        }
        break;
    case kRegDword: {
        uint32_t value = 0;
        for (size_t i = 0; i < data.size() && i < 4; ++i)
            value |= static_cast<uint32_t>(static_cast<unsigned char>(data[i])) << (8 * i);
        char text[32];
        std::snprintf(text, sizeof text, "0x%08X(%d)", value, static_cast<int32_t>(value));
        out += text;
        break;
    }
    default:
        out += kUnsupported;
    }
}

bool IsString(uint32_t type) {
    return type == kRegSz || type == kRegMultiSz;
}

// One search run over one root at a time. Each key is opened once: its values are scanned on
// the handle its sub-keys are walked with. Paths are kept as the registry gives them (ANSI) in
// one buffer that grows and shrinks with the walk, and turned into program text for the events
// only; names and texts are converted for a comparison only when they are not plain ASCII.
class Walk {
  public:
    Walk(App& app, RegSearchEvents& events, RegSearchState& state, std::string searchText,
         uint32_t flags)
        : app_(app), events_(events), state_(state), search_(UpperAscii(std::move(searchText))),
          flags_(flags) {}

    void SetRoot(HKey root) {
        root_ = root;
        rootName_ = RootKeyName(root);
    }
    bool Stopped() const { return state_.stopReason != 0 || state_.released; }

    // The key at path: its own values when withValues, then everything below it.
    void Start(const std::string& path, bool withValues) {
        path_ = path;
        Key(withValues);
    }

  private:
    bool ValuesWanted() const { return (flags_ & (kSearchValueNames | kSearchValueContents)) != 0; }

    // The key at path_, opened once. The stop reason is looked at before it is opened and again
    // before its sub-keys: a handler of its values may have stopped the search.
    void Key(bool withValues) {
        if (Stopped()) return;
        RegKey key(*app_.reg);
        try {
            if (key.Open(root_, path_, kKeyRead) != kErrorSuccess) return;
        } catch (...) {
            state_.stopReason = CurrentInternalError().number;
            return;
        }
        if (withValues) Values(key.get());
        if (!Stopped()) SubKeys(key.get());
    }

    void SubKeys(HKey key) {
        const size_t base = path_.size();
        try {
            for (uint32_t index = 0;; ++index) {
                Pump();
                std::array<char, kNameChars> name{};
                if (app_.reg->EnumKey(key, index, name.data(), kNameChars) != kErrorSuccess) break;
                const std::string_view child = UpToNul(name.data(), name.size());
                if (base != 0) path_ += '\\';
                path_ += child;
                if (MatchesAnsi(child)) Found(path_, "*", kFoundKeyName);
                Key(ValuesWanted());
                path_.resize(base);
            }
        } catch (...) {
            path_.resize(base);
            state_.stopReason = CurrentInternalError().number;
        }
    }

    void Values(HKey key) {
        try {
            for (uint32_t index = 0;; ++index) {
                name_.fill('\0');
                // Every value is read into zeros, as into a fresh buffer: only the bytes an earlier
                // value may have left are zeroed again. A system that reports more bytes than it
                // wrote shows zeros there, and an empty value reads as one zero byte.
                std::memset(data_.data(), 0, dirty_);
                uint32_t nameSize = kNameChars;
                uint32_t dataSize = kDataBytes;
                uint32_t type = 0;
                const long status = app_.reg->EnumValue(key, index, name_.data(), &nameSize, &type,
                                                        data_.data(), &dataSize);
                if (status != kErrorSuccess) {
                    // A value too large for the buffer may have filled it.
                    if (status != kErrorNoMoreItems) dirty_ = kDataBytes;
                    break;
                }
                dataSize = std::clamp<uint32_t>(dataSize, 1, kDataBytes);
                dirty_ = std::max(dirty_, dataSize);
                const std::string_view bytes(reinterpret_cast<const char*>(data_.data()), dataSize);
                const std::string_view valueName = UpToNul(name_.data(), name_.size());
                if ((flags_ & kSearchValueNames) && MatchesAnsi(valueName))
                    Found(ValuePath(valueName), ValueDataText(type, bytes), kFoundValueName);
                if (flags_ & kSearchValueContents) {
                    const std::string_view text = ContentText(type, bytes);
                    if (Matches(text))
                        Found(ValuePath(valueName), std::string(text), kFoundValueContent);
                }
            }
        } catch (...) {
            state_.stopReason = CurrentInternalError().number;
        }
    }

    // The key's path + "\" + the value's name.
    const std::string& ValuePath(std::string_view valueName) {
        valuePath_.assign(path_);
        valuePath_ += '\\';
        valuePath_ += valueName;
        return valuePath_;
    }

    // The value's content as program text, cut at its first NUL, as ValueDataText gives it.
    std::string_view ContentText(uint32_t type, std::string_view bytes) {
        if (IsString(type)) {
            const std::string_view ansi = UpToNul(bytes);
            if (IsAscii(ansi)) return ansi;
            text_ = FromAnsi(ansi);
            return UpToNul(text_);
        }
        text_.clear();
        AppendNonStringText(type, bytes, text_);
        return text_;
    }

    bool Matches(std::string_view text) const {
        // The search compares upper-cased texts, and upper-cases only the letters a to z.
        if (flags_ & kSearchWholeText) return EqualsAsciiNoCase(text, search_);
        return ContainsAsciiNoCase(text, search_);
    }
    bool MatchesAnsi(std::string_view ansi) const {
        return IsAscii(ansi) ? Matches(ansi) : Matches(FromAnsi(ansi));
    }

    // Lets pending window messages through, at most once every few milliseconds: the first step
    // of a walk always, later ones once the tick count has moved on far enough.
    void Pump() {
        const uint32_t now = app_.sys->GetTickCount();
        if (pumped_ && now - lastPump_ < kPumpEveryMs) return;
        pumped_ = true;
        lastPump_ = now;
        app_.sys->DoEvents();
    }

    // A released search tells nobody any more.
    void Found(const std::string& path, const std::string& value, int32_t what) {
        if (state_.released) return;
        events_.cReg_SearchFound(rootName_, FromAnsi(path), value, what);
    }

    App& app_;
    RegSearchEvents& events_;
    RegSearchState& state_;
    std::string search_;
    uint32_t flags_;
    HKey root_ = 0;
    std::string rootName_;
    std::string path_;
    std::string valuePath_;
    std::string text_;
    std::array<char, kNameChars> name_{};
    std::array<uint8_t, kDataBytes> data_{};
    uint32_t dirty_ = 1; // data_ holds zeros from here on
    bool pumped_ = false;
    uint32_t lastPump_ = 0;
};

} // namespace

std::string RootKeyName(HKey root) {
    return std::string(RootName(root));
}

std::string ValueDataText(uint32_t type, std::string_view data) {
    if (IsString(type)) return FromAnsi(UpToNul(data));
    std::string text;
    AppendNonStringText(type, data, text);
    return text;
}

cRegSearch::cRegSearch(App& app, RegSearchEvents& events)
    : app_(app), events_(events), state_(std::make_shared<RegSearchState>()) {}

cRegSearch::~cRegSearch() {
    state_->released = true;
}

void cRegSearch::StopSearch() {
    state_->stopReason = kSearchStopped;
}

void cRegSearch::DoSearch() {
    // Everything the walk needs is copied here: a handler may release this object mid-walk.
    const std::shared_ptr<RegSearchState> state = state_;
    RegSearchEvents& events = events_;
    Walk walk(app_, events, *state, SearchString, SearchFlags);
    const std::string start = ToAnsi(Subkey);
    if (RootKey != 0) {
        walk.SetRoot(RootKey);
        walk.Start(start, (SearchFlags & (kSearchValueNames | kSearchValueContents)) != 0);
    } else {
        // The start key's own values are not tested in this mode.
        for (HKey root = kHkeyClassesRoot; root <= kHkeyDynData; ++root) {
            if (walk.Stopped()) break;
            walk.SetRoot(root);
            walk.Start(start, false);
        }
    }
    if (!state->released) events.cReg_SearchFinished(state->stopReason);
    state->stopReason = 0;
}

} // namespace ww
