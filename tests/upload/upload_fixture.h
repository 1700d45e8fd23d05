#pragma once
// A headless program with its database loaded, upload options in their initial state
// and image files in its folder, pointed at a given service host.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "common/identity.h"
#include "headless/headless_windows.h"
#include "store/settings.h"
#include "support/test_support.h"
#include "upload/upload_options.h"
#include "upload/upload_worker.h"

namespace cvu::test {

class UploadFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetUploadOptions(options);
    p.ctx.upOptions = &options;
    ASSERT_TRUE(LoadSettings(p.ctx));
  }
  void TearDown() override {
    p.ctx.uploadWorkers.close([this] { p.ui.drain(); });
    SetServiceHost(kDefaultServiceHost);
  }

  // Writes an image file of the given size into the program's folder; returns its path.
  std::string MakeFile(const std::string& name, std::size_t size = 1000) {
    const std::string path = p.dir.file(name);
    std::ofstream(path, std::ios::binary) << std::string(size, 'x');
    return path;
  }
  void Queue(const std::string& path) { p.main.uploadTable.addLine(path); }

  // Clicks "Загрузить" and lets the run go to its end.
  bool RunUpload() {
    CVU_UploadBtnClick(p.ctx);
    return WaitForEnd();
  }
  bool WaitForEnd() {
    return p.ui.runUntil([this] { return !p.ctx.upload.Uploading && p.ctx.uploadWorkers.idle(); },
                         std::chrono::seconds(30));
  }
  // Log lines without their stamps, from the first that contains marker on.
  std::vector<std::string> LogFrom(const std::string& marker) const {
    auto lines = p.logBodies();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (lines[i].find(marker) != std::string::npos) return {lines.begin() + i, lines.end()};
    }
    return {};
  }

  HeadlessProgram p;
  HeadlessUpOptions options;
};

}  // namespace cvu::test
