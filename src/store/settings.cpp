// The writes to the settings row: option check boxes, own-code templates, the
// credentials of the login and the whole row at exit. Every value is a bound
// parameter, so no text the user types or the service returns can alter a statement.
#include "store/settings.h"

#include <exception>
#include <functional>
#include <string>
#include <vector>

namespace cvu {
namespace {

constexpr const char* kTemplatesUpdate = "UPDATE CVU_DATA SET mYv_1=?,  mYv_2=?,  mYv_3=?";
constexpr const char* kCredentialsUpdate = "UPDATE CVU_DATA SET user_hash=?, user_id=?, user_name=?, user_secure=?";
constexpr const char* kExitUpdate =
    "UPDATE CVU_DATA SET wPosTop=?, wPosLeft=?, user_hash=?, user_id=?, user_name=?, user_secure=?, "
    "auto_action=?, link_mycode_id=?";

void WriteFlag(StoreContext& ctx, const std::string& column, bool on) {
  ctx.db.execute("UPDATE CVU_DATA SET " + column + "=?", {on ? "1" : "0"});
}

// A refused write is shown; the check box keeps its new state, the row its old value.
void OptionWrite(StoreContext& ctx, const std::function<void()>& writes) {
  try {
    writes();
  } catch (const std::exception& e) {
    ctx.dialogs.showMessage(e.what());
  }
}

void WriteOption(StoreContext& ctx, const std::string& column, const CheckBox& box) {
  OptionWrite(ctx, [&] { WriteFlag(ctx, column, box.checked()); });
}

// The account texts are stored only while the user asks for it and is logged in.
std::vector<std::string> ExitAccountValues(StoreContext& ctx) {
  const AccountValues& a = ctx.account;
  if (ctx.main.CVU_UserSave().checked() && a.user_hash != "0") {
    return {a.user_hash, a.user_id, a.user_name, a.user_secure};
  }
  return {"", "", "", ""};
}

std::vector<std::string> ExitValues(StoreContext& ctx) {
  MainControls& m = ctx.main;
  std::vector<std::string> values{std::to_string(m.frame().top()), std::to_string(m.frame().left())};
  for (auto& text : ExitAccountValues(ctx)) values.push_back(std::move(text));
  values.push_back(std::to_string(m.CVU_AutoAction().itemIndex()));
  values.push_back(std::to_string(m.CVU_LinkMycodeID().itemIndex()));
  return values;
}

}  // namespace

void CVU_ConfirmDeleteClick(StoreContext& ctx) { WriteOption(ctx, "confirm_delete", ctx.main.CVU_ConfirmDelete()); }
void CVU_TitleInfoClick(StoreContext& ctx) { WriteOption(ctx, "title_info", ctx.main.CVU_TitleInfo()); }
void CVU_StartAutoUploadClick(StoreContext& ctx) {
  WriteOption(ctx, "start_autoupload", ctx.main.CVU_StartAutoUpload());
}
void CVU_SendAnonymousClick(StoreContext& ctx) { WriteOption(ctx, "send_anonymous", ctx.main.CVU_SendAnonymous()); }

// Without automatic upload there is nothing to start at once: the second box goes
// off with the first, and comes back enabled but unticked.
void CVU_AutoUploadClick(StoreContext& ctx) {
  CheckBox& startAtOnce = ctx.main.CVU_StartAutoUpload();
  const bool on = ctx.main.CVU_AutoUpload().checked();
  startAtOnce.setEnabled(on);
  if (!on) startAtOnce.setChecked(false);
  OptionWrite(ctx, [&] {
    WriteFlag(ctx, "auto_upload", on);
    if (!on) WriteFlag(ctx, "start_autoupload", false);
  });
}

void SaveMyCodeTemplates(StoreContext& ctx) {
  MainControls& m = ctx.main;
  try {
    ctx.db.execute(kTemplatesUpdate, {m.CVU_MYV1().text(), m.CVU_MYV2().text(), m.CVU_MYV3().text()});
  } catch (const std::exception& e) {
    ctx.AddLogLine("[Error 068] #201# Ошибка обработки данных. Код ошибки: %", e.what());
  }
}

void SaveCredentials(StoreContext& ctx, const std::string& hash, const std::string& id, const std::string& name,
                     const std::string& secure) {
  ctx.db.execute(kCredentialsUpdate, {hash, id, name, secure});
}

void ClearStoredCredentials(StoreContext& ctx) { ctx.db.execute(kCredentialsUpdate, {"", "", "", ""}); }

// Runs once at exit, after a successful start. A refused write (a read-only or locked
// file) is shown, so the user knows this run's position and choices were not kept.
void SaveSettings(StoreContext& ctx) {
  if (!ctx.db.isOpen()) return;
  try {
    ctx.db.execute(kExitUpdate, ExitValues(ctx));
  } catch (const std::exception& e) {
    ctx.dialogs.showMessage(e.what());
  }
  ctx.db.close();
}

}  // namespace cvu
