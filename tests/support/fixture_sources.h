#pragma once

// The expected URLs of the shared shortcut fixtures, read from each folder's SOURCES.md: a
// Markdown table with a "file" and an "expected URL" column, each value in backticks, or
// "**none**" for a file that holds no URL.

#include <algorithm>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace linkvane::testing {

struct FixtureSource {
  std::string file;  // UTF-8
  std::string url;   // UTF-8; empty when the file holds none
};

// The cells of a table row, trimmed, with Markdown's "\|" read as "|".
inline std::vector<std::string> TableCells(std::string_view row) {
  std::vector<std::string> cells;
  std::string cell;
  for (std::size_t i = 1; i < row.size(); ++i) {
    if (row[i] == '\\' && i + 1 < row.size() && row[i + 1] == '|') {
      cell += row[++i];
    } else if (row[i] != '|') {
      cell += row[i];
    } else {
      const std::size_t first = cell.find_first_not_of(' ');
      cells.push_back(first == std::string::npos
                          ? std::string()
                          : cell.substr(first, cell.find_last_not_of(' ') - first + 1));
      cell.clear();
    }
  }
  return cells;
}

// The text of a cell's first code span.
inline std::string CodeText(const std::string& cell) {
  const std::size_t open = cell.find('`');
  const std::size_t close = cell.find('`', open + 1);
  return close == std::string::npos ? std::string() : cell.substr(open + 1, close - open - 1);
}

inline std::vector<FixtureSource> ParseFixtureSources(const std::string& markdown) {
  std::vector<FixtureSource> rows;
  std::size_t file_column = std::string::npos;
  std::size_t url_column = std::string::npos;
  std::istringstream lines(markdown);
  for (std::string line; std::getline(lines, line);) {
    if (line.rfind('|', 0) != 0) {
      file_column = url_column = std::string::npos;  // a table ends; the next has its own header
      continue;
    }
    const std::vector<std::string> cells = TableCells(line);
    if (file_column == std::string::npos || url_column == std::string::npos) {
      for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i] == "file") file_column = i;
        if (cells[i] == "expected URL") url_column = i;
      }
    } else if (cells.size() > std::max(file_column, url_column) &&
               cells[0].find_first_not_of("-: ") != std::string::npos) {
      const std::string& url = cells[url_column];
      rows.push_back(
          {CodeText(cells[file_column]), url.rfind("**none**", 0) == 0 ? "" : CodeText(url)});
    }
  }
  return rows;
}

}  // namespace linkvane::testing
