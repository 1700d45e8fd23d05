#pragma once
// The program's single database connection (RAII over sqlite3). Statements carry
// their values as bound parameters; texts are stored in Windows-1251.
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

struct sqlite3;

namespace cvu {

// A failure reported by the database layer; what() is its message.
class DatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One column of a result: its name, declared type and value in UTF-8 (nullopt: NULL).
struct DbValue {
  std::string name;
  std::string declaredType;
  std::optional<std::string> text;
  bool isInteger = false;  // stored as an integer (or a real), text holds its decimal value
};

using DbRow = std::vector<DbValue>;

class AppDatabase {
 public:
  AppDatabase();
  ~AppDatabase();
  AppDatabase(const AppDatabase&) = delete;
  AppDatabase& operator=(const AppDatabase&) = delete;

  // Opens (creating an empty file when missing) the database at path. Throws
  // DatabaseError with the database layer's message when it cannot.
  void open(const std::string& path);
  void close();
  bool isOpen() const { return db_ != nullptr; }

  // Whether the catalogue lists a table of this name, letter case ignored.
  bool tableExists(const std::string& name);

  // Runs one statement with its texts bound in order to "?" parameters (converted
  // to Windows-1251); throws DatabaseError on failure.
  void execute(const std::string& sql, const std::vector<std::string>& params = {});

  // Runs a query and returns all its rows.
  std::vector<DbRow> query(const std::string& sql);

  sqlite3* handle() { return db_; }

 private:
  sqlite3* db_ = nullptr;
};

// Finds a column by name, letter case ignored; throws DatabaseError
// "Field not found in dataset: " + name when there is none.
const DbValue& FieldByName(const DbRow& row, const std::string& name);

// The value as the settings reader takes it: integer and boolean columns read as
// their decimal value ("0" for NULL), others as stored ("" for NULL).
std::string FieldAsText(const DbValue& value);

}  // namespace cvu
