#pragma once
// A prepared statement stepped row by row, its texts read straight from the current row
// without a copy of the whole result (RAII over sqlite3_stmt).
#include <memory>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace cvu {

class DbStatement {
 public:
  // Prepares sql (converted to Windows-1251) on db; throws DatabaseError when it cannot.
  DbStatement(sqlite3* db, const std::string& sql);
  ~DbStatement();
  DbStatement(const DbStatement&) = delete;
  DbStatement& operator=(const DbStatement&) = delete;

  void bindInt64(int parameter, long long value);  // parameters count from 1

  // Moves to the next row: true on a row, false at the end; throws DatabaseError.
  bool step();
  // Back before the first row, ending the statement's read; bindings stay.
  void reset();

  // The index of a column by name, letter case ignored; -1 when there is none.
  int findColumn(std::string_view name) const;

  // The current row's value as the program reads text: UTF-8 into out, whose room is
  // reused from row to row; NULL is empty, any value of a numeric column its integer value.
  void readText(int column, std::string& out) const;
  long long readInt64(int column) const;

 private:
  sqlite3* db_;
  std::unique_ptr<sqlite3_stmt, void (*)(sqlite3_stmt*)> st_;
  std::vector<std::string> names_;  // UTF-8, once after prepare
  std::vector<bool> numeric_;       // declared INT... or BOOLEAN
};

}  // namespace cvu
