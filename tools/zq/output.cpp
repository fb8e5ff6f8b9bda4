#include "output.h"

#include <csv.h>

#include <cerrno>

namespace zqcli {
namespace {

bool g_broken = false;

// Characters on screen: UTF-8 continuation bytes take no column.
size_t displayWidth(const std::string& text) {
  size_t width = 0;
  for (unsigned char c : text)
    if ((c & 0xC0) != 0x80) ++width;
  return width;
}

// A table cell keeps to one line.
std::string oneLine(const std::string& text) {
  std::string line = text;
  for (char& c : line)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = ' ';
  return line;
}

class TableWriter : public RowWriter {
 public:
  explicit TableWriter(FILE* out) : RowWriter(out) {}
  void begin(const std::vector<std::string>& columns) override { rows_.push_back(columns); }
  void row(const std::vector<Cell>& cells) override {
    std::vector<std::string> texts;
    for (const Cell& c : cells) texts.push_back(oneLine(c.text));
    rows_.push_back(std::move(texts));
  }
  void end() override {
    std::vector<size_t> widths;
    for (const auto& r : rows_) {
      if (widths.size() < r.size()) widths.resize(r.size(), 0);
      for (size_t i = 0; i < r.size(); ++i) widths[i] = std::max(widths[i], displayWidth(r[i]));
    }
    for (size_t n = 0; n < rows_.size(); ++n) {
      printRow(rows_[n], widths);
      if (n == 0) {
        std::vector<std::string> rule;
        for (size_t w : widths) rule.push_back(std::string(w, '-'));
        printRow(rule, widths);
      }
    }
    rows_.clear();
  }

 private:
  void printRow(const std::vector<std::string>& r, const std::vector<size_t>& widths) {
    std::string line;
    for (size_t i = 0; i < r.size(); ++i) {
      line += r[i];
      if (i + 1 < r.size()) line += std::string(widths[i] - displayWidth(r[i]) + 2, ' ');
    }
    fprintf(out_, "%s\n", line.c_str());
  }
  std::vector<std::vector<std::string>> rows_;
};

// RFC 4180 through libcsv, which quotes every field.
class CsvWriter : public RowWriter {
 public:
  explicit CsvWriter(FILE* out) : RowWriter(out) {}
  void begin(const std::vector<std::string>& columns) override {
    std::vector<Cell> cells;
    for (const std::string& c : columns) cells.push_back({c, nullptr});
    row(cells);
  }
  void row(const std::vector<Cell>& cells) override {
    for (size_t i = 0; i < cells.size(); ++i) {
      if (i) fputc(',', out_);
      csv_fwrite(out_, cells[i].text.data(), cells[i].text.size());
    }
    fputs("\r\n", out_);
  }
  void end() override {}
};

// An array of objects keyed by column name, one object a line.
class JsonWriter : public RowWriter {
 public:
  explicit JsonWriter(FILE* out) : RowWriter(out) {}
  void begin(const std::vector<std::string>& columns) override {
    columns_ = columns;
    fputs("[", out_);
  }
  void row(const std::vector<Cell>& cells) override {
    nlohmann::ordered_json object = nlohmann::ordered_json::object();
    for (size_t i = 0; i < cells.size() && i < columns_.size(); ++i)
      object[columns_[i]] = cells[i].json;
    fprintf(out_, "%s\n  %s", first_ ? "" : ",",
            object.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace).c_str());
    first_ = false;
  }
  void end() override { fputs(first_ ? "]\n" : "\n]\n", out_); }

 private:
  std::vector<std::string> columns_;
  bool first_ = true;
};

}  // namespace

bool RowWriter::flush() {
  if (g_broken) return false;
  if (fflush(out_) != 0 || ferror(out_)) {
    if (errno == EPIPE) g_broken = true;
    return false;
  }
  return true;
}

bool outputBroken() {
  return g_broken;
}

std::unique_ptr<RowWriter> makeWriter(Format format, FILE* out) {
  switch (format) {
    case Format::Csv:
      return std::make_unique<CsvWriter>(out);
    case Format::Json:
      return std::make_unique<JsonWriter>(out);
    case Format::Table:
    default:
      return std::make_unique<TableWriter>(out);
  }
}

}  // namespace zqcli
