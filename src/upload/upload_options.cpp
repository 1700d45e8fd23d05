#include "upload/upload_options.h"

namespace cvu {

std::vector<std::pair<std::string, std::string>> FilterEntries() {
  return {{"Нет фильтра", "2"},
          {"Greyscale ( Чёрно-белое )", "3"},
          {"Negative ( Негатив )", "4"},
          {"Sepia ( Сепия )", "5"},
          {"Edgedetect ( Выделение краёв )", "6"},
          {"Emboss ( Тиснение )", "7"},
          {"Gaussian Blur ( Размытие по Гауссу )", "8"},
          {"Selective Blur ( Выборочное размытие )", "9"},
          {"Mean Removal ( Резкость )", "10"}};
}

void ResetUploadOptions(UpOptionsControls& w) {
  w.CVU_Ef_Quality().setValue(80);
  w.CVU_Ef_Filter().setEntries(FilterEntries());
  w.CVU_Ef_Filter().setItemIndex(0);
  w.CVU_Ef_ThText().setText("");
  w.CVU_Ef_Title().setText("");
  w.CVU_Ef_Album().setEntries({});
  w.CVU_Ef_Album().setEnabled(true);
  w.CVU_Ef_EffOff().setChecked(true);
  w.CVU_Ef_Published().setChecked(false);
  CVU_Ef_EffOffClick(w);
}

void CVU_Ef_EffOffClick(UpOptionsControls& w) {
  const bool converting = !w.CVU_Ef_EffOff().checked();
  w.CVU_Ef_Quality().setEnabled(converting);
  w.CVU_Ef_Filter().setEnabled(converting);
}

std::string EntryValue(const ValueComboBox& list) {
  const int index = list.itemIndex();
  if (index < 0 || index >= list.itemCount()) return "";
  const std::string value = list.itemValue(index);
  return value.empty() ? list.itemText(index) : value;
}

UploadOptionValues ReadUploadOptions(UpOptionsControls& w) {
  return {std::to_string(w.CVU_Ef_Quality().value()),
          EntryValue(w.CVU_Ef_Filter()),
          w.CVU_Ef_ThText().text(),
          w.CVU_Ef_Title().text(),
          EntryValue(w.CVU_Ef_Album()),
          w.CVU_Ef_EffOff().checked() ? "on" : "off",
          w.CVU_Ef_Published().checked() ? "on" : "off"};
}

}  // namespace cvu
