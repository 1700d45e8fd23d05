#include "common/log_menu.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <stdexcept>

#include "common/cp1251.h"
#include "common/text.h"
#include "common/timestamp.h"

namespace cvu {

void N2Click(ListBox& mainLog, Clipboard& clipboard) {
  std::string text;
  bool any = false;
  for (int i = 0; i < mainLog.count(); ++i) {
    if (!mainLog.isSelected(i)) continue;
    if (any) text += "\r\n";
    text += mainLog.line(i);
    any = true;
  }
  if (any) CopyToClipboard(clipboard, text);
}

std::string LogFileName(const LocalDateTime& when) {
  return "CorvaneUploader_log." + ReplaceAll(FormatMonthDay(when), ".", "") + "_" +
         ReplaceAll(FormatLongTime(when), ":", "") + ".txt";
}

void WriteLogFile(const std::string& path, const ListBox& lines) {
  struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
  };
  std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.c_str(), "wb"));
  if (!file) throw std::runtime_error(std::string("Cannot create file \"") + path + "\". " + std::strerror(errno));
  for (int i = 0; i < lines.count(); ++i) {
    const std::string bytes = Utf8ToCp1251(lines.line(i)) + "\r\n";
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) {
      throw std::runtime_error(std::string("Cannot write file \"") + path + "\". " + std::strerror(errno));
    }
  }
  if (std::fflush(file.get()) != 0) {
    throw std::runtime_error(std::string("Cannot write file \"") + path + "\". " + std::strerror(errno));
  }
}

void N3Click(ListBox& mainLog, Dialogs& dialogs, const Clock& clock) {
  if (mainLog.count() == 0) return;
  const auto path = dialogs.saveFile(LogFileName(clock.now()), "Log TXT", "*.txt");
  if (!path) return;
  try {
    WriteLogFile(*path, mainLog);
  } catch (const std::exception& e) {
    dialogs.showMessage(e.what());
  }
}

void N9Click(ListBox& mainLog) { mainLog.clear(); }

}  // namespace cvu
