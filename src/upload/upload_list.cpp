#include "upload/upload_list.h"

#include "common/identity.h"
#include "common/text.h"
#include "upload/upload_worker.h"

namespace cvu {

bool HasImageExtension(const std::string& path) {
  const std::string name = LastPathComponent(path);
  const auto dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  const std::string ext = AsciiLower(name.substr(dot));
  return ext == ".jpg" || ext == ".jpeg" || ext == ".png" || ext == ".gif";
}

void AutomaticStart(UploadContext& ctx) {
  // A run in progress keeps going; the new entries are part of its group.
  if (ctx.upload.Uploading || ctx.main.CVU_UploadBtn().caption() != kStartCaption) return;
  if (ctx.main.CVU_StartAutoUpload().checked() ||
      ctx.dialogs.askYesNo(kProductCaption, "Вы хотите начать загрузку изображений из списка?")) {
    CVU_UploadBtnClick(ctx);
  }
}

void CVU_OpenFilesBtnClick(UploadContext& ctx) {
  const auto chosen = ctx.dialogs.openFiles(kOpenFilesFilter);
  if (chosen.empty()) return;
  for (const auto& path : chosen) ctx.main.CVU_UploadTable().addLine(path);
  if (ctx.main.CVU_AutoUpload().checked()) AutomaticStart(ctx);
}

void DropFiles(UploadContext& ctx, const std::vector<std::string>& paths) {
  ListBox& list = ctx.main.CVU_UploadTable();
  for (const auto& path : paths) {
    if (HasImageExtension(path)) list.addLine(path);
  }
  if (list.count() > 0 && ctx.main.CVU_AutoUpload().checked()) AutomaticStart(ctx);
}

std::string RemovalQuestion(const ListBox& list) {
  int selected = 0;
  std::string listed;
  int counter = 1;
  bool walking = true;
  for (int i = 0; i < list.count(); ++i) {
    if (!list.isSelected(i)) continue;
    ++selected;
    if (!walking) continue;
    if (counter > 3) {
      listed += "\r\n...";
      walking = false;
    } else {
      listed += "\r\n" + list.line(i);
      ++counter;
    }
  }
  return ReplaceAll("Вы уверены что хотите удалить эти изображения (%) из списка?\r\n" + listed, "%",
                    std::to_string(selected));
}

namespace {

void RemoveSelected(ListBox& list) {
  std::vector<std::string> kept;
  for (int i = 0; i < list.count(); ++i) {
    if (!list.isSelected(i)) kept.push_back(list.line(i));
  }
  list.clear();
  for (const auto& line : kept) list.addLine(line);
}

}  // namespace

void N10Click(StoreContext& ctx) {
  if (ctx.upload.Uploading) return;
  ListBox& list = ctx.main.CVU_UploadTable();
  bool any = false;
  for (int i = 0; i < list.count() && !any; ++i) any = list.isSelected(i);
  if (!any) return;
  if (ctx.main.CVU_ConfirmDelete().checked() && !ctx.dialogs.askYesNo(kProductCaption, RemovalQuestion(list))) return;
  RemoveSelected(list);
}

}  // namespace cvu
