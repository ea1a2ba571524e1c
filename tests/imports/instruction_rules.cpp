#include "instruction_rules.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <iterator>
#include <map>

namespace instructions {
namespace {

// Instructions beyond the Pentium Pro that name no MMX or vector register: MMX and 3DNow! state,
// SSE's fences, prefetches and control word, SSE3's fisttp and monitor, and the general
// instructions of later processors (counts, byte moves, BMI, random numbers, XSAVE). Not tzcnt:
// its bytes are "rep bsf", which every older processor runs as bsf, and GCC writes it (for its
// generic tuning) for a count of trailing zeros, whose result for a zero operand, the one case
// in which the two differ, is undefined anyway.
constexpr std::string_view kAboveFloor[] = {
    "emms",       "femms",   "prefetch", "prefetchw", "prefetchnta", "prefetcht0", "prefetcht1",
    "prefetcht2", "sfence",  "lfence",   "mfence",    "clflush",     "clflushopt", "clwb",
    "movnti",     "ldmxcsr", "stmxcsr",  "fxsave",    "fxrstor",     "fisttp",     "monitor",
    "mwait",      "popcnt",  "lzcnt",    "movbe",     "crc32",       "andn",       "bextr",
    "blsi",       "blsmsk",  "blsr",     "bzhi",      "pdep",        "pext",       "rorx",
    "sarx",       "shlx",    "shrx",     "adcx",      "adox",        "rdrand",     "rdseed",
    "xgetbv",     "xsave",   "xrstor",   "xsaveopt",  "rdtscp",      "vzeroupper", "vzeroall"};

// Words objdump writes before a mnemonic.
constexpr std::string_view kPrefixes[] = {
    "rep", "repz", "repnz", "repe", "repne", "lock",    "data16", "addr16",   "cs",
    "ds",  "es",   "fs",    "gs",   "ss",    "notrack", "bnd",    "xacquire", "xrelease"};

// The operand size suffixes of AT&T mnemonics.
constexpr std::string_view kSuffixes[] = {"b", "w", "l", "q", "s", "ll"};

template <size_t N> bool Contains(const std::string_view (&list)[N], std::string_view word) {
    return std::find(std::begin(list), std::end(list), word) != std::end(list);
}

bool IsAboveFloorMnemonic(std::string_view mnemonic) {
    if (Contains(kAboveFloor, mnemonic)) return true;
    for (std::string_view suffix : kSuffixes) {
        if (mnemonic.size() > suffix.size() && mnemonic.ends_with(suffix) &&
            Contains(kAboveFloor, mnemonic.substr(0, mnemonic.size() - suffix.size())))
            return true;
    }
    return false;
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.front())))
        text.remove_prefix(1);
    while (!text.empty() && std::isspace(static_cast<unsigned char>(text.back())))
        text.remove_suffix(1);
    return text;
}

std::vector<std::string_view> Words(std::string_view text) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        const size_t start = i;
        while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i])))
            ++i;
        if (i > start) words.push_back(text.substr(start, i - start));
    }
    return words;
}

bool IsHex(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c));
    });
}

// A number written 0x..., at most 32 bits.
std::optional<uint32_t> ParseHex(std::string_view text) {
    if (text.starts_with("0x")) text.remove_prefix(2);
    if (!IsHex(text)) return std::nullopt;
    while (text.size() > 1 && text.front() == '0')
        text.remove_prefix(1);
    if (text.size() > 8) return std::nullopt;
    return static_cast<uint32_t>(std::strtoul(std::string(text).c_str(), nullptr, 16));
}

// The address and the instruction text of a disassembly line; nullopt for any other line.
std::optional<std::pair<uint32_t, std::string_view>> SplitInstruction(std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const auto address = ParseHex(Trim(line.substr(0, colon)));
    if (!address || Trim(line.substr(0, colon)).starts_with("0x")) return std::nullopt;
    return std::make_pair(*address, Trim(line.substr(colon + 1)));
}

// The first MMX or vector register the operands name, with its kind.
std::optional<std::string> RegisterAboveFloor(std::string_view operands) {
    static constexpr struct {
        std::string_view prefix;
        const char* kind;
    } kRegisters[] = {{"%mm", "MMX"},
                      {"%xmm", "SSE"},
                      {"%ymm", "AVX"},
                      {"%zmm", "AVX-512"},
                      {"%k", "AVX-512 mask"}};
    for (size_t at = operands.find('%'); at != std::string_view::npos;
         at = operands.find('%', at + 1)) {
        for (const auto& r : kRegisters) {
            const std::string_view rest = operands.substr(at);
            if (!rest.starts_with(r.prefix) || rest.size() <= r.prefix.size() ||
                !std::isdigit(static_cast<unsigned char>(rest[r.prefix.size()])))
                continue;
            size_t end = r.prefix.size();
            while (end < rest.size() && std::isdigit(static_cast<unsigned char>(rest[end])))
                ++end;
            return std::string(r.kind) + " register " + std::string(rest.substr(0, end));
        }
    }
    return std::nullopt;
}

