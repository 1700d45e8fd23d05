#pragma once
// Local file URLs (drops, copied files) to the path's bytes as the file system has them.
#include <QUrl>
#include <string>

namespace cvu {

// A name that is not UTF-8 stays percent-encoded in the URL and is decoded here byte
// for byte, so the file is found under its real name.
std::string LocalFileBytes(const QUrl& url);

}  // namespace cvu
