#pragma once
// Every widget that stands for a named control carries that name as its object name,
// so tests and tools find it with findChild.
#include <QObject>
#include <QString>

#include "common/main_captions.h"

namespace cvu {

template <class T>
T* Named(T* object, const char* name) {
  object->setObjectName(QString::fromLatin1(name));
  return object;
}

// A control that has no caption or label of its own: what a screen reader calls it.
template <class T>
T* Spoken(T* widget, const char* name) {
  widget->setAccessibleName(QString::fromUtf8(name));
  return widget;
}

// The initial caption of a main-window control, as the headless window has it too.
inline QString InitialText(const char* name) {
  const std::string_view caption = MainCaption(name).caption;
  return QString::fromUtf8(caption.data(), static_cast<qsizetype>(caption.size()));
}

}  // namespace cvu
