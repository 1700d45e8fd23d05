#pragma once
// The upload options: the filter entries, the no-conversion box and the values sent.
#include <string>
#include <utility>
#include <vector>

#include "common/upoptions_controls.h"

namespace cvu {

// Filter entries in list order with the value sent for each ("2" to "10").
std::vector<std::pair<std::string, std::string>> FilterEntries();

// Puts the window's controls into their initial states.
void ResetUploadOptions(UpOptionsControls& w);

// Quality and filter are disabled exactly while "no conversion" is checked.
void CVU_Ef_EffOffClick(UpOptionsControls& w);

// The value of a list with values: the selected entry's value, or the displayed text
// when nothing is selected or the value is empty.
std::string EntryValue(const ValueComboBox& list);

// What the upload worker sends for every file.
struct UploadOptionValues {
  std::string quality;
  std::string filter;
  std::string thumbtext;
  std::string title;
  std::string album_id;
  std::string nod;        // "on" / "off"
  std::string published;  // "on" / "off"
};
UploadOptionValues ReadUploadOptions(UpOptionsControls& w);

}  // namespace cvu
