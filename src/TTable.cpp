#include "TTable.h"

#include <utility>

#include "TError.h"

TTable::TTable(std::vector<Column> columns)
    : columns_(std::move(columns)),
      texts_(columns_.size()),
      integers_(columns_.size()),
      doubles_(columns_.size()) {}

void TTable::RequireType(std::size_t column, Type type) const {
  if (column >= columns_.size() || columns_[column].type != type) {
    throw TError("TTable: column " + std::to_string(column) +
                     " does not exist or has another type",
                 TError::Kind::kInternal);
  }
}

void TTable::AddRow(const std::vector<Value>& row) {
  if (row.size() != columns_.size()) {
    throw TError("TTable: a row of " + std::to_string(row.size()) +
                     " cells for " + std::to_string(columns_.size()) +
                     " columns",
                 TError::Kind::kInternal);
  }
  for (std::size_t i = 0; i < row.size(); ++i) RequireType(i, row[i].GetType());
  for (std::size_t i = 0; i < row.size(); ++i) {
    switch (columns_[i].type) {
      case Type::kText:
        texts_[i].push_back(row[i].GetText());
        break;
      case Type::kInteger:
        integers_[i].push_back(row[i].GetInteger());
        break;
      case Type::kDouble:
        doubles_[i].push_back(row[i].GetDouble());
        break;
    }
  }
  ++rows_;
}

void TTable::Append(const TTable& other) {
  bool same = other.columns_.size() == columns_.size();
  for (std::size_t i = 0; same && i < columns_.size(); ++i) {
    same = other.columns_[i].name == columns_[i].name &&
           other.columns_[i].type == columns_[i].type;
  }
  if (!same) {
    throw TError("TTable: appending a table with other columns",
                 TError::Kind::kInternal);
  }
  for (std::size_t i = 0; i < columns_.size(); ++i) {
    texts_[i].insert(texts_[i].end(), other.texts_[i].begin(),
                     other.texts_[i].end());
    integers_[i].insert(integers_[i].end(), other.integers_[i].begin(),
                        other.integers_[i].end());
    doubles_[i].insert(doubles_[i].end(), other.doubles_[i].begin(),
                       other.doubles_[i].end());
  }
  rows_ += other.rows_;
}

const std::vector<std::string>& TTable::GetTexts(std::size_t column) const {
  RequireType(column, Type::kText);
  return texts_[column];
}

const std::vector<int64_t>& TTable::GetIntegers(std::size_t column) const {
  RequireType(column, Type::kInteger);
  return integers_[column];
}

const std::vector<double>& TTable::GetDoubles(std::size_t column) const {
  RequireType(column, Type::kDouble);
  return doubles_[column];
}
