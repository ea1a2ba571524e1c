#pragma once
// An in-memory program folder.
#include "window/files.h"

#include <map>
#include <set>
#include <string>

namespace gk::test {

class FakeFiles final : public Files {
  public:
    std::string folder = "C:\\Tools";
    std::map<std::string, std::string> files; // path -> content
    std::set<std::string> unreadable;
    std::set<std::string> hidden;
    std::string readPath;

    std::string ProgramFolder() override { return folder; }
    bool Exists(const std::string& path) override {
        return files.count(path) != 0 && hidden.count(path) == 0;
    }
    ReadStatus ReadWhole(const std::string& path, size_t limit, std::string& text) override {
        readPath = path;
        const auto it = files.find(path);
        if (it == files.end() || unreadable.count(path)) return ReadStatus::Failed;
        if (it->second.size() > limit) return ReadStatus::TooLarge;
        text = it->second;
        return ReadStatus::Ok;
    }
};

} // namespace gk::test
