// Drives the judge of a data folder's rights over descriptors that another program could have
// set on a folder it planted: mostly well-formed ones with chosen owners and ACEs, then cut short
// or with a byte overwritten, so that the walk gets past the header before it meets the fault.
// No input may crash it or read past the bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "fakes/security_descriptor.h"
#include "platform/folder_rights.h"

namespace {

using ww::test::Ace;

const std::string* const kSids[] = {
    &ww::test::kSystemSid,   &ww::test::kAdministratorsSid,     &ww::test::kUsersSid,
    &ww::test::kEveryoneSid, &ww::test::kCreatorOwnerSid,       &ww::test::kTrustedInstallerSid,
    &ww::test::kAliceSid,    &ww::test::kAuthenticatedUsersSid,
};
constexpr size_t kSidCount = sizeof kSids / sizeof kSids[0];

class Input {
  public:
    Input(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    uint32_t Take(int bytes) {
        uint32_t value = 0;
        for (int i = 0; i < bytes; ++i)
            value = value << 8 | (at_ < size_ ? data_[at_++] : 0);
        return value;
    }
    bool Empty() const { return at_ >= size_; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    if (data[0] % 4 == 0) {
        // Raw bytes, as they come.
        ww::ClosedToUsers({reinterpret_cast<const char*>(data + 1), size - 1});
        return 0;
    }
    Input in(data + 1, size - 1);
    const std::string& owner = *kSids[in.Take(1) % kSidCount];
    std::vector<Ace> aces;
    for (uint32_t n = in.Take(1) % 6; n > 0; --n) {
        const auto type = static_cast<uint8_t>(in.Take(1) % 3 == 0 ? in.Take(1) : in.Take(1) & 1);
        const auto flags = static_cast<uint8_t>(in.Take(1));
        const uint32_t mask = in.Take(4);
        aces.push_back({type, flags, mask, *kSids[in.Take(1) % kSidCount]});
    }
    const bool dacl = in.Take(1) % 8 != 0;
    std::string bytes = ww::test::Descriptor(owner, aces, dacl,
                                             static_cast<uint16_t>(0x8000 | (in.Take(1) & 0x04)));
    // Faults on top: bytes overwritten, then the whole cut short.
    while (!in.Empty() && in.Take(1) % 2 == 1) {
        const size_t at = in.Take(2) % bytes.size();
        bytes[at] = static_cast<char>(in.Take(1));
    }
    if (in.Take(1) % 2 == 1) bytes.resize(in.Take(2) % (bytes.size() + 1));
    ww::ClosedToUsers(bytes);
    return 0;
}
