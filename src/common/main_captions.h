#pragma once
// The main window's captions and initial states, written once: the Qt window and its
// headless stand-in both build their buttons, labels and menu entries from this table.
#include <stdexcept>
#include <string_view>

namespace cvu {

struct InitialCaption {
  std::string_view name;     // the control's name
  std::string_view caption;  // for CVU_AuthResetBtn, which shows a picture, its hint
  bool enabled = true;
  bool visible = true;
};

inline constexpr InitialCaption kMainCaptions[] = {
    // Upload page.
    {"CVU_EffBtn", "Настройки загрузок"},
    {"CVU_UploadBtn", "Загрузить"},
    {"CVU_OpenFilesBtn", "Открыть файлы"},
    {"N10", "Удалить изображения из списка"},
    // History page and its menu.
    {"CVU_HistoryBtn", "Полная история"},
    {"N1", "Просмотреть ссылки и коды", false},
    {"N6", "Скопировать ссылку", false},
    {"N7", "Скопировать прямую ссылку", false},
    {"N11", "Скопировать \"Свой код\"", false},
    {"N12", "Первый"},
    {"N13", "Второй"},
    {"N14", "Третий"},
    {"N15", "Действие над группой", false, false},
    {"N16", "Скопировать ссылки на изображения"},
    {"N17", "Скопировать прямые ссылки на изображения"},
    {"HTML1", "Скопировать HTML-код"},
    {"BB1", "Скопировать BB-код"},
    {"N18", "Скопировать Свой код 1"},
    {"N21", "Скопировать Свой код 2"},
    {"N31", "Скопировать Свой код 3"},
    // Account sheet.
    {"CVU_AuthBtn", "Авторизация"},
    {"CVU_AuthResetBtn", "Сбросить авторизацию"},
    {"CVU_AuthLabel", "Выполняется авторизация...", true, false},
};

// The entry of a control; a name missing from the table is a programming error.
constexpr const InitialCaption& MainCaption(std::string_view name) {
  for (const InitialCaption& entry : kMainCaptions) {
    if (entry.name == name) return entry;
  }
  throw std::logic_error("no initial caption for this control");
}

}  // namespace cvu
