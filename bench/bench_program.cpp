#include "bench_program.h"

#include <sqlite3.h>

#include <filesystem>
#include <memory>
#include <stdexcept>

#include "store/settings.h"
#include "upload/upload_options.h"
#include "upload/upload_worker.h"

namespace cvu::bench {

void AddHistoryRows(const std::string& databasePath, int rows) {
  sqlite3* raw = nullptr;
  const int opened = sqlite3_open(databasePath.c_str(), &raw);
  const std::unique_ptr<sqlite3, int (*)(sqlite3*)> db(raw, &sqlite3_close);
  if (opened != SQLITE_OK) throw std::runtime_error("cannot open " + databasePath);
  const std::string sql =
      "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < " + std::to_string(rows) +
      ") INSERT INTO CVU_HISTORY (image_id, folder_id, image_name, image_th, base_file, base_filefolder, upload_date)"
      " SELECT printf('%012x', i * 7919), 'i1', printf('%012x.png', i * 7919), printf('%012x.th.png', i * 7919),"
      " 'IMG_' || i || '.png', '/home/user/Pictures/2026/IMG_' || i || '.png', '8 Декабрь 2026 г. 0:09:04' FROM n";
  if (rows > 0 && sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
    throw std::runtime_error(sqlite3_errmsg(db.get()));
  }
}

BenchProgram::BenchProgram(const std::string& supplied, int historyRows) {
  ctx.databasePath = dir.file("cvxas.common.dll");
  std::filesystem::copy_file(supplied, ctx.databasePath);
  AddHistoryRows(ctx.databasePath, historyRows);
  ctx.log.attachBigLog(bigLog);
  ResetUploadOptions(options);
  ctx.upOptions = &options;
  if (!LoadSettings(ctx)) throw std::runtime_error("the settings could not be loaded");
}

BenchProgram::~BenchProgram() {
  ctx.uploadWorkers.close([this] { ui.drain(); });
}

bool BenchProgram::upload(const std::vector<std::string>& files) {
  for (const auto& file : files) main.uploadTable.addLine(file);
  CVU_UploadBtnClick(ctx);
  return ui.runUntil([this] { return !ctx.upload.Uploading && ctx.uploadWorkers.idle(); }, std::chrono::minutes(30));
}

}  // namespace cvu::bench
