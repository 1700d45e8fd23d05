#pragma once
// Records A and B of the link examples, and a headless program with a fixed host.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "common/identity.h"
#include "common/text.h"
#include "links/history_page.h"
#include "store/history.h"
#include "support/test_support.h"

namespace cvu::test {

inline constexpr const char* kTestHost = "pics.example";

inline HistoryRecord RecordA(const std::string& group = "0") {
  return {"a1b2cd34e567",
          "i1",
          "a1b2cd34e567.png",
          "a1b2cd34e567.th.png",
          "a.png",
          "/home/u/a.png",
          "1 Январь 2059 г. 23:59:59",
          group};
}

inline HistoryRecord RecordB(const std::string& group = "0") {
  return {"b2c3de45f678", "i2", "b2c3de45f678.jpg", "0", "b.jpg", "/home/u/b.jpg", "2 Январь 2059 г. 0:00:01", group};
}

// A record whose texts are derived from a number, so every image of a group differs.
inline HistoryRecord NumberedRecord(int n, const std::string& group) {
  const std::string id = "id" + std::to_string(n);
  return {id,
          "i" + std::to_string(n),
          id + ".jpg",
          id + ".th.jpg",
          "file" + std::to_string(n) + ".jpg",
          "/pics/file" + std::to_string(n) + ".jpg",
          "3 Март 2027 г. 1:02:0" + std::to_string(n),
          group};
}

// "{H}" in an expected text stands for the service's host.
inline std::string WithHost(const std::string& text) { return ReplaceAll(text, "{H}", kTestHost); }

class HostFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    savedHost_ = ServiceHost();
    SetServiceHost(kTestHost);
  }
  void TearDown() override { SetServiceHost(savedHost_); }

 private:
  std::string savedHost_;
};

// The run history filled directly, the run view filled from it.
class HistoryPageFixture : public HostFixture {
 protected:
  HeadlessProgram program{false};
  AppContext& ctx = program.ctx;
  HeadlessMain& main = program.main;
  FakeClipboard& clipboard = program.clipboard;

  void SetRunHistory(const std::vector<HistoryRecord>& records) { Fill(ctx.history.RunHistory, records); }
  void SetFullHistory(const std::vector<HistoryRecord>& records) { Fill(ctx.history.FullHistory, records); }
  static void Fill(HistoryList& list, const std::vector<HistoryRecord>& records) {
    list.clear();
    for (const auto& r : records) list.push_back(r);
  }
  void Select(std::optional<int> item) {
    main.linksTable.selected = item;
    CV_Links_TableSelectItem(ctx);
  }
};

}  // namespace cvu::test
