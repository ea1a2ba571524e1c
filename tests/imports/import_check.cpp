// import_check TABLE PATH... [--list]
//
// Checks every program and library file named (a folder stands for every .exe and .dll in it)
// against the table of allowed imports: each must load on Windows 98 and NT 4.0 SP6 and later,
// import only known system libraries and forward nothing. Prints one line per fault and exits 1,
// else a summary (with --list also every import and its oldest systems) and exits 0.
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "import_rules.h"
#include "pe_image.h"
#include "program_files.h"

namespace fs = std::filesystem;

using checks::FilesOf;
using checks::ReadFile;

namespace {

void List(const std::string& name, const pe::Image& image, const imports::Table& table) {
    std::cout << name << " imports:\n";
    for (const pe::Import& import : image.imports) {
        const imports::Row* row = table.Find(import.library, import.function);
        std::cout << "  " << import.library << "\t" << import.function;
        if (row != nullptr) {
            std::cout << "\t9x " << row->win9xText << (row->stub ? " (stub)" : "") << "\tNT "
                      << row->winNtText << "\tsource ";
            for (size_t i = 0; i < row->sources.size(); ++i)
                std::cout << (i == 0 ? "" : ",") << row->sources[i];
            if (row->sources.empty()) std::cout << "-";
        }
        std::cout << "\n";
    }
}

} // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    const auto listFlag = std::find(args.begin(), args.end(), "--list");
    const bool list = listFlag != args.end();
    if (list) args.erase(listFlag);
    if (args.size() < 2) {
        std::cerr << "usage: import_check TABLE PATH... [--list]\n";
        return 2;
    }
    std::string tableText;
    if (!ReadFile(args[0], &tableText)) {
        std::cerr << args[0] << ": cannot be read\n";
        return 2;
    }
    std::vector<std::string> faults;
    const auto table = imports::Table::Parse(tableText, &faults);
    if (!table) {
        for (const std::string& fault : faults)
            std::cout << args[0] << ": " << fault << "\n";
        return 1;
    }
    size_t files = 0, importCount = 0;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::vector<fs::path> named = FilesOf(args[i]);
        if (named.empty()) faults.push_back(args[i] + ": no program or library file there");
        for (const fs::path& path : named) {
            const std::string name = path.filename().string();
            std::string bytes, error;
            if (!ReadFile(path, &bytes)) {
                faults.push_back(name + ": cannot be read");
                continue;
            }
            const auto image = pe::ReadImage(bytes, &error);
            if (!image) {
                faults.push_back(name + ": " + error);
                continue;
            }
            ++files;
            importCount += image->imports.size();
            const std::vector<std::string> found = imports::CheckImage(name, *image, *table);
            faults.insert(faults.end(), found.begin(), found.end());
            if (list) List(name, *image, *table);
        }
    }
    for (const std::string& fault : faults)
        std::cout << fault << "\n";
    if (!faults.empty()) return 1;
    std::cout << "import check: " << files << " files, " << importCount
              << " imports, each loads on Windows 98 and NT 4.0 SP6 and later\n";
    return 0;
}
