#include "fakes/wirewise/fake_registry.h"

#include <algorithm>
#include <cstring>
#include <iterator>
#include <stdexcept>

namespace ww::test {
namespace {

std::string Upper(std::string s) {
    for (char& c : s)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return s;
}

bool IsPredefined(HKey key) {
    return key >= kHkeyClassesRoot && key <= kHkeyDynData;
}

} // namespace

struct FakeRegistry::Node {
    std::string name;
    Node* parent = nullptr;
    bool readOnly = false;
    bool vanishing = false;
    // Keyed by the upper-cased name, which is also the order Windows enumerates sub-keys in.
    std::map<std::string, std::unique_ptr<Node>> children;
    std::vector<std::pair<std::string, Value>> values;

    bool ReadOnly() const { return readOnly || (parent != nullptr && parent->ReadOnly()); }
    std::pair<std::string, Value>* FindValue(const std::string& valueName) {
        const std::string key = Upper(valueName);
        for (auto& v : values)
            if (Upper(v.first) == key) return &v;
        return nullptr;
    }
};

FakeRegistry::FakeRegistry() {
    for (HKey k = kHkeyClassesRoot; k <= kHkeyDynData; ++k)
        roots_.push_back(std::make_unique<Node>());
}

FakeRegistry::~FakeRegistry() = default;

FakeRegistry::Node* FakeRegistry::Root(HKey root) const {
    if (!IsPredefined(root)) return nullptr;
    auto alias = rootAlias_.find(root);
    if (alias != rootAlias_.end()) return alias->second;
    return roots_[root - kHkeyClassesRoot].get();
}

FakeRegistry::Node* FakeRegistry::Resolve(HKey key, uint32_t* access) const {
    if (IsPredefined(key)) {
        *access = kKeyAllAccess;
        return Root(key);
    }
    auto it = handles_.find(key);
    if (it == handles_.end()) return nullptr;
    *access = it->second.access;
    return it->second.node;
}

FakeRegistry::Node* FakeRegistry::Walk(Node* from, const std::string& path, bool create,
                                       long* status) const {
    *status = kErrorSuccess;
    if (!path.empty() && path.front() == '\\') {
        *status = kErrorBadPathname;
        return nullptr;
    }
    Node* node = from;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty()) {
            *status = kErrorBadPathname;
            return nullptr;
        }
        auto it = node->children.find(Upper(part));
        if (it != node->children.end() && it->second->vanishing && !create) {
            *status = kErrorFileNotFound;
            return nullptr;
        }
        if (it != node->children.end()) {
            node = it->second.get();
            continue;
        }
        if (!create) {
            *status = kErrorFileNotFound;
            return nullptr;
        }
        if (node->ReadOnly()) {
            *status = kErrorAccessDenied;
            return nullptr;
        }
        auto child = std::make_unique<Node>();
        child->name = part;
        child->parent = node;
        Node* raw = child.get();
        node->children.emplace(Upper(part), std::move(child));
        node = raw;
    }
    return node;
}

FakeRegistry::Node& FakeRegistry::Seed(HKey root, const std::string& path) {
    Node* r = Root(root);
    if (r == nullptr) throw std::invalid_argument("not a predefined root");
    // Seeding ignores read-only marks so tests can fill keys after marking them.
    Node* node = r;
    size_t start = 0;
    while (start < path.size()) {
        size_t end = path.find('\\', start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part.empty()) continue;
        auto& slot = node->children[Upper(part)];
        if (!slot) {
            slot = std::make_unique<Node>();
            slot->name = part;
            slot->parent = node;
        }
        node = slot.get();
    }
    return *node;
}

const FakeRegistry::Node* FakeRegistry::Find(HKey root, const std::string& path) const {
    Node* r = Root(root);
    if (r == nullptr) return nullptr;
    long status = 0;
    return Walk(r, path, false, &status);
}

HKey FakeRegistry::NewHandle(Node* node, uint32_t access) {
    const HKey h = nextHandle_;
    nextHandle_ += 4;
    handles_[h] = Handle{node, access};
    return h;
}

long FakeRegistry::Failure(Op op) const {
    auto it = failures_.find(op);
    return it == failures_.end() ? kErrorSuccess : it->second;
}

void FakeRegistry::SetValue(HKey root, const std::string& path, const std::string& name,
                            uint32_t type, std::string bytes) {
    Node& node = Seed(root, path);
    if (auto* v = node.FindValue(name)) {
        v->second = Value{type, std::move(bytes)};
        return;
    }
    node.values.emplace_back(name, Value{type, std::move(bytes)});
}

