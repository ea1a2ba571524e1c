#pragma once
// Reads IP Helper records out of the buffer a fetch filled. A record is read only when it lies
// wholly inside that buffer; a chain that leaves the buffer, or comes back to a record it has
// already given, ends as failed.
#include <cstdint>
#include <cstring>
#include <optional>
#include <set>
#include <string>

#include "adapters/ip_records.h"

namespace ww {

class IpRecordBuffer {
  public:
    // base is the address IP Helper gave the buffer's first byte: the buffer's own address,
    // except where records are examined away from where they were written.
    IpRecordBuffer(const uint8_t* data, size_t size, uintptr_t base)
        : data_(data), size_(size), base_(base) {}
    IpRecordBuffer(const uint8_t* data, size_t size)
        : IpRecordBuffer(data, size, reinterpret_cast<uintptr_t>(data)) {}

    uintptr_t base() const { return base_; }

    // The record at address, when all of it lies inside the buffer.
    template <class Rec> std::optional<Rec> ReadAt(uintptr_t address) const {
        static_assert(std::is_trivially_copyable_v<Rec>);
        if (address < base_) return std::nullopt;
        const uintptr_t offset = address - base_;
        if (offset > size_ || size_ - offset < sizeof(Rec)) return std::nullopt;
        Rec rec;
        std::memcpy(&rec, data_ + offset, sizeof(Rec));
        return rec;
    }

  private:
    const uint8_t* data_;
    size_t size_;
    uintptr_t base_;
};

// Follows a chain of records through their Next fields.
template <class Rec> class RecordChain {
  public:
    // Starts with the record at the buffer's first byte.
    explicit RecordChain(const IpRecordBuffer& buf) : buf_(buf), next_(buf.base()) {}
    // Starts with a record embedded in another one, found at firstAddress, and goes on from its
    // Next.
    RecordChain(const IpRecordBuffer& buf, const Rec& first, uintptr_t firstAddress)
        : buf_(buf), first_(first) {
        seen_.insert(firstAddress);
    }

    // The next record; nothing once the chain has ended, by a Next of 0 or by failure.
    std::optional<Rec> Next() {
        if (done_) return std::nullopt;
        std::optional<Rec> rec;
        if (first_) {
            rec = first_;
            first_.reset();
        } else {
            if (next_ == 0 || !seen_.insert(next_).second) return End(next_ != 0);
            rec = buf_.template ReadAt<Rec>(next_);
            if (!rec) return End(true);
            address_ = next_;
        }
        next_ = rec->Next;
        return rec;
    }
    // Address of the record Next gave last (not meaningful for an embedded first record).
    uintptr_t Address() const { return address_; }
    // True when the chain ended because a record lay outside the buffer or it looped.
    bool Failed() const { return failed_; }

  private:
    std::optional<Rec> End(bool failed) {
        done_ = true;
        failed_ = failed;
        return std::nullopt;
    }

    const IpRecordBuffer& buf_;
    std::optional<Rec> first_;
    uintptr_t next_ = 0;
    uintptr_t address_ = 0;
    std::set<uintptr_t> seen_;
    bool done_ = false;
    bool failed_ = false;
};

using AdapterInfoChain = RecordChain<IpAdapterInfoRec>;
using AddrStringChain = RecordChain<IpAddrStringRec>;

// The text of a fixed-size field up to its first NUL (all of it when it has none), in the
// program's own text.
std::string FieldText(const char* field, size_t size);
template <size_t N> std::string FieldText(const char (&field)[N]) {
    return FieldText(field, N);
}

} // namespace ww
