#pragma once
// The lead bytes of the ANSI code pages the tests stand in for, as the code pages' own tables
// (CPINFO's LeadByte ranges) give them.
#include <initializer_list>
#include <utility>

#include "seams/codepage.h"

namespace ww::test {

struct CodePageLeads {
    int codePage;
    std::initializer_list<std::pair<unsigned, unsigned>> ranges; // first and last lead byte
};

inline constexpr CodePageLeads kCodePageLeads[] = {
    {1252, {}},                          // Western: single bytes only
    {932, {{0x81, 0x9F}, {0xE0, 0xFC}}}, // Japanese (Shift JIS)
    {936, {{0x81, 0xFE}}},               // Simplified Chinese (GBK)
    {949, {{0x81, 0xFE}}},               // Korean (Unified Hangul Code)
    {950, {{0x81, 0xFE}}},               // Traditional Chinese (Big5)
};

inline LeadBytes LeadBytesOf(const CodePageLeads& cp) {
    LeadBytes bytes;
    for (const auto& [first, last] : cp.ranges)
        for (unsigned b = first; b <= last; ++b)
            bytes.lead[b] = true;
    return bytes;
}

inline LeadBytes LeadBytesOf(int codePage) {
    for (const CodePageLeads& cp : kCodePageLeads)
        if (cp.codePage == codePage) return LeadBytesOf(cp);
    return {};
}

} // namespace ww::test
