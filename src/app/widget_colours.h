#pragma once
// Fixed colours of single controls, set in their palettes: a style sheet would give
// each such control a style of its own, which costs more at start than the colour is
// worth.
#include <QAbstractScrollArea>
#include <QColor>
#include <QScrollBar>
#include <QWidget>

namespace cvu {

// The colour of a caption's text.
inline void SetTextColour(QWidget* widget, const QColor& colour) {
  QPalette palette = widget->palette();
  palette.setColor(QPalette::WindowText, colour);
  palette.setColor(QPalette::Text, colour);
  widget->setPalette(palette);
}

// The background of a text field and of the frame around it; its scroll bars keep theirs.
inline void SetFieldBackground(QAbstractScrollArea* field, const QColor& colour) {
  QPalette bars = field->palette();
  for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    bars.setColor(group, QPalette::Window, bars.color(group, QPalette::Window));  // kept, not inherited
  }
  QPalette palette = field->palette();
  palette.setColor(QPalette::Base, colour);
  palette.setColor(QPalette::Window, colour);
  field->setPalette(palette);
  field->horizontalScrollBar()->setPalette(bars);
  field->verticalScrollBar()->setPalette(bars);
}

}  // namespace cvu
