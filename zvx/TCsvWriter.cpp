#include "TCsvWriter.h"

#include <cstddef>

#include "TNumberFormat.h"

std::string TCsvWriter::Quote(const std::string& field) {
  if (field.find_first_of(",\"\r\n") == std::string::npos) return field;
  std::string quoted = "\"";
  for (char c : field) {
    if (c == '"') quoted += '"';
    quoted += c;
  }
  quoted += '"';
  return quoted;
}

void TCsvWriter::WriteHeader(const TTable& table, std::ostream& out) {
  const auto& columns = table.GetColumns();
  for (std::size_t i = 0; i < columns.size(); ++i) {
    if (i > 0) out << ',';
    out << Quote(columns[i].name);
  }
  out << '\n';
}

void TCsvWriter::WriteRows(const TTable& table, std::ostream& out) {
  const auto& columns = table.GetColumns();
  std::string line;
  for (std::size_t row = 0; row < table.GetNumRows(); ++row) {
    line.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
      if (i > 0) line += ',';
      switch (columns[i].type) {
        case TTable::Type::kText:
          line += Quote(table.GetTexts(i)[row]);
          break;
        case TTable::Type::kInteger:
          line += TNumberFormat::Integer(table.GetIntegers(i)[row]);
          break;
        case TTable::Type::kDouble:
          line += TNumberFormat::Shortest(table.GetDoubles(i)[row]);
          break;
      }
    }
    line += '\n';
    out << line;
  }
}