std::string Hex(uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text = "0x";
    bool started = false;
    for (int shift = 28; shift >= 0; shift -= 4) {
        const uint32_t digit = (value >> shift) & 0xF;
        if (digit == 0 && !started && shift > 0) continue;
        started = true;
        text += kDigits[digit];
    }
    return text;
}

// The function an input section holds when it is one of -ffunction-sections: ".text$name".
std::string SectionFunction(std::string_view section) {
    for (std::string_view prefix : {".text$", ".text."})
        if (section.starts_with(prefix) && section.size() > prefix.size())
            return std::string(section.substr(prefix.size()));
    return std::string(section);
}

// A statement of the linker script in a map line: "__image_base__ = 0x400000",
// "PROVIDE (etext = .)". A demangled name may hold "=" (operator=), never after a plain name.
bool IsAssignment(std::string_view text) {
    if (text.starts_with("PROVIDE")) return true;
    const size_t name =
        text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789_.$");
    return name != 0 && name != std::string_view::npos && text.substr(name).starts_with(" = ");
}

struct InputSection {
    std::string name, file;
    uint32_t start = 0, size = 0;
    std::map<uint32_t, std::string> symbols;
};

// The file of an input section without its folder: "crt2.o", "libstdc++.a(string-inst.o)".
std::string FileName(std::string_view path) {
    const size_t paren = path.find('(');
    const size_t slash = path.substr(0, paren).find_last_of('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

void AddRegions(const InputSection& in, std::vector<Region>* regions) {
    if (in.size == 0) return;
    const bool code = !in.name.starts_with(".gcc_except_table");
    const uint32_t end = in.start + in.size;
    uint32_t at = in.start;
    std::string name = SectionFunction(in.name);
    for (const auto& [address, symbol] : in.symbols) {
        if (address < in.start || address >= end) continue;
        if (address > at) regions->push_back({at, address - at, name, in.file, code});
        at = address;
        name = symbol;
    }
    regions->push_back({at, end - at, name, in.file, code});
}

} // namespace

std::optional<std::string> AboveFloor(std::string_view line) {
    const auto instruction = SplitInstruction(line);
    if (!instruction) return std::nullopt;
    const std::vector<std::string_view> words = Words(instruction->second);
    size_t i = 0;
    while (i < words.size() && Contains(kPrefixes, words[i]))
        ++i;
    if (i == words.size()) return std::nullopt;
    const std::string_view mnemonic = words[i];
    const size_t operandsAt =
        static_cast<size_t>(mnemonic.data() - instruction->second.data()) + mnemonic.size();
    const std::string_view operands = instruction->second.substr(operandsAt);
    if (const auto reg = RegisterAboveFloor(operands))
        return std::string(mnemonic) + " (" + *reg + ")";
    if (IsAboveFloorMnemonic(mnemonic))
        return std::string(mnemonic) + " (MMX, SSE or later instruction)";
    return std::nullopt;
}

std::optional<TextMap> ParseMap(std::string_view map, std::string* error) {
    const size_t body = map.find("Linker script and memory map");
    if (body == std::string_view::npos) {
        *error = "no memory map in it";
        return std::nullopt;
    }
    map.remove_prefix(body);
    TextMap text;
    bool inText = false, sawText = false;
    std::optional<InputSection> current;
    std::string pendingName; // an input section whose name stood alone on its line
    const auto flush = [&] {
        if (current) AddRegions(*current, &text.regions);
        current.reset();
    };
    while (!map.empty()) {
        const size_t end = map.find('\n');
        std::string_view line = map.substr(0, end);
        map = end == std::string_view::npos ? std::string_view() : map.substr(end + 1);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        if (line.empty()) continue;
        const std::vector<std::string_view> words = Words(line);
        if (line.front() == '.') { // an output section
            flush();
            inText = words[0] == ".text";
            if (inText) {
                sawText = true;
                const auto start = words.size() > 1 ? ParseHex(words[1]) : std::nullopt;
                const auto size = words.size() > 2 ? ParseHex(words[2]) : std::nullopt;
                if (!start || !size) {
                    *error = "no address and size on the line of .text";
                    return std::nullopt;
                }
                text.start = *start;
                text.size = *size;
            }
            continue;
        }
        if (!inText || words.empty()) continue;
        if (line.front() != ' ') { // another statement of the script ends the section
            flush();
            inText = false;
            continue;
        }
        if (line.size() > 1 && line[1] != ' ') { // an input section, or a pattern or fill
            flush();
            pendingName.clear();
            if (line[1] == '*') continue;
            if (words.size() == 1) {
                pendingName = std::string(words[0]);
                continue;
            }
            const auto start = ParseHex(words[1]);
            const auto size = words.size() > 2 ? ParseHex(words[2]) : std::nullopt;
            if (!start || !size) continue;
            current = InputSection{std::string(words[0]),
                                   words.size() > 3 ? FileName(words[3]) : "",
                                   *start,
                                   *size,
                                   {}};
            continue;
        }
        // An indented line: the address and size of a section named on the line before, or a
        // symbol of the current one (C++ names as the linker demangles them, spaces and all);
        // an assignment of the script is neither.
        const auto address = ParseHex(words[0]);
        if (!address || words.size() < 2) continue;
        if (!pendingName.empty()) {
            const auto size = ParseHex(words[1]);
            if (size)
                current = InputSection{
                    pendingName, words.size() > 2 ? FileName(words[2]) : "", *address, *size, {}};
            pendingName.clear();
            continue;
        }
        const std::string_view symbol =
            Trim(line.substr(static_cast<size_t>(words[0].data() - line.data()) + words[0].size()));
        if (current && !IsAssignment(symbol)) current->symbols.emplace(*address, symbol);
    }
    flush();
    if (!sawText) {
        *error = "no .text section in it";
        return std::nullopt;
    }
    std::stable_sort(text.regions.begin(), text.regions.end(),
                     [](const Region& a, const Region& b) { return a.start < b.start; });
    return text;
}

std::vector<std::string> CheckCode(const std::string& fileName, std::string_view disassembly,
                                   const TextMap& map, const std::vector<Allowed>& allowed,
                                   Passed* passed) {
    std::vector<std::string> faults;
    Passed local;
    // The section table comes first: "  0 .text  00061f30  00401000  00401000 ...".
    std::optional<uint32_t> size, start;
    bool inText = false;
    struct Finding {
        uint32_t address;
        std::string what;
        int count;
    };
    std::map<const Region*, Finding> found;
    std::vector<const Region*> order;
    size_t outside = 0;
    uint32_t outsideAt = 0;
    std::string outsideWhat;
    std::string_view rest = disassembly;
    while (!rest.empty()) {
        const size_t end = rest.find('\n');
        const std::string_view line = rest.substr(0, end);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
        const std::vector<std::string_view> words = Words(line);
        if (!start && words.size() >= 4 && words[1] == ".text" && IsHex(words[0])) {
            size = ParseHex(words[2]);
            start = ParseHex(words[3]);
            continue;
        }
        if (line.starts_with("Disassembly of section ")) {
            inText = line == "Disassembly of section .text:";
            continue;
        }
        if (!inText) continue;
        const auto reason = AboveFloor(line);
        if (!reason) continue;
        const uint32_t address = SplitInstruction(line)->first;
        const auto after =
            std::upper_bound(map.regions.begin(), map.regions.end(), address,
                             [](uint32_t a, const Region& r) { return a < r.start; });
        const Region* region = nullptr;
        if (after != map.regions.begin()) {
            const Region& r = *std::prev(after);
            if (address - r.start < r.size) region = &r;
        }
        if (region == nullptr) {
            if (outside++ == 0) {
                outsideAt = address;
                outsideWhat = *reason;
            }
            continue;
        }
        if (!region->code) {
            ++local.tables;
            continue;
        }
        if (std::any_of(allowed.begin(), allowed.end(),
                        [&](const Allowed& a) { return region->name == a.function; })) {
            ++local.allowed;
            continue;
        }
        auto [it, inserted] = found.try_emplace(region, Finding{address, *reason, 0});
        if (inserted) order.push_back(region);
        ++it->second.count;
    }
    if (!start || !size) {
        faults.push_back(fileName + ": its disassembly has no .text section");
        return faults;
    }
    // The map gives the section's size rounded up to the file alignment, 512 bytes.
    constexpr uint32_t kFileAlignment = 0x200;
    const uint64_t rounded =
        (uint64_t{*size} + kFileAlignment - 1) / kFileAlignment * kFileAlignment;
    if (passed != nullptr) {
        passed->allowed += local.allowed;
        passed->tables += local.tables;
    }
    if (*start != map.start || rounded != map.size) {
        faults.push_back(fileName + ": .text at " + Hex(*start) + ", " + Hex(*size) +
                         " bytes, but its map says " + Hex(map.start) + ", " + Hex(map.size) +
                         " bytes: the map is not of this file");
        return faults;
    }
    for (const Region* region : order) {
        const Finding& f = found.at(region);
        faults.push_back(fileName + ": " + region->name + " (" + region->file + ") has " +
                         std::to_string(f.count) + " instruction" + (f.count == 1 ? "" : "s") +
                         " above the i686 floor, the first at " + Hex(f.address) + ": " + f.what);
    }
    if (outside > 0)
        faults.push_back(fileName + ": " + std::to_string(outside) +
                         " instructions above the i686 floor lie where its map places nothing, "
                         "the first at " +
                         Hex(outsideAt) + ": " + outsideWhat);
    return faults;
}

} // namespace instructions
