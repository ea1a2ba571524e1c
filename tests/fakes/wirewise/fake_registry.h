#pragma once
// The registry in memory, answering like the ANSI advapi32 functions: the same statuses
// (2 missing key or value, 5 no access, 6 bad handle, 234 buffer too small with the size
// needed, 259 end of an enumeration), key names compared without regard to case, sub-keys
// enumerated in sorted order, values in the order they were first set, types and bytes kept
// exactly as stored (a trailing NUL only when it was stored).
//
// Seeding helpers take the bytes as the registry holds them (ANSI); paths are relative to one of
// the seven predefined roots and created with their parents as needed.
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "seams/registry.h"

namespace ww::test {

inline constexpr long kErrorInvalidHandle = 6;
inline constexpr long kErrorInvalidParameter = 87;
inline constexpr long kErrorBadPathname = 161;

inline constexpr uint32_t kKeyQueryValue = 0x1;
inline constexpr uint32_t kKeySetValue = 0x2;
inline constexpr uint32_t kKeyCreateSubKey = 0x4;
inline constexpr uint32_t kKeyEnumerateSubKeys = 0x8;
inline constexpr uint32_t kKeyAllAccess = 0xF003F;
// Rights a read-only key refuses: set value, create sub-key, create link, delete, DAC, owner.
inline constexpr uint32_t kKeyWriteRights = 0x2 | 0x4 | 0x20 | 0x10000 | 0x40000 | 0x80000;

class FakeRegistry final : public Registry {
  public:
    struct Value {
        uint32_t type = 0;
        std::string bytes;
        bool operator==(const Value&) const = default;
    };
    // Registry calls the fake can be told to fail.
    enum class Op { OpenKeyEx, CreateKey, QueryValueEx, SetValueEx, EnumKey, EnumValue };

    FakeRegistry();
    ~FakeRegistry() override;

    // --- seeding ---
    void SetValue(HKey root, const std::string& path, const std::string& name, uint32_t type,
                  std::string bytes);
    // REG_SZ; withNul false stores the text without its terminating NUL.
    void SetString(HKey root, const std::string& path, const std::string& name,
                   const std::string& text, bool withNul = true);
    // REG_MULTI_SZ: each item and its NUL, then the closing NUL.
    void SetMultiSz(HKey root, const std::string& path, const std::string& name,
                    const std::vector<std::string>& items);
    void SetDword(HKey root, const std::string& path, const std::string& name, uint32_t value);
    void SetBinary(HKey root, const std::string& path, const std::string& name,
                   const std::vector<uint8_t>& bytes);
    void CreateKeyPath(HKey root, const std::string& path);
    // The user may read the key but not write it: opening it with any write right gives 5, and
    // no sub-key can be created below it.
    void MarkReadOnly(HKey root, const std::string& path);
    // The key stays in its parent's enumeration but no longer opens (2), as a key deleted
    // between the two calls.
    void MarkVanishing(HKey root, const std::string& path);
    // Makes HKEY_CURRENT_USER the same key as HKEY_USERS\sid, as on Windows.
    void LinkCurrentUser(const std::string& sid);
    // Every later call of op answers status without doing anything (0 clears it).
    void FailOp(Op op, long status) { failures_[op] = status; }
    // Only the n-th SetValueEx from now on (1: the next) fails, answering status and writing
    // nothing, or raising RegistryFault when raise is set, as a crash inside the call would.
    void FailNthSet(int n, long status, bool raise = false) {
        nthSet_ = setCalls + n;
        nthSetStatus_ = status;
        nthSetRaises_ = raise;
    }
    struct RegistryFault {};
    int setCalls = 0; // SetValueEx calls so far
    // EnumValue reports this many bytes more than it writes (as far as the buffer goes), as a
    // system would that counts a terminator it does not store: what the buffer held stays there.
    uint32_t enumValueUnwritten = 0;

    // --- reading back ---
    bool KeyExists(HKey root, const std::string& path) const;
    std::optional<Value> Get(HKey root, const std::string& path, const std::string& name) const;
    std::vector<std::string> ValueNames(HKey root, const std::string& path) const;
    std::vector<std::string> SubKeyNames(HKey root, const std::string& path) const;

    // --- handle bookkeeping ---
    size_t OpenHandleCount() const { return handles_.size(); }
    // Closes of a handle that was not open (0 and the predefined roots excepted).
    int badCloses = 0;
    // Every access mask passed to OpenKeyEx, in call order.
    std::vector<uint32_t> openAccess;

    // --- Registry ---
    long OpenKeyEx(HKey root, const std::string& subKey, uint32_t options, uint32_t access,
                   HKey* result) override;
    long CreateKey(HKey root, const std::string& subKey, HKey* result) override;
    long QueryValueEx(HKey key, const std::string& valueName, uint32_t* type, uint8_t* data,
                      uint32_t* size) override;
    long SetValueEx(HKey key, const std::string& valueName, uint32_t type, const uint8_t* data,
                    uint32_t size) override;
    long EnumKey(HKey key, uint32_t index, char* name, uint32_t nameSize) override;
    long EnumValue(HKey key, uint32_t index, char* name, uint32_t* nameSize, uint32_t* type,
                   uint8_t* data, uint32_t* dataSize) override;
    long CloseKey(HKey key) override;

  private:
    struct Node;
    struct Handle {
        Node* node;
        uint32_t access;
    };

    Node* Root(HKey root) const;
    Node* Resolve(HKey key, uint32_t* access) const;
    // Walks path below from; create makes the missing keys. status gets 2, 5 or 161 on failure.
    Node* Walk(Node* from, const std::string& path, bool create, long* status) const;
    Node& Seed(HKey root, const std::string& path);
    const Node* Find(HKey root, const std::string& path) const;
    HKey NewHandle(Node* node, uint32_t access);
    long Failure(Op op) const;

    std::vector<std::unique_ptr<Node>> roots_;
    std::map<HKey, Node*> rootAlias_;
    std::map<HKey, Handle> handles_;
    std::map<Op, long> failures_;
    int nthSet_ = 0;
    long nthSetStatus_ = 0;
    bool nthSetRaises_ = false;
    HKey nextHandle_ = 0x1000;
};

} // namespace ww::test
