#pragma once
#include <string>
#include <vector>

#include "adapters/adapter_box.h"

namespace ww::test {

// The adapter box as rows and the selections the program made.
struct FakeBox final : AdapterBox {
    std::vector<std::string> rows;
    std::vector<int> selected;
    void AddItem(const std::string& text) override { rows.push_back(text); }
    void SetListIndex(int row) override { selected.push_back(row); }
};

} // namespace ww::test
