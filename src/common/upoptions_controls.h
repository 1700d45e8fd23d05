#pragma once
// The upload options window (TCV_UpOptions): values sent with every file.
#include "common/controls.h"

namespace cvu {

class UpOptionsControls {
 public:
  virtual ~UpOptionsControls() = default;
  virtual SpinEdit& CVU_Ef_Quality() = 0;
  virtual ValueComboBox& CVU_Ef_Filter() = 0;
  virtual TextBox& CVU_Ef_ThText() = 0;
  virtual TextBox& CVU_Ef_Title() = 0;
  virtual ValueComboBox& CVU_Ef_Album() = 0;
  virtual CheckBox& CVU_Ef_EffOff() = 0;
  virtual CheckBox& CVU_Ef_Published() = 0;
  // Shows the window without blocking, or brings it to the front.
  virtual void showWindow() = 0;
};

}  // namespace cvu
