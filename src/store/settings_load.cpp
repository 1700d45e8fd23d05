// LoadSettings: the settings row into the main window at start.
#include <climits>
#include <exception>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/identity.h"
#include "common/text.h"
#include "store/history_store.h"
#include "store/settings.h"

namespace cvu {
namespace {

constexpr const char* kLineBreak = "\r\n";
constexpr const char* kSelectSettings = "SELECT * FROM CVU_DATA";
constexpr const char* kInsertSettings = "INSERT INTO CVU_DATA(wPosLeft, wPosTop) VALUES(0, 0);";

std::string MissingTableMessage() {
  return std::string("[Error 058] При загрузке базы данных произошла ошибка") + kLineBreak + "Программа будет закрыта" +
         kLineBreak + kLineBreak +
         "При возникновении повторных ошибок, отправьте соответствующую информацию по контактам, "
         "указанным на сайте " +
         ServiceHomePage();
}

std::string CannotOpenMessage(const std::string& path, const std::string& error) {
  return "Не удалось открыть базу данных \"" + path + "\": " + error + kLineBreak + "Программа будет закрыта";
}

void SetCaptions(MainControls& m) {
  m.frame().setCaption(kProductCaption);
  m.CVU_AboutTitle().setText(kProductCaption);
  m.Label5().setText(std::string("Version ") + VersionText);
}

// Steps 2 and 3: the program cannot go on without a usable file holding CVU_DATA.
bool OpenSettingsDatabase(StoreContext& ctx) {
  std::string message;
  try {
    ctx.db.open(ctx.databasePath);
    if (ctx.db.tableExists("CVU_DATA")) return true;
    message = MissingTableMessage();
  } catch (const std::exception& e) {
    message = CannotOpenMessage(ctx.databasePath, e.what());
  }
  ctx.db.close();
  ctx.dialogs.showMessage(message);
  return false;
}

// The first row's values by column name, each read as the settings row is read.
using SettingsRow = std::vector<std::pair<std::string, std::string>>;

std::optional<SettingsRow> FirstRow(StoreContext& ctx) {
  DbStatement st(ctx.db.handle(), kSelectSettings);
  if (!st.step()) return std::nullopt;
  SettingsRow row;
  for (int c = 0; c < st.columnCount(); ++c) row.emplace_back(st.columnName(c), st.readDeclared(c));
  return row;
}

// Step 4. A table that cannot be read or given its row (a read-only file) is reported;
// start-up goes on without a row.
std::optional<SettingsRow> ReadSettingsRow(StoreContext& ctx) {
  try {
    if (auto row = FirstRow(ctx)) return row;
    ctx.db.execute(kInsertSettings);
    return FirstRow(ctx);
  } catch (const std::exception& e) {
    ctx.dialogs.showMessage(e.what());
  }
  return std::nullopt;
}

// A column by name, letter case ignored.
std::string Text(const SettingsRow& row, const char* column) {
  for (const auto& [name, value] : row) {
    if (AsciiEqualIgnoringCase(name, column)) return value;
  }
  throw DatabaseError(std::string("Field not found in dataset: ") + column);
}

bool Bool(const SettingsRow& row, const char* column) { return TextToBool(Text(row, column)); }

// Positions and list indexes are 32-bit: a larger stored number does not convert.
int Int(const SettingsRow& row, const char* column) {
  const std::string text = Text(row, column);
  const long long value = TextToInt(text);
  if (value < INT_MIN || value > INT_MAX) throw ConvertError("'" + text + "' is not a valid integer value");
  return static_cast<int>(value);
}

void ReadAccount(StoreContext& ctx, const SettingsRow& row) {
  const std::string hash = Text(row, "user_hash");
  const std::string id = Text(row, "user_id");
  const std::string name = Text(row, "user_name");
  const std::string secure = Text(row, "user_secure");
  const bool saved = !hash.empty() && !id.empty() && !name.empty() && !secure.empty();
  ctx.account = saved ? AccountValues{hash, id, name, secure} : AccountValues::Anonymous();
  ctx.main.CVU_UserSave().setChecked(saved);
  ctx.main.CVU_UserName().setText(saved ? name : "");
  ctx.main.CVU_UserSecure().setText(saved ? secure : "");
}

struct Placement {
  std::optional<int> top;
  std::optional<int> left;
};

void ReadOptions(MainControls& m, const SettingsRow& row) {
  m.CVU_ConfirmDelete().setChecked(Bool(row, "confirm_delete"));
  m.CVU_TitleInfo().setChecked(Bool(row, "title_info"));
  const bool autoUpload = Bool(row, "auto_upload");
  m.CVU_AutoUpload().setChecked(autoUpload);
  m.CVU_StartAutoUpload().setEnabled(autoUpload);
  m.CVU_StartAutoUpload().setChecked(Bool(row, "start_autoupload"));
  m.CVU_SendAnonymous().setChecked(Bool(row, "send_anonymous"));
}

// Step 5, column by column in the table's order: the first value that fails stops the
// reading, and the controls of the later columns keep their initial states.
void FillFromRow(StoreContext& ctx, const SettingsRow& row, Placement& place) {
  MainControls& m = ctx.main;
  try {
    ReadAccount(ctx, row);
    place.top = Int(row, "wPosTop");
    place.left = Int(row, "wPosLeft");
    m.CVU_MYV1().setText(Text(row, "mYv_1"));
    m.CVU_MYV2().setText(Text(row, "mYv_2"));
    m.CVU_MYV3().setText(Text(row, "mYv_3"));
    ReadOptions(m, row);
    m.CVU_AutoAction().setItemIndex(Int(row, "auto_action"));
    m.CVU_LinkMycodeID().setItemIndex(Int(row, "link_mycode_id"));
  } catch (const std::exception& e) {
    ctx.dialogs.showMessage(e.what());
  }
}

// A window closed at the top edge, or left of the primary monitor, comes back centred.
void PlaceWindow(WindowFrame& frame, const Placement& place) {
  if (place.top && place.left && *place.top > 0 && *place.left > 0) {
    frame.moveTo(*place.left, *place.top);
  } else {
    frame.centreOnDesktop();
  }
}

void ResetRunState(StoreContext& ctx) {
  ctx.history.RunHistory.clear();
  ctx.history.FullHistory.clear();
  ctx.history.FullHistoryShown = false;
  ctx.upload.GroupNumber = 0;
  ctx.upload.GroupTotal = 0;
  ctx.upload.Uploading = false;
}

}  // namespace

void LoadFullHistoryShowingFailures(StoreContext& ctx) {
  try {
    LoadFullHistory(ctx.db, ctx.history, ctx.log);
  } catch (const std::exception& e) {
    ctx.dialogs.showMessage(e.what());
  }
}

bool LoadSettings(StoreContext& ctx, bool loadHistoryNow) {
  SetCaptions(ctx.main);
  if (!OpenSettingsDatabase(ctx)) return false;
  Placement place;
  if (const auto row = ReadSettingsRow(ctx)) FillFromRow(ctx, *row, place);
  PlaceWindow(ctx.main.frame(), place);
  ResetRunState(ctx);
  if (loadHistoryNow) LoadFullHistoryShowingFailures(ctx);
  return true;
}

}  // namespace cvu
