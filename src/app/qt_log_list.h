#pragma once
// The two activity-log lists (the main window's and the big log's). Both take the same
// lines in the same order, so each line is held once, as the bytes it was given, and each
// list keeps only the positions of its lines: a run of tens of thousands of files writes
// several lines per file, and two lists of items with their own texts cost kilobytes per
// file that the run never gives back.
#include <QAbstractListModel>
#include <QListView>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "common/controls.h"

namespace cvu {

// Log lists take new lines in batches of this many milliseconds (about two frames).
inline constexpr int kLogBatchMs = 30;

// The lines of the log, shared by its lists; only ever appended to.
class LogLineStore {
 public:
  // The position of `line` for a list whose last line is at `next` - 1: the line the other
  // list already put there, when it is the same, otherwise a new one at the end.
  std::uint32_t take(std::size_t next, const std::string& line);
  const std::string& at(std::uint32_t position) const { return lines_[position]; }

 private:
  std::vector<std::string> lines_;
};

// One list's rows: positions in the store, shown by a QListView.
class LogListModel : public QAbstractListModel {
 public:
  LogListModel(const LogLineStore& store, QObject* parent) : QAbstractListModel(parent), store_(store) {}
  int rowCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role) const override;

  std::vector<std::uint32_t>& rows() { return rows_; }
  int shown() const { return shown_; }
  // Lets the view see the rows added since the last call.
  void showAdded();
  void removeRow(int row);
  void clearRows();

 private:
  const LogLineStore& store_;
  std::vector<std::uint32_t> rows_;
  int shown_ = 0;  // rows the view has been told of; the rest arrive with the next batch
};

// A log list. Lines are given to the view in batches of `batchMs` milliseconds, which
// then scrolls to the last one.
class QtLogList : public ListBox {
 public:
  QtLogList(QListView* view, LogLineStore& store, int batchMs);
  int count() const override;
  std::string line(int index) const override;
  void addLine(const std::string& line) override;
  void clear() override;
  bool isSelected(int index) const override;
  void setSelected(int index, bool on) override;
  void removeLine(int index) override;

  // Puts the lines still waiting into the view now.
  void flush() const;

 private:
  QListView* view_;
  LogLineStore& store_;
  LogListModel* model_;   // owned by the view
  std::size_t next_ = 0;  // the store position after this list's last line
  std::unique_ptr<QTimer> scroll_;
};

}  // namespace cvu
