#pragma once
// What a program file carries, read as data: version strings, manifest, icons.
#include <string>
#include <vector>

// A string of the version resource's first language block, or with key "fixed" the fixed file
// and product versions ("1.0.0.10 1.0.0.10").
std::string VersionText(const std::string& file, const std::string& key);
// The embedded manifest, empty where there is none.
std::string ManifestText(const std::string& file);
// The first icon group as "WxHxBITS" per image, sorted and joined by blanks, each image checked
// against its directory entry.
std::string IconEntries(const std::string& file);
// The words sorted and joined by blanks.
std::string SortedList(std::vector<std::string> words);
