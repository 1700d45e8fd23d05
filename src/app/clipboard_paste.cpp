#include "app/clipboard_paste.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QShortcut>
#include <QWidget>
#include <filesystem>

#include "app/local_file.h"
#include "program/app_context.h"
#include "upload/pasted_files.h"
#include "upload/upload_list.h"

namespace cvu {
namespace {

// The picture as a PNG file in the pasted folder; empty when it could not be written.
std::string SavePastedImage(AppContext& ctx, const QImage& image) {
  const std::string folder = PastedFolder(ctx.databasePath);
  MakePastedFolder(folder);  // a failure shows as the picture not saved
  const auto taken = [](const std::string& path) { return std::filesystem::exists(path); };
  std::string path = PastedImagePath(folder, ctx.clock.now(), taken);
  if (!image.save(QFile::decodeName(QByteArray::fromStdString(path)), "PNG")) {
    ctx.AddLogLine("Не удалось сохранить вставленное изображение в \"%\"", path);
    return {};
  }
  return path;
}

std::vector<std::string> PastedPaths(AppContext& ctx, const QMimeData& mime) {
  std::vector<std::string> paths;
  if (mime.hasUrls()) {
    for (const QUrl& url : mime.urls()) {
      if (url.isLocalFile()) paths.push_back(LocalFileBytes(url));
    }
  } else if (mime.hasImage()) {
    const QImage image = qvariant_cast<QImage>(mime.imageData());
    if (!image.isNull()) {
      if (std::string path = SavePastedImage(ctx, image); !path.empty()) paths.push_back(std::move(path));
    }
  } else if (mime.hasText()) {
    paths = PathsFromPastedText(mime.text().toStdString());
  }
  return paths;
}

}  // namespace

void PasteIntoUploadList(AppContext& ctx) {
  const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
  if (!mime) return;
  const std::vector<std::string> paths = PastedPaths(ctx, *mime);
  if (!paths.empty()) DropFiles(ctx, paths);
}

void InstallPasteKeys(QWidget* page, const std::function<void()>& paste) {
  for (const QKeySequence& keys : {QKeySequence(Qt::CTRL | Qt::Key_V), QKeySequence(Qt::SHIFT | Qt::Key_Insert)}) {
    // The whole window's keys while the page is shown: right after start the focus is on
    // the page tabs. A text field elsewhere keeps its own paste.
    auto* shortcut = new QShortcut(keys, page);  // owned by the page
    shortcut->setContext(Qt::WindowShortcut);
    QObject::connect(shortcut, &QShortcut::activated, page, [page, paste] {
      if (page->isVisible()) paste();
    });
  }
}

}  // namespace cvu