void FakeRegistry::SetString(HKey root, const std::string& path, const std::string& name,
                             const std::string& text, bool withNul) {
    SetValue(root, path, name, 1, withNul ? text + std::string(1, '\0') : text);
}

void FakeRegistry::SetMultiSz(HKey root, const std::string& path, const std::string& name,
                              const std::vector<std::string>& items) {
    std::string bytes;
    for (const auto& item : items)
        bytes += item + std::string(1, '\0');
    bytes += '\0';
    SetValue(root, path, name, 7, bytes);
}

void FakeRegistry::SetDword(HKey root, const std::string& path, const std::string& name,
                            uint32_t value) {
    std::string bytes(4, '\0');
    for (int i = 0; i < 4; ++i)
        bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
    SetValue(root, path, name, 4, bytes);
}

void FakeRegistry::SetBinary(HKey root, const std::string& path, const std::string& name,
                             const std::vector<uint8_t>& bytes) {
    SetValue(root, path, name, 3, std::string(bytes.begin(), bytes.end()));
}

void FakeRegistry::CreateKeyPath(HKey root, const std::string& path) {
    Seed(root, path);
}

void FakeRegistry::MarkReadOnly(HKey root, const std::string& path) {
    Seed(root, path).readOnly = true;
}

void FakeRegistry::MarkVanishing(HKey root, const std::string& path) {
    Seed(root, path).vanishing = true;
}

void FakeRegistry::LinkCurrentUser(const std::string& sid) {
    Node& user = Seed(kHkeyUsers, sid);
    rootAlias_[kHkeyCurrentUser] = &user;
}

bool FakeRegistry::KeyExists(HKey root, const std::string& path) const {
    return Find(root, path) != nullptr;
}

std::optional<FakeRegistry::Value> FakeRegistry::Get(HKey root, const std::string& path,
                                                     const std::string& name) const {
    Node* node = const_cast<Node*>(Find(root, path));
    if (node == nullptr) return std::nullopt;
    auto* v = node->FindValue(name);
    if (v == nullptr) return std::nullopt;
    return v->second;
}

std::vector<std::string> FakeRegistry::ValueNames(HKey root, const std::string& path) const {
    std::vector<std::string> names;
    if (const Node* node = Find(root, path))
        for (const auto& v : node->values)
            names.push_back(v.first);
    return names;
}

std::vector<std::string> FakeRegistry::SubKeyNames(HKey root, const std::string& path) const {
    std::vector<std::string> names;
    if (const Node* node = Find(root, path))
        for (const auto& c : node->children)
            names.push_back(c.second->name);
    return names;
}

long FakeRegistry::OpenKeyEx(HKey root, const std::string& subKey, uint32_t, uint32_t access,
                             HKey* result) {
    openAccess.push_back(access);
    *result = 0;
    if (long f = Failure(Op::OpenKeyEx)) return f;
    uint32_t parentAccess = 0;
    Node* from = Resolve(root, &parentAccess);
    if (from == nullptr) return kErrorInvalidHandle;
    if (subKey.empty() && IsPredefined(root)) {
        *result = root;
        return kErrorSuccess;
    }
    long status = 0;
    Node* node = Walk(from, subKey, false, &status);
    if (node == nullptr) return status;
    if (node->ReadOnly() && (access & kKeyWriteRights) != 0) return kErrorAccessDenied;
    *result = NewHandle(node, access);
    return kErrorSuccess;
}

long FakeRegistry::CreateKey(HKey root, const std::string& subKey, HKey* result) {
    *result = 0;
    if (long f = Failure(Op::CreateKey)) return f;
    uint32_t parentAccess = 0;
    Node* from = Resolve(root, &parentAccess);
    if (from == nullptr) return kErrorInvalidHandle;
    if (subKey.empty() && IsPredefined(root)) {
        *result = root;
        return kErrorSuccess;
    }
    long status = 0;
    Node* node = Walk(from, subKey, true, &status);
    if (node == nullptr) return status;
    // RegCreateKeyA asks for the most access allowed: a read-only key opens for reading.
    *result = NewHandle(node, node->ReadOnly() ? kKeyRead : kKeyAllAccess);
    return kErrorSuccess;
}

