#pragma once
// TCV_UpOptions: "Настройки загрузок", the choices sent with every file. It only holds
// values; they last for the run.
#include <memory>

#include "app/qt_controls.h"
#include "app/secondary_window.h"
#include "common/upoptions_controls.h"

namespace cvu {

class TCV_UpOptions : public SecondaryWindow, public UpOptionsControls {
 public:
  explicit TCV_UpOptions(QWidget* owner);

  SpinEdit& CVU_Ef_Quality() override { return *quality_; }
  ValueComboBox& CVU_Ef_Filter() override { return *filter_; }
  TextBox& CVU_Ef_ThText() override { return *thText_; }
  TextBox& CVU_Ef_Title() override { return *title_; }
  ValueComboBox& CVU_Ef_Album() override { return *album_; }
  CheckBox& CVU_Ef_EffOff() override { return *effOff_; }
  CheckBox& CVU_Ef_Published() override { return *published_; }
  void showWindow() override { showUp(); }

 private:
  QCheckBox* effOffBox_ = nullptr;
  QComboBox* filterBox_ = nullptr;
  std::unique_ptr<QtSpinEdit> quality_;
  std::unique_ptr<QtValueComboBox> filter_, album_;
  std::unique_ptr<QtLineText> thText_, title_;
  std::unique_ptr<QtCheckBox> effOff_, published_;
};

}  // namespace cvu
