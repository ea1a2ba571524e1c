#include "file_checks.h"

#include <algorithm>

#include "driver.h"

namespace {

// A program file loaded as data, for its resources.
class DataFile {
  public:
    explicit DataFile(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {
        if (!module_) throw Failure("cannot open " + path);
    }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;
    ~DataFile() { FreeLibrary(module_); }
    HMODULE get() const { return module_; }
    // A resource's bytes; empty when there is none.
    std::string Bytes(LPCSTR name, LPCSTR type) const {
        std::string data;
        if (HRSRC res = FindResourceA(module_, name, type)) {
            if (HGLOBAL loaded = LoadResource(module_, res))
                data.assign(static_cast<const char*>(LockResource(loaded)),
                            SizeofResource(module_, res));
        }
        return data;
    }

  private:
    HMODULE module_;
};

BOOL CALLBACK FirstResourceProc(HMODULE, LPCSTR, LPSTR name, LONG_PTR found) {
    *reinterpret_cast<LPSTR*>(found) = name;
    return FALSE;
}

unsigned U16(const std::string& d, size_t at) {
    return static_cast<unsigned>(static_cast<unsigned char>(d[at]) |
                                 static_cast<unsigned char>(d[at + 1]) << 8);
}

unsigned U32(const std::string& d, size_t at) {
    return U16(d, at) | U16(d, at + 2) << 16;
}

// The colour and mask bits of one icon image, rows bottom up as the bitmap stores them.
struct IconBits {
    const std::string& image;
    unsigned width, height, bits;
    size_t colours, stride, maskStride;

