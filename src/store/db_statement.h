#pragma once
// A prepared statement stepped row by row, its texts read straight from the current row
// without a copy of the whole result (RAII over sqlite3_stmt): the one way the program
// runs statements and reads rows.
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace cvu {

// A failure reported by the database layer; what() is its message.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Ends a prepared statement's life (sqlite3_finalize), for unique_ptr.
struct StatementFinalizer {
  void operator()(sqlite3_stmt* st) const;
};
using PreparedStatement = std::unique_ptr<sqlite3_stmt, StatementFinalizer>;

// Prepares sql (converted to Windows-1251) on db; throws DatabaseError when it cannot.
PreparedStatement Prepare(sqlite3* db, const std::string& sql);

class DbStatement {
 public:
  // Prepares sql on db; throws DatabaseError when it cannot.
  DbStatement(sqlite3* db, const std::string& sql);
  // Steps a statement its connection keeps for reuse: it is reset, its values unbound,
  // when this goes, and finalized only by the connection.
  struct Kept {};
  DbStatement(sqlite3* db, sqlite3_stmt* kept, Kept);
  ~DbStatement();
  DbStatement(const DbStatement&) = delete;
  DbStatement& operator=(const DbStatement&) = delete;

  // Parameters count from 1; a text is bound in Windows-1251.
  int parameterCount() const;
  void bindText(int parameter, const std::string& utf8);
  void bindInt64(int parameter, long long value);

  // Moves to the next row: true on a row, false at the end; throws DatabaseError, also
  // when the statement had to be prepared again (another program changed the table)
  // and its columns are no longer those found before.
  bool step();
  // Back before the first row, ending the statement's read; bindings stay.
  void reset();

  int columnCount() const { return static_cast<int>(names_.size()); }
  const std::string& columnName(int column) const { return names_[static_cast<std::size_t>(column)]; }
  // The index of a column by name, letter case ignored; -1 when there is none.
  int findColumn(std::string_view name) const;

  // The current row's value as the text stored, whatever the column's declared type:
  // UTF-8 into out, whose room is reused from row to row; NULL is empty.
  void readText(int column, std::string& out) const;
  // The value as the settings row is read: a column declared INT... or BOOLEAN gives the
  // decimal text of SQLite's integer value of what it holds ("0" for NULL, "0" for "x",
  // "12" for "12abc"), any other column its text as stored.
  std::string readDeclared(int column) const;
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
