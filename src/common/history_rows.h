#pragma once
// Rows of a history list read in place by a list view when it paints.
#include <string_view>
namespace cvu {
class HistoryRows {
 public:
  virtual ~HistoryRows() = default;
  virtual int count() const = 0;
  virtual std::string_view caption(int index) const = 0;  // base_file
  virtual std::string_view date(int index) const = 0;     // upload_date
  virtual std::string_view path(int index) const = 0;     // base_filefolder
};
}  // namespace cvu
