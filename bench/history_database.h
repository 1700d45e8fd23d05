#pragma once
// Databases for the GUI process benchmarks, made from the supplied schema.
#include <string>

namespace cvu::bench {

// The supplied tables with rows upload records in CVU_HISTORY.
void MakeHistoryDatabase(const std::string& path, int rows);
// Runs one statement on the database; throws with SQLite's message.
void ExecSql(const std::string& path, const std::string& sql);
long CountRows(const std::string& path, const std::string& table);

}  // namespace cvu::bench
