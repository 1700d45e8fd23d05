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
  // Steps a statement its connection keeps for reuse: it is reset, its values unbound,
  // when this goes, and finalized only by the connection.
  struct Kept {};
  DbStatement(sqlite3* db, sqlite3_stmt* kept, Kept);
  ~DbStatement();
  DbStatement(const DbStatement&) = delete;
  DbStatement& operator=(const DbStatement&) = delete;

  void bindInt64(int parameter, long long value);  // parameters count from 1

  // Moves to the next row: true on a row, false at the end; throws DatabaseError, also
  // when the statement had to be prepared again (another program changed the table)
  // and its columns are no longer those found before.
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
  void readColumns();
  void checkColumnsKept();

  sqlite3* db_;
  std::unique_ptr<sqlite3_stmt, void (*)(sqlite3_stmt*)> st_;
  std::vector<std::string> names_;  // UTF-8, as the statement was prepared
  std::vector<bool> numeric_;       // declared INT... or BOOLEAN
  int prepared_ = 0;                // how often SQLite had prepared it again when the columns were read
};

}  // namespace cvu
