#ifndef ZELVATRIX_TTABLE_H_
#define ZELVATRIX_TTABLE_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A tidy table: named, typed columns and rows of cells, one observation per
// row. Columns are stored one vector each, so that a caller can hand a whole
// column to another language (an R vector, a data frame) without converting
// cell by cell. Thread safety: distinct tables may be used from different
// threads; one table must not be changed while another thread reads it.
class TTable {
 public:
  enum class Type { kText, kInteger, kDouble };

  struct Column {
    std::string name;
    Type type;
  };

  // One cell of a row being added; converts implicitly from the three cell
  // types, so that a row reads {file, "north", year, x, y}.
  class Value {
   public:
    Value(std::string text) : type_(Type::kText), text_(std::move(text)) {}
    Value(const char* text) : type_(Type::kText), text_(text) {}
    Value(int32_t integer) : type_(Type::kInteger), integer_(integer) {}
    Value(int64_t integer) : type_(Type::kInteger), integer_(integer) {}
    Value(double number) : type_(Type::kDouble), number_(number) {}

    Type GetType() const { return type_; }
    const std::string& GetText() const { return text_; }
    int64_t GetInteger() const { return integer_; }
    double GetDouble() const { return number_; }

   private:
    Type type_;
    std::string text_;
    int64_t integer_ = 0;
    double number_ = 0.0;
  };

  // An empty table with these columns.
  explicit TTable(std::vector<Column> columns);

  const std::vector<Column>& GetColumns() const { return columns_; }
  std::size_t GetNumColumns() const { return columns_.size(); }
  std::size_t GetNumRows() const { return rows_; }

  // Appends one row. Throws TError (kind kInternal) when the row does not
  // have one value of the right type per column.
  void AddRow(const std::vector<Value>& row);
  // Appends every row of `other`, which must have the same columns (throws
  // TError of kind kInternal otherwise).
  void Append(const TTable& other);

  // The cells of one column, by type. Each throws TError (kind kInternal)
  // when the column has another type. Valid until the table changes.
  const std::vector<std::string>& GetTexts(std::size_t column) const;
  const std::vector<int64_t>& GetIntegers(std::size_t column) const;
  const std::vector<double>& GetDoubles(std::size_t column) const;

 private:
  void RequireType(std::size_t column, Type type) const;

  std::vector<Column> columns_;
  std::size_t rows_ = 0;
  // Indexed by column; only the vector of the column's own type is used.
  std::vector<std::vector<std::string>> texts_;
  std::vector<std::vector<int64_t>> integers_;
  std::vector<std::vector<double>> doubles_;
};

#endif  // ZELVATRIX_TTABLE_H_
