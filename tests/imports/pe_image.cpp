#include "pe_image.h"

#include <cstring>

namespace pe {
namespace {

// Limits far above any real file; they only keep a damaged one from looping for long.
constexpr size_t kMaxLibraries = 1024;
constexpr size_t kMaxFunctions = 65536;
constexpr size_t kMaxName = 1024;
constexpr uint32_t kMaxManifest = 65536;
constexpr uint32_t kResourceManifest = 24;

struct Section {
    uint32_t address, virtualSize, rawOffset, rawSize;
};

class Reader {
  public:
    explicit Reader(std::string_view bytes) : bytes_(bytes) {}

    bool U16(size_t offset, uint16_t* value) const {
        if (offset > bytes_.size() || bytes_.size() - offset < 2) return false;
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + offset);
        *value = static_cast<uint16_t>(p[0] | (p[1] << 8));
        return true;
    }
    bool U32(size_t offset, uint32_t* value) const {
        if (offset > bytes_.size() || bytes_.size() - offset < 4) return false;
        const auto* p = reinterpret_cast<const unsigned char*>(bytes_.data() + offset);
        *value = static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                 (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
        return true;
    }

    void SetLayout(std::vector<Section> sections, uint32_t headerSize) {
        sections_ = std::move(sections);
        headerSize_ = headerSize;
    }

    // The file offset of an address in the loaded image, with the bytes that follow it there.
    bool Locate(uint32_t rva, size_t* offset, size_t* available) const {
        if (rva < headerSize_ && rva < bytes_.size()) {
            *offset = rva;
            *available = (headerSize_ < bytes_.size() ? headerSize_ : bytes_.size()) - rva;
            return true;
        }
        for (const Section& s : sections_) {
            if (rva < s.address || rva - s.address >= s.rawSize) continue;
            const uint64_t at = static_cast<uint64_t>(s.rawOffset) + (rva - s.address);
            const uint64_t end = static_cast<uint64_t>(s.rawOffset) + s.rawSize;
            if (at >= bytes_.size()) return false;
            *offset = static_cast<size_t>(at);
            *available = static_cast<size_t>((end < bytes_.size() ? end : bytes_.size()) - at);
            return true;
        }
        return false;
    }
    bool RvaU16(uint32_t rva, uint16_t* value) const {
        size_t at = 0, n = 0;
        return Locate(rva, &at, &n) && n >= 2 && U16(at, value);
    }
    bool RvaU32(uint32_t rva, uint32_t* value) const {
        size_t at = 0, n = 0;
        return Locate(rva, &at, &n) && n >= 4 && U32(at, value);
    }
    // A NUL-terminated name that lies whole inside one part of the file.
    bool Name(uint32_t rva, std::string* name) const {
        size_t at = 0, n = 0;
        if (!Locate(rva, &at, &n)) return false;
        const size_t limit = n < kMaxName ? n : kMaxName;
        const void* nul = std::memchr(bytes_.data() + at, '\0', limit);
        if (nul == nullptr) return false;
        name->assign(bytes_.data() + at, static_cast<const char*>(nul) - (bytes_.data() + at));
        return true;
    }

    // size bytes that lie whole inside one part of the file.
    bool Bytes(uint32_t rva, uint32_t size, std::string* out) const {
        size_t at = 0, n = 0;
        if (!Locate(rva, &at, &n) || n < size) return false;
        out->assign(bytes_.data() + at, size);
        return true;
    }

  private:
    std::string_view bytes_;
    std::vector<Section> sections_;
    uint32_t headerSize_ = 0;
};

struct Directory {
    uint32_t rva = 0, size = 0;
};

bool Fail(std::string* error, const std::string& why) {
    if (error != nullptr) *error = why;
    return false;
}

bool ReadImports(const Reader& r, Directory dir, Image* image, std::string* error) {
    if (dir.rva == 0) return true;
    for (size_t i = 0;; ++i) {
        if (i == kMaxLibraries) return Fail(error, "the import table does not end");
        const uint32_t at = dir.rva + static_cast<uint32_t>(i * 20);
        uint32_t lookup = 0, nameRva = 0, bound = 0;
        if (!r.RvaU32(at, &lookup) || !r.RvaU32(at + 12, &nameRva) || !r.RvaU32(at + 16, &bound))
            return Fail(error, "the import table lies outside the file");
        if (nameRva == 0 && bound == 0) return true;
        std::string library;
        if (!r.Name(nameRva, &library)) return Fail(error, "an imported library has no name");
        const uint32_t thunks = lookup != 0 ? lookup : bound;
        for (size_t k = 0;; ++k) {
            if (k == kMaxFunctions) return Fail(error, "the imports of " + library + " do not end");
            uint32_t thunk = 0;
            if (!r.RvaU32(thunks + static_cast<uint32_t>(k * 4), &thunk))
                return Fail(error, "the imports of " + library + " lie outside the file");
            if (thunk == 0) break;
            Import import{library, {}, 0};
            if (thunk & 0x80000000u) {
                import.ordinal = static_cast<uint16_t>(thunk & 0xFFFF);
            } else if (!r.Name(thunk + 2, &import.function) || import.function.empty()) {
                return Fail(error, "an import of " + library + " has no readable name");
            }
            image->imports.push_back(std::move(import));
        }
    }
}

bool ReadExports(const Reader& r, Directory dir, Image* image, std::string* error) {
    if (dir.rva == 0) return true;
    uint32_t base = 0, functions = 0, names = 0, functionTable = 0, nameTable = 0, ordinalTable = 0;
    if (!r.RvaU32(dir.rva + 16, &base) || !r.RvaU32(dir.rva + 20, &functions) ||
        !r.RvaU32(dir.rva + 24, &names) || !r.RvaU32(dir.rva + 28, &functionTable) ||
        !r.RvaU32(dir.rva + 32, &nameTable) || !r.RvaU32(dir.rva + 36, &ordinalTable))
        return Fail(error, "the export table lies outside the file");
    if (functions > kMaxFunctions || names > functions)
        return Fail(error, "the export table's counts do not fit");
    std::vector<std::string> nameOf(functions);
    for (uint32_t i = 0; i < names; ++i) {
        uint32_t nameRva = 0;
        uint16_t index = 0;
        if (!r.RvaU32(nameTable + i * 4, &nameRva) || !r.RvaU16(ordinalTable + i * 2, &index) ||
            index >= functions || !r.Name(nameRva, &nameOf[index]) || nameOf[index].empty())
            return Fail(error, "an exported name cannot be read");
    }
    for (uint32_t i = 0; i < functions; ++i) {
        uint32_t rva = 0;
        if (!r.RvaU32(functionTable + i * 4, &rva))
            return Fail(error, "the exported addresses lie outside the file");
        if (rva == 0) continue; // a gap in the ordinals
        Export e{nameOf[i].empty() ? "#" + std::to_string(base + i) : nameOf[i], {}};
        // An address inside the export table itself names another library's function.
        if (rva >= dir.rva && rva - dir.rva < dir.size && !r.Name(rva, &e.forwarder))
            return Fail(error, "a forwarded export cannot be read");
        image->exports.push_back(std::move(e));
    }
    return true;
}

// The first entry of the resource directory at `at` (relative to the resources' start) whose id
// is `id` (any id when id is 0): its offset, with the top bit telling a directory.
bool ResourceEntry(const Reader& r, uint32_t base, uint32_t at, uint32_t id, uint32_t* target) {
    uint16_t named = 0, ids = 0;
    if (!r.RvaU16(base + at + 12, &named) || !r.RvaU16(base + at + 14, &ids)) return false;
    for (uint32_t i = 0; i < static_cast<uint32_t>(named) + ids; ++i) {
        uint32_t name = 0;
        const uint32_t entry = base + at + 16 + i * 8;
        if (!r.RvaU32(entry, &name) || !r.RvaU32(entry + 4, target)) return false;
        if (id == 0 || name == id) return true;
    }
    return false;
}

// The manifest the loader reads: type 24, its first name, its first language. A file without
// one has none; a damaged resource table is an error.
bool ReadManifest(const Reader& r, Directory dir, Image* image, std::string* error) {
    if (dir.rva == 0) return true;
    uint32_t names = 0, languages = 0, data = 0;
    if (!ResourceEntry(r, dir.rva, 0, kResourceManifest, &names)) return true;
    if (!(names & 0x80000000u) || !ResourceEntry(r, dir.rva, names & 0x7FFFFFFFu, 0, &languages) ||
        !(languages & 0x80000000u) ||
        !ResourceEntry(r, dir.rva, languages & 0x7FFFFFFFu, 0, &data) || (data & 0x80000000u))
        return Fail(error, "the manifest's resource entries cannot be followed");
    uint32_t rva = 0, size = 0;
    if (!r.RvaU32(dir.rva + data, &rva) || !r.RvaU32(dir.rva + data + 4, &size) ||
        size > kMaxManifest || !r.Bytes(rva, size, &image->manifest))
        return Fail(error, "the manifest lies outside the file");
    return true;
}

} // namespace

std::optional<Image> ReadImage(std::string_view bytes, std::string* error) {
    const Reader r(bytes);
    Image image;
    uint16_t mz = 0;
    uint32_t peOffset = 0, signature = 0;
    if (!r.U16(0, &mz) || mz != 0x5A4D || !r.U32(0x3C, &peOffset)) {
        Fail(error, "no program file (no MZ header)");
        return std::nullopt;
    }
    if (!r.U32(peOffset, &signature) || signature != 0x4550) {
        Fail(error, "no PE header");
        return std::nullopt;
    }
    const size_t coff = static_cast<size_t>(peOffset) + 4;
    uint16_t sectionCount = 0, optionalSize = 0, characteristics = 0, magic = 0;
    if (!r.U16(coff, &image.machine) || !r.U16(coff + 2, &sectionCount) ||
        !r.U16(coff + 16, &optionalSize) || !r.U16(coff + 18, &characteristics)) {
        Fail(error, "the file header is cut short");
        return std::nullopt;
    }
    image.dll = (characteristics & 0x2000) != 0;
    const size_t opt = coff + 20;
    if (!r.U16(opt, &magic) || magic != 0x10B) {
        Fail(error, "no 32-bit optional header");
        return std::nullopt;
    }
    uint32_t headerSize = 0, directoryCount = 0;
    if (optionalSize < 96 || !r.U16(opt + 40, &image.osMajor) || !r.U16(opt + 42, &image.osMinor) ||
        !r.U16(opt + 48, &image.subsystemMajor) || !r.U16(opt + 50, &image.subsystemMinor) ||
        !r.U32(opt + 60, &headerSize) || !r.U16(opt + 68, &image.subsystem) ||
        !r.U32(opt + 92, &directoryCount)) {
        Fail(error, "the optional header is cut short");
        return std::nullopt;
    }
    Directory directories[16];
    const uint32_t usable = directoryCount < 16 ? directoryCount : 16;
    if (96 + static_cast<size_t>(usable) * 8 > optionalSize) {
        Fail(error, "the data directories do not fit the optional header");
        return std::nullopt;
    }
    for (uint32_t i = 0; i < usable; ++i) {
        if (!r.U32(opt + 96 + i * 8, &directories[i].rva) ||
            !r.U32(opt + 100 + i * 8, &directories[i].size)) {
            Fail(error, "the data directories are cut short");
            return std::nullopt;
        }
    }
    std::vector<Section> sections;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const size_t at = opt + optionalSize + static_cast<size_t>(i) * 40;
        Section s{};
        if (!r.U32(at + 8, &s.virtualSize) || !r.U32(at + 12, &s.address) ||
            !r.U32(at + 16, &s.rawSize) || !r.U32(at + 20, &s.rawOffset)) {
            Fail(error, "the section table is cut short");
            return std::nullopt;
        }
        sections.push_back(s);
    }
    Reader mapped(bytes);
    mapped.SetLayout(std::move(sections), headerSize);
    if (!ReadImports(mapped, directories[1], &image, error) ||
        !ReadExports(mapped, directories[0], &image, error) ||
        !ReadManifest(mapped, directories[2], &image, error))
        return std::nullopt;
    image.delayImports = directories[13].rva != 0;
    return image;
}

} // namespace pe
