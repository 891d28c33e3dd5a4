// An independent reader of reply documents for the simulator's tests: it
// applies the client's element-table rules (envelope and wrapper rows,
// labels, categories, arrays with X items by Y rows, flat elements) and
// collects what it read, failing where the client's tokenizer would.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace simtest {

struct Item {
    std::string name;
    std::string value;
    std::string category;  // label of the enclosing category, "" at top level
};

struct Reading {
    bool ok = false;
    std::string error;
    std::vector<Item> items;                                       // flat elements, in order
    std::string array_label;                                       // label of the (last) array
    std::vector<std::vector<std::pair<std::string, std::string>>> rows;  // array rows
    std::vector<std::string> categories;                           // labels, in order

    // Value of the n-th (from 1) item of that name, or nullptr.
    const std::string* find(std::string_view name, int n = 1) const;
    int count(std::string_view name) const;
};

Reading read_reply(std::string_view doc);

}  // namespace simtest