    const unsigned char* Row(unsigned y) const {
        return reinterpret_cast<const unsigned char*>(image.data()) + 40 + 4 * colours + stride * y;
    }
    bool Masked(unsigned x, unsigned y) const {
        const unsigned char* mask = Row(height) + maskStride * y;
        return (mask[x / 8] & (0x80 >> x % 8)) != 0;
    }
    // The pixel's colour bytes: its palette entry or its own (blue, green, red[, alpha]).
    const unsigned char* Colour(unsigned x, unsigned y) const {
        const unsigned char* row = Row(y);
        if (bits > 8) return row + size_t{x} * bits / 8;
        const unsigned shift = 8 - bits - x * bits % 8;
        const unsigned index = row[size_t{x} * bits / 8] >> shift & ((1u << bits) - 1);
        return reinterpret_cast<const unsigned char*>(image.data()) + 40 + 4 * index;
    }
    bool Black(unsigned x, unsigned y) const {
        const unsigned char* c = Colour(x, y);
        return bits == 16 ? (c[0] | (c[1] & 0x7F)) == 0 : (c[0] | c[1] | c[2]) == 0;
    }
};

// Windows before XP draws every entry as (screen AND mask) XOR colour, even a 32-bit one: a
// masked pixel that is not black shows as a speck there. A 32-bit entry with alpha is drawn from
// its alpha on XP and later, through its mask before: both must agree on what is transparent.
void CheckMask(const IconBits& icon, const std::string& name) {
    bool alpha = false;
    for (unsigned y = 0; icon.bits == 32 && y < icon.height; ++y)
        for (unsigned x = 0; x < icon.width; ++x)
            alpha = alpha || icon.Colour(x, y)[3] != 0;
    for (unsigned y = 0; y < icon.height; ++y) {
        for (unsigned x = 0; x < icon.width; ++x) {
            // Pixels counted from the top left, as the picture shows them.
            const std::string at = Format(" at %u,%u", x, icon.height - 1 - y);
            if (icon.Masked(x, y) && !icon.Black(x, y))
                throw Failure(name + ": a masked pixel that is not black" + at);
            const unsigned a = alpha ? icon.Colour(x, y)[3] : 0;
            if (alpha && icon.Masked(x, y) != (a == 0))
                throw Failure(name + Format(": the mask disagrees with alpha %u", a) + at);
        }
    }
}

// One image of an icon group: a bitmap of the entry's size and depth (height doubled for the
// mask), a full palette below 16 bits, and exactly the colour and mask rows that size needs.
std::string IconImage(const DataFile& file, const std::string& dir, unsigned i) {
    const size_t at = 6 + 14 * size_t{i};
    const unsigned width =
        static_cast<unsigned char>(dir[at]) ? static_cast<unsigned char>(dir[at]) : 256;
    const unsigned height =
        static_cast<unsigned char>(dir[at + 1]) ? static_cast<unsigned char>(dir[at + 1]) : 256;
    const unsigned bits = U16(dir, at + 6);
    const unsigned id = U16(dir, at + 12);
    const std::string name = Format("%ux%ux%u", width, height, bits);
    const std::string image = file.Bytes(MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(3)); // RT_ICON
    if (image.size() < 40 || U32(image, 0) != 40) throw Failure(name + ": no bitmap header");
    if (U32(image, 4) != width || U32(image, 8) != 2 * height || U16(image, 14) != bits)
        throw Failure(name + Format(": the bitmap is %ux%u/2 at %u bits", U32(image, 4),
                                    U32(image, 8), U16(image, 14)));
    const size_t colours = bits < 16 ? (U32(image, 32) ? U32(image, 32) : 1u << bits) : 0;
    if (bits < 16 && colours != (1u << bits))
        throw Failure(name + Format(": a palette of %u colours", unsigned(colours)));
    const size_t stride = (size_t{width} * bits + 31) / 32 * 4;
    const size_t maskStride = (size_t{width} + 31) / 32 * 4;
    const size_t want = 40 + 4 * colours + (stride + maskStride) * height;
    if (image.size() != want)
        throw Failure(name +
                      Format(": %u bytes, expected %u", unsigned(image.size()), unsigned(want)));
    CheckMask({image, width, height, bits, colours, stride, maskStride}, name);
    return name;
}

} // namespace

std::string VersionText(const std::string& file, const std::string& key) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeA(file.c_str(), &ignored);
    if (size == 0) throw Failure("no version resource in " + file);
    std::vector<char> data(size);
    if (!GetFileVersionInfoA(file.c_str(), 0, size, data.data()))
        throw Failure("cannot read the version of " + file);
    void* p = nullptr;
    UINT n = 0;
    if (key == "fixed") {
        if (!VerQueryValueA(data.data(), "\\", &p, &n) || n < sizeof(VS_FIXEDFILEINFO))
            throw Failure("no fixed version");
        const auto* f = static_cast<const VS_FIXEDFILEINFO*>(p);
        return Format("%u.%u.%u.%u %u.%u.%u.%u", HIWORD(f->dwFileVersionMS),
                      LOWORD(f->dwFileVersionMS), HIWORD(f->dwFileVersionLS),
                      LOWORD(f->dwFileVersionLS), HIWORD(f->dwProductVersionMS),
                      LOWORD(f->dwProductVersionMS), HIWORD(f->dwProductVersionLS),
                      LOWORD(f->dwProductVersionLS));
    }
    if (!VerQueryValueA(data.data(), "\\VarFileInfo\\Translation", &p, &n) || n < 4)
        throw Failure("no translation block");
    const auto* lang = static_cast<const WORD*>(p);
    const std::string path =
        Format("\\StringFileInfo\\%04x%04x\\%s", lang[0], lang[1], key.c_str());
    if (!VerQueryValueA(data.data(), path.c_str(), &p, &n) || n == 0) return "";
    return std::string(static_cast<const char*>(p));
}

std::string ManifestText(const std::string& file) {
    return DataFile(file).Bytes(MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24)); // RT_MANIFEST
}

std::string IconEntries(const std::string& file) {
    const DataFile data(file);
    LPSTR group = nullptr;
    EnumResourceNamesA(data.get(), MAKEINTRESOURCEA(14), FirstResourceProc, // RT_GROUP_ICON
                       reinterpret_cast<LONG_PTR>(&group));
    if (!group) throw Failure("no icon in " + file);
    const std::string dir = data.Bytes(group, MAKEINTRESOURCEA(14));
    if (dir.size() < 6) throw Failure("a short icon directory");
    const unsigned count = U16(dir, 4);
    if (dir.size() < 6 + 14 * size_t{count}) throw Failure("a short icon directory");
    std::vector<std::string> entries;
    for (unsigned i = 0; i < count; ++i)
        entries.push_back(IconImage(data, dir, i));
    return SortedList(entries);
}

std::string SortedList(std::vector<std::string> words) {
    std::sort(words.begin(), words.end());
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : " ") + w;
    return out;
}
