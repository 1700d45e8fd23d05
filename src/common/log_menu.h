#pragma once
// The log list's popup menu: copy the selected lines, save the log, clear it.
#include <string>

#include "common/clipboard.h"
#include "common/clock.h"
#include "common/controls.h"
#include "common/dialogs.h"

namespace cvu {

// "Скопировать выделенное": the selected lines in list order joined by CR LF; with no
// line selected the clipboard is not touched.
void N2Click(ListBox& mainLog, Clipboard& clipboard);

// "Сохранить лог в файл": with lines to save, asks for a path and writes every line of
// the main log followed by CR LF in Windows-1251, replacing the file. A write failure
// is shown in a message box.
void N3Click(ListBox& mainLog, Dialogs& dialogs, const Clock& clock);

// "Очистить лог": clears the main log only.
void N9Click(ListBox& mainLog);

// "CorvaneUploader_log." + month and day without "." + "_" + time without ":" + ".txt".
std::string LogFileName(const LocalDateTime& when);

// Writes the lines, each followed by CR LF, in Windows-1251; throws std::runtime_error
// with the system's error text on failure.
void WriteLogFile(const std::string& path, const ListBox& lines);

}  // namespace cvu
