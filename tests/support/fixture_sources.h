#pragma once

// The expected URLs of the shared shortcut fixtures, read from each folder's SOURCES.md: a
// Markdown table with a "file" and an "expected URL" column, each value in backticks, or
// "**none**" for a file that holds no URL.

#include <sstream>
#include <string>
#include <vector>

namespace linkvane::testing {

struct FixtureSource {
  std::string file;  // UTF-8
  std::string url;   // UTF-8; empty when the file holds none
};

inline std::vector<FixtureSource> ParseFixtureSources(const std::string& markdown) {
  // A cell's first code span, or "" for a cell without one.
  const auto code = [](const std::string& cell) {
    const std::size_t open = cell.find('`'), close = cell.find('`', open + 1);
    return close == std::string::npos ? std::string() : cell.substr(open + 1, close - open - 1);
  };
  std::vector<FixtureSource> rows;
  std::size_t file_column = 0, url_column = 0;  // from the header of the table at hand
  std::istringstream lines(markdown);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> cells(1);  // with Markdown's "\|" read as "|"
    for (std::size_t i = 1; i < line.size() && line[0] == '|'; ++i) {
      if (line.compare(i, 2, "\\|") == 0) {
        cells.back() += line[++i];
      } else if (line[i] == '|') {
        cells.emplace_back();
      } else {
        cells.back() += line[i];
      }
    }
    for (std::size_t i = 0; i < cells.size(); ++i) {
      if (cells[i] == " file ") file_column = i;
      if (cells[i] == " expected URL ") url_column = i;
    }
    if (url_column > 0 && cells.size() > url_column && cells[file_column].find('`') == 1) {
      const bool none = cells[url_column].find("**none**") == 1;
      rows.push_back({code(cells[file_column]), none ? std::string() : code(cells[url_column])});
    }
  }
  return rows;
}

}  // namespace linkvane::testing
