#pragma once
// What a shipped file may import, and the check of a file against it.
//
// The table (allowed_imports.tsv) has one row per library and function that a shipped file uses
// from Windows, with the oldest Windows of each family that exports it:
//
//   library  function  win9x  win9x_kind  winnt  binding  source  note
//
//   win9x       95, 98, 98SE, Me or none
//   win9x_kind  real, or stub (exported, but fails when called); "-" where win9x is none
//   winnt       3.1, 3.5, 3.51, 4.0, "4.0 SP1" to "4.0 SP6", 2000, XP, Vista, 7, 8, 10 or none
//   binding     import (the loader binds it when the file is loaded) or runtime (the program
//               looks it up with GetProcAddress and copes with its absence)
//   source      where the claim for Windows 95/98 or NT 4 comes from: tags separated by commas,
//               each named in a comment line "# source TAG: what it is" of the table, or "-"
//               where no public list or page was found; required on every row that claims
//               Windows 9x or an NT up to 4.0 SP6
//   note        why a stub is harmless on Windows 9x, or why a function is bound at run time
//
// Every target must load a file, so an imported function must be exported by Windows 98 and
// NT 4.0 SP6 (and so by every later Windows), from a known system library. A stub on Windows 9x
// may be imported only with a note that says why the programs never rely on it there.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pe_image.h"

namespace imports {

enum class Binding { Import, RunTime };

struct Row {
    std::string library; // lower case
    std::string function;
    int win9x = 0; // ordered: 95 < 98 < 98SE < Me < none
    bool stub = false;
    int winNt = 0; // ordered: 3.1 < ... < 4.0 SP6 < 2000 < ... < none
    Binding binding = Binding::Import;
    std::vector<std::string> sources; // empty where none was found ("-")
    std::string note;
    std::string win9xText, winNtText; // as the table writes them
};

class Table {
  public:
    // The table in `text`; nullopt with one message per faulty row in `errors`.
    static std::optional<Table> Parse(std::string_view text, std::vector<std::string>* errors);
    // The row of `function` in `library` (any letter case); null when the table has none.
    const Row* Find(std::string_view library, std::string_view function) const;
    const std::vector<Row>& Rows() const { return rows_; }

  private:
    std::vector<Row> rows_;
};

// Libraries that Windows 7 to 11 keep in their known-library list, so that the loader never
// looks for them beside the program.
bool IsKnownSystemLibrary(std::string_view library);
// The manifest asks for version 6 of the common controls: comctl32 then comes from the system's
// side-by-side store, whatever lies beside the program.
bool AsksForCommonControls6(std::string_view manifest);

// One message per fault of `image` (the file `fileName`) against `table`; empty when the file
// loads on every target.
std::vector<std::string> CheckImage(const std::string& fileName, const pe::Image& image,
                                    const Table& table);

} // namespace imports
