#pragma once
// The controls of the main window (TCV_Main) that the program's logic reaches by name.
#include "common/controls.h"

namespace cvu {

class MainControls {
 public:
  virtual ~MainControls() = default;
  virtual WindowFrame& frame() = 0;

  // About page.
  virtual Label& CVU_AboutTitle() = 0;
  virtual Label& Label5() = 0;

  // Profile page: account sheet.
  virtual CheckBox& CVU_UserSave() = 0;
  virtual TextBox& CVU_UserName() = 0;
  virtual TextBox& CVU_UserSecure() = 0;

  // Profile page: own-code sheet.
  virtual TextBox& CVU_MYV1() = 0;
  virtual TextBox& CVU_MYV2() = 0;
  virtual TextBox& CVU_MYV3() = 0;

  // Profile page: program sheet.
  virtual CheckBox& CVU_ConfirmDelete() = 0;
  virtual CheckBox& CVU_TitleInfo() = 0;
  virtual CheckBox& CVU_AutoUpload() = 0;
  virtual CheckBox& CVU_StartAutoUpload() = 0;
  virtual CheckBox& CVU_SendAnonymous() = 0;
  virtual ComboBox& CVU_AutoAction() = 0;
  virtual ComboBox& CVU_LinkMycodeID() = 0;

  // Activity log along the bottom.
  virtual ListBox& CVU_LOGLIST() = 0;

  // Upload page, the progress strip and the status bar.
  virtual Button& CVU_EffBtn() = 0;        // "Настройки загрузок"
  virtual Button& CVU_UploadBtn() = 0;     // "Загрузить" / "Остановить загрузку"
  virtual Button& CVU_OpenFilesBtn() = 0;  // "Открыть файлы"
  virtual ListBox& CVU_UploadTable() = 0;  // full paths, entry 0 is sent next
  virtual MenuItem& N10() = 0;             // "Удалить изображения из списка"
  virtual ProgressBar& CVU_PBarImage() = 0;
  virtual ProgressBar& CVU_PBarFull() = 0;
  virtual Label& CVU_InfoStatus() = 0;  // right pane of the status bar

  // Profile page: the rest of the account sheet.
  virtual Button& CVU_AuthBtn() = 0;         // "Авторизация"
  virtual StatusLabel& CVU_AuthLabel() = 0;  // "Выполняется авторизация..."
  virtual ProgressBar& CVU_AuthBar() = 0;    // marquee
  virtual Button& CVU_AuthResetBtn() = 0;    // "Сбросить авторизацию"

  // History page: the view switch, the list and its popup menu CV_Links_Menu.
  virtual Label& CVU_HistoryBtn() = 0;  // the button's caption
  virtual HistoryView& CV_Links_Table() = 0;
  virtual MenuItem& N1() = 0;   // "Просмотреть ссылки и коды"
  virtual MenuItem& N6() = 0;   // "Скопировать ссылку"
  virtual MenuItem& N7() = 0;   // "Скопировать прямую ссылку"
  virtual MenuItem& N11() = 0;  // own-code submenu
  virtual MenuItem& N12() = 0;
  virtual MenuItem& N13() = 0;
  virtual MenuItem& N14() = 0;
  virtual MenuItem& N15() = 0;  // group submenu
  virtual MenuItem& N16() = 0;
  virtual MenuItem& N17() = 0;
  virtual MenuItem& HTML1() = 0;
  virtual MenuItem& BB1() = 0;
  virtual MenuItem& N18() = 0;
  virtual MenuItem& N21() = 0;
  virtual MenuItem& N31() = 0;
};

}  // namespace cvu
