// Rows on stdout as an aligned table, CSV or JSON.
#pragma once

#include <cstdio>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "cli.h"

namespace zqcli {

struct Cell {
  std::string text;     // table and CSV
  nlohmann::json json;  // JSON
};

// Columns first, then rows, then end(). A table is printed at end(), since
// its widths depend on every row; CSV and JSON rows go out as they come.
class RowWriter {
 public:
  virtual ~RowWriter() = default;
  virtual void begin(const std::vector<std::string>& columns) = 0;
  virtual void row(const std::vector<Cell>& cells) = 0;
  virtual void end() = 0;
  // Pushes out what is written; false once the reader has gone away (a
  // closed pipe), after which the caller stops quietly.
  bool flush();

 protected:
  explicit RowWriter(FILE* out) : out_(out) {}
  FILE* out_;
};

std::unique_ptr<RowWriter> makeWriter(Format format, FILE* out);

// True once writing to stdout failed because its reader went away.
bool outputBroken();

}  // namespace zqcli
