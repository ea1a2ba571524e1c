#include "pe_builder.h"

#include <cstring>

namespace imports::testing {
namespace {

class Bytes {
  public:
    size_t size() const { return data_.size(); }
    size_t Add(size_t n) {
        const size_t at = data_.size();
        data_.resize(at + n, '\0');
        return at;
    }
    size_t AddText(const std::string& text) {
        const size_t at = Add(text.size() + 1);
        std::memcpy(data_.data() + at, text.data(), text.size());
        return at;
    }
    void Put16(size_t at, uint32_t v) {
        data_[at] = static_cast<char>(v & 0xFF);
        data_[at + 1] = static_cast<char>((v >> 8) & 0xFF);
    }
    void Put32(size_t at, uint32_t v) {
        Put16(at, v & 0xFFFF);
        Put16(at + 2, v >> 16);
    }
    void Align(size_t n) { Add((n - data_.size() % n) % n); }
    const std::string& data() const { return data_; }
    std::string& data() { return data_; }

  private:
    std::string data_;
};

uint32_t Rva(size_t sectionOffset) {
    return kSectionRva + static_cast<uint32_t>(sectionOffset);
}

} // namespace

std::string BuildPe(const PeLayout& layout) {
    // The section: a little code, the import table, then the export table.
    Bytes s;
    s.Add(16);
    size_t importDir = 0, importSize = 0;
    if (!layout.imports.empty()) {
        importDir = s.Add(20 * (layout.imports.size() + 1));
        importSize = 20 * (layout.imports.size() + 1);
        for (size_t i = 0; i < layout.imports.size(); ++i) {
            const auto& [library, functions] = layout.imports[i];
            const size_t thunks = s.Add(4 * (functions.size() + 1));
            for (size_t k = 0; k < functions.size(); ++k) {
                const std::string& fn = functions[k];
                if (!fn.empty() && fn[0] == '#') {
                    s.Put32(thunks + 4 * k,
                            0x80000000u | static_cast<uint32_t>(std::stoul(fn.substr(1))));
                } else {
                    const size_t hint = s.Add(2);
                    s.AddText(fn);
                    s.Put32(thunks + 4 * k, Rva(hint));
                }
            }
            const size_t name = s.AddText(library);
            const size_t d = importDir + 20 * i;
            s.Put32(d, Rva(thunks));
            s.Put32(d + 12, Rva(name));
            s.Put32(d + 16, Rva(thunks));
        }
    }
    size_t exportDir = 0, exportSize = 0;
    if (!layout.exports.empty()) {
        s.Align(4);
        exportDir = s.Add(40);
        const size_t n = layout.exports.size();
        const size_t functions = s.Add(4 * n), names = s.Add(4 * n), ordinals = s.Add(2 * n);
        s.Put32(exportDir + 16, 1);
        s.Put32(exportDir + 20, static_cast<uint32_t>(n));
        s.Put32(exportDir + 24, static_cast<uint32_t>(n));
        s.Put32(exportDir + 28, Rva(functions));
        s.Put32(exportDir + 32, Rva(names));
        s.Put32(exportDir + 36, Rva(ordinals));
        for (size_t i = 0; i < n; ++i) {
            const auto& [name, forwarder] = layout.exports[i];
            s.Put32(names + 4 * i, Rva(s.AddText(name)));
            s.Put16(ordinals + 2 * i, static_cast<uint32_t>(i));
            s.Put32(functions + 4 * i, forwarder.empty() ? Rva(0) : Rva(s.AddText(forwarder)));
        }
        exportSize = s.size() - exportDir;
    }
    size_t resourceDir = 0, resourceSize = 0;
    if (!layout.manifest.empty()) {
        // Three levels of one entry each (type 24, name 1, language 0x409), then the data entry.
        s.Align(4);
        resourceDir = s.Add(3 * 24 + 16);
        const uint32_t ids[] = {24, 1, 0x409};
        for (uint32_t level = 0; level < 3; ++level) {
            const size_t dir = resourceDir + 24 * level;
            s.Put16(dir + 14, 1);
            s.Put32(dir + 16, ids[level]);
            s.Put32(dir + 20, (level < 2 ? 0x80000000u : 0u) | (24 * (level + 1)));
        }
        const size_t data = s.Add(layout.manifest.size());
        std::memcpy(s.data().data() + data, layout.manifest.data(), layout.manifest.size());
        s.Put32(resourceDir + 72, Rva(data));
        s.Put32(resourceDir + 76, static_cast<uint32_t>(layout.manifest.size()));
        resourceSize = s.size() - resourceDir;
    }
    s.Align(0x200);

    Bytes f;
    f.Add(kSectionFileOffset);
    f.Put16(0, 0x5A4D);
    f.Put32(0x3C, kPeHeaderOffset);
    f.Put32(kPeHeaderOffset, 0x4550);
    const size_t coff = kPeHeaderOffset + 4;
    f.Put16(coff, layout.machine);
    f.Put16(coff + 2, 1);
    f.Put16(coff + 16, 224);
    f.Put16(coff + 18, 0x0102 | (layout.dll ? 0x2000 : 0));
    const size_t opt = coff + 20;
    f.Put16(opt, 0x10B);
    f.Put16(opt + 40, layout.osMajor);
    f.Put16(opt + 42, layout.osMinor);
    f.Put16(opt + 48, layout.subsystemMajor);
    f.Put16(opt + 50, layout.subsystemMinor);
    f.Put32(opt + 60, static_cast<uint32_t>(kSectionFileOffset));
    f.Put16(opt + 68, 2);
    f.Put32(opt + 92, 16);
    if (!layout.exports.empty()) {
        f.Put32(opt + 96, Rva(exportDir));
        f.Put32(opt + 100, static_cast<uint32_t>(exportSize));
    }
    if (!layout.imports.empty()) {
        f.Put32(opt + 104, Rva(importDir));
        f.Put32(opt + 108, static_cast<uint32_t>(importSize));
    }
    if (!layout.manifest.empty()) {
        f.Put32(opt + 112, Rva(resourceDir));
        f.Put32(opt + 116, static_cast<uint32_t>(resourceSize));
    }
    if (layout.delayImports) {
        f.Put32(opt + 96 + 13 * 8, Rva(0));
        f.Put32(opt + 100 + 13 * 8, 32);
    }
    const size_t section = opt + 224;
    std::memcpy(f.data().data() + section, ".rdata", 6);
    f.Put32(section + 8, static_cast<uint32_t>(s.size()));
    f.Put32(section + 12, kSectionRva);
    f.Put32(section + 16, static_cast<uint32_t>(s.size()));
    f.Put32(section + 20, static_cast<uint32_t>(kSectionFileOffset));
    return f.data() + s.data();
}

} // namespace imports::testing
