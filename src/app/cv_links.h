#pragma once
// TCV_Links: "Ссылки на изображение", the texts of one uploaded image, each with a
// copy button. Seven rows placed at fixed positions; the thumbnail row comes and goes.
#include <QLabel>
#include <QToolButton>
#include <array>
#include <memory>

#include "app/qt_controls.h"
#include "app/secondary_window.h"
#include "common/links_controls.h"
#include "program/app_context.h"

namespace cvu {

class TCV_Links : public SecondaryWindow, public LinksControls {
 public:
  TCV_Links(QWidget* owner, AppContext& ctx);

  // The desktop's single border and title bar around the client area.
  static constexpr int kFrameWidth = 6;
  static constexpr int kFrameHeight = 29;

  TextBox& field(int row) override { return *rows_.at(static_cast<std::size_t>(row)).text; }
  void setOuterHeight(int height) override;
  int outerHeight() const override { return height() + kFrameHeight; }
  void setRowVisible(int row, bool visible) override;
  bool rowVisible(int row) const override;
  void moveRow(int row, int labelTop, int fieldTop) override;
  int rowLabelTop(int row) const override { return rows_.at(static_cast<std::size_t>(row)).label->y(); }
  int rowFieldTop(int row) const override { return rows_.at(static_cast<std::size_t>(row)).field->y(); }
  void showWindow() override { showUp(); }

 private:
  struct Row {
    QLabel* label = nullptr;
    QWidget* field = nullptr;
    QToolButton* button = nullptr;
    std::unique_ptr<TextBox> text;
  };
  void buildRow(int row, const char* caption, int labelTop, bool memo, const QIcon& copyIcon);

  AppContext& ctx_;
  std::array<Row, 8> rows_;  // rows 1..7
};

}  // namespace cvu
