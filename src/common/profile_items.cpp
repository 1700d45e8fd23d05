#include "common/profile_items.h"

namespace cvu {

std::vector<std::string> AutoActionItems() {
  return {"Ждущий режим",
          "Скопировать ссылки на изображения",
          "Скопировать ссылки на полные изображения",
          "Скопировать HTML-код",
          "Скопировать BB-код",
          "Скопировать Свой код 1",
          "Скопировать Свой код 2",
          "Скопировать Свой код 3"};
}

std::vector<std::string> LinkMycodeItems() { return {"Свой код 1", "Свой код 2", "Свой код 3"}; }

}  // namespace cvu