long FakeRegistry::QueryValueEx(HKey key, const std::string& valueName, uint32_t* type,
                                uint8_t* data, uint32_t* size) {
    if (long f = Failure(Op::QueryValueEx)) return f;
    uint32_t access = 0;
    Node* node = Resolve(key, &access);
    if (node == nullptr) return kErrorInvalidHandle;
    if ((access & kKeyQueryValue) == 0) return kErrorAccessDenied;
    if (data != nullptr && size == nullptr) return kErrorInvalidParameter;
    auto* v = node->FindValue(valueName);
    if (v == nullptr) return kErrorFileNotFound;
    const auto len = static_cast<uint32_t>(v->second.bytes.size());
    if (type != nullptr) *type = v->second.type;
    if (data == nullptr) {
        if (size != nullptr) *size = len;
        return kErrorSuccess;
    }
    if (*size < len) {
        *size = len;
        return kErrorMoreData;
    }
    if (len > 0) std::memcpy(data, v->second.bytes.data(), len);
    *size = len;
    return kErrorSuccess;
}

long FakeRegistry::SetValueEx(HKey key, const std::string& valueName, uint32_t type,
                              const uint8_t* data, uint32_t size) {
    if (++setCalls == nthSet_) {
        if (nthSetRaises_) throw RegistryFault{};
        return nthSetStatus_;
    }
    if (long f = Failure(Op::SetValueEx)) return f;
    uint32_t access = 0;
    Node* node = Resolve(key, &access);
    if (node == nullptr) return kErrorInvalidHandle;
    if ((access & kKeySetValue) == 0) return kErrorAccessDenied;
    if (data == nullptr && size > 0) return kErrorInvalidParameter;
    std::string bytes = size > 0 ? std::string(reinterpret_cast<const char*>(data), size) : "";
    if (auto* v = node->FindValue(valueName)) {
        v->second = Value{type, std::move(bytes)};
    } else {
        node->values.emplace_back(valueName, Value{type, std::move(bytes)});
    }
    return kErrorSuccess;
}

long FakeRegistry::EnumKey(HKey key, uint32_t index, char* name, uint32_t nameSize) {
    if (long f = Failure(Op::EnumKey)) return f;
    uint32_t access = 0;
    Node* node = Resolve(key, &access);
    if (node == nullptr) return kErrorInvalidHandle;
    if ((access & kKeyEnumerateSubKeys) == 0) return kErrorAccessDenied;
    if (name == nullptr) return kErrorInvalidParameter;
    if (index >= node->children.size()) return kErrorNoMoreItems;
    const std::string& childName = std::next(node->children.begin(), index)->second->name;
    if (childName.size() + 1 > nameSize) return kErrorMoreData;
    std::memcpy(name, childName.c_str(), childName.size() + 1);
    return kErrorSuccess;
}

long FakeRegistry::EnumValue(HKey key, uint32_t index, char* name, uint32_t* nameSize,
                             uint32_t* type, uint8_t* data, uint32_t* dataSize) {
    if (long f = Failure(Op::EnumValue)) return f;
    uint32_t access = 0;
    Node* node = Resolve(key, &access);
    if (node == nullptr) return kErrorInvalidHandle;
    if ((access & kKeyQueryValue) == 0) return kErrorAccessDenied;
    if (name == nullptr || nameSize == nullptr) return kErrorInvalidParameter;
    if (data != nullptr && dataSize == nullptr) return kErrorInvalidParameter;
    if (index >= node->values.size()) return kErrorNoMoreItems;
    const auto& [valueName, value] = node->values[index];
    const auto len = static_cast<uint32_t>(value.bytes.size());
    if (valueName.size() + 1 > *nameSize) return kErrorMoreData;
    if (data != nullptr && *dataSize < len) {
        *dataSize = len;
        return kErrorMoreData;
    }
    std::memcpy(name, valueName.c_str(), valueName.size() + 1);
    *nameSize = static_cast<uint32_t>(valueName.size());
    if (type != nullptr) *type = value.type;
    if (data != nullptr && len > 0) std::memcpy(data, value.bytes.data(), len);
    if (dataSize != nullptr)
        *dataSize = data != nullptr ? std::min(len + enumValueUnwritten, *dataSize) : len;
    return kErrorSuccess;
}

long FakeRegistry::CloseKey(HKey key) {
    if (key == 0) return kErrorInvalidHandle;
    if (IsPredefined(key)) return kErrorSuccess;
    if (handles_.erase(key) == 0) {
        ++badCloses;
        return kErrorInvalidHandle;
    }
    return kErrorSuccess;
}

} // namespace ww::test
