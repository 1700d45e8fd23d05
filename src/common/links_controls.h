#pragma once
// The links window (TCV_Links): seven rows of texts for one image with copy buttons.
#include "common/controls.h"

namespace cvu {

class LinksControls {
 public:
  virtual ~LinksControls() = default;
  // Row 1..7 fields: CV_Links_01 .. CV_Links_07.
  virtual TextBox& field(int row) = 0;
  // Minimum and maximum outer height (the width stays fixed).
  virtual void setOuterHeight(int height) = 0;
  virtual int outerHeight() const = 0;
  // Shows or hides a row's label, field and copy button.
  virtual void setRowVisible(int row, bool visible) = 0;
  virtual bool rowVisible(int row) const = 0;
  // Moves a row: its label to labelTop, its field and copy button to fieldTop.
  virtual void moveRow(int row, int labelTop, int fieldTop) = 0;
  virtual int rowLabelTop(int row) const = 0;
  virtual int rowFieldTop(int row) const = 0;
  // Shows the window without blocking, or brings it to the front.
  virtual void showWindow() = 0;
};

}  // namespace cvu
