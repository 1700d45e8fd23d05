// Every case file under tests/wire/cases: the program makes one service request (or a
// short series) against a scripted listener, which must receive exactly the bytes the
// case expects; then one visible result of the answers is checked.
#include <atomic>
#include <cctype>
#include <set>
#include <thread>

#include "account/albums.h"
#include "account/login.h"
#include "account/version_check.h"
#include "store/history_store.h"
#include "support/scripted_listener.h"
#include "upload/fetch_upload_result.h"
#include "upload/upload_fixture.h"
#include "wire/wire_case.h"
#include "wire/wire_diff.h"

namespace cvu {
namespace {

using test::WireCase;

const std::filesystem::path kCases = CVU_WIRE_CASES;
const std::set<std::string> kOperations = {"upload", "result", "login", "albums", "version"};
const std::set<std::string> kKeys = {
    "operation",        "account",       "send-anonymous", "quality",        "filter",
    "thumbtext",        "title",         "no-conversion",  "published",      "file",
    "file-bytes",       "location",      "login",          "password",       "save",
    "expect-log",       "expect-no-log", "expect-record",  "expect-account", "expect-albums",
    "expect-album-box", "expect-status", "expect-message"};

bool Yes(const std::string& value) { return value == "yes"; }

std::string TestName(const ::testing::TestParamInfo<std::filesystem::path>& info) {
  std::string name = info.param.stem().string();
  for (char& c : name) {
    if (!std::isalnum(static_cast<unsigned char>(c))) c = '_';
  }
  return name;
}

class WireCaseTest : public test::UploadFixture, public ::testing::WithParamInterface<std::filesystem::path> {
 protected:
  void Arrange(const WireCase& c);
  void ArrangeUploadOptions(const WireCase& c);
  void Act(const WireCase& c, const std::string& operation);
  void FetchResult(const WireCase& c);
  void CheckExchanges(const WireCase& c);
  void CheckOutcome(const WireCase& c);
  void CheckAlbums(const WireCase& c);
  // The host and boundary written as their placeholders, as in a case file.
  std::string Readable(const std::string& bytes, const std::optional<std::string>& boundary) const {
    return test::MaskBoundary(test::MaskHost(bytes, listener.host()), boundary);
  }
  std::string FilePath(const WireCase& c) const { return p.dir.file(c.value("file").value_or("photo.png")); }

  test::ScriptedListener listener;
};

void WireCaseTest::Arrange(const WireCase& c) {
  if (const auto a = c.value("account")) {
    const auto v = test::SplitList(*a);
    ASSERT_EQ(v.size(), 4u) << "account: hash | id | name | secure";
    p.ctx.account = {v[0], v[1], v[2], v[3]};
  }
  if (const auto v = c.value("send-anonymous")) p.main.CVU_SendAnonymous().setChecked(Yes(*v));
  if (const auto v = c.value("login")) p.main.CVU_UserName().setText(*v);
  if (const auto v = c.value("password")) p.main.CVU_UserSecure().setText(*v);
  if (const auto v = c.value("save")) p.main.CVU_UserSave().setChecked(Yes(*v));
  ArrangeUploadOptions(c);
}

void WireCaseTest::ArrangeUploadOptions(const WireCase& c) {
  if (const auto v = c.value("quality")) options.CVU_Ef_Quality().setValue(std::stoi(*v));
  if (const auto v = c.value("filter")) options.CVU_Ef_Filter().setItemIndex(std::stoi(*v));
  if (const auto v = c.value("thumbtext")) options.CVU_Ef_ThText().setText(*v);
  if (const auto v = c.value("title")) options.CVU_Ef_Title().setText(*v);
  if (const auto v = c.value("no-conversion")) options.CVU_Ef_EffOff().setChecked(Yes(*v));
  if (const auto v = c.value("published")) options.CVU_Ef_Published().setChecked(Yes(*v));
}

void WireCaseTest::Act(const WireCase& c, const std::string& operation) {
  if (operation == "upload") {
    std::ofstream(FilePath(c), std::ios::binary) << c.value("file-bytes").value_or("image bytes");
    Queue(FilePath(c));
    ASSERT_TRUE(RunUpload());
  } else if (operation == "result") {
    FetchResult(c);
  } else if (operation == "login") {
    Login(p.ctx);
  } else if (operation == "albums") {
    HttpClient client(p.ctx.http);
    LoadAlbums(client, p.ctx.account, p.ctx.upOptions, p.ctx.log);
  } else if (operation == "version") {
    StartVersionCheck(p.ctx);
    ASSERT_TRUE(p.ui.runUntil([this] { return p.ctx.versionChecks.idle(); }));
    p.ui.drain();
  }
}

// On a worker thread, as the upload worker calls it, while this thread serves as the UI thread.
void WireCaseTest::FetchResult(const WireCase& c) {
  std::atomic<bool> finished{false};
  const AccountValues account = p.ctx.account;
  std::thread worker([&] {
    const auto log = [this](const std::string& message, const std::string& argument) {
      p.ctx.AddLogLine(message, argument);
    };
    const auto ids = FetchResultIds(c.value("location").value_or("i-abc"), account, p.ctx.http, log);
    if (ids) {
      p.ui.invoke([&] {
        AddHistoryRecord(p.ctx, FilePath(c), 0, ids->imageId, ids->folderId, ids->imageName, ids->thumbName);
      });
    }
    finished = true;
  });
  const bool done = p.ui.runUntil([&] { return finished.load(); }, std::chrono::seconds(30));
  worker.join();
  p.ui.drain();
  ASSERT_TRUE(done);
}

void WireCaseTest::CheckExchanges(const WireCase& c) {
  const auto received = listener.received();
  for (std::size_t i = 0; i < c.exchanges.size(); ++i) {
    const auto& exchange = c.exchanges[i];
    const std::string where = "exchange " + std::to_string(i + 1) + " (line " + std::to_string(exchange.line) + ")";
    if (i >= received.size()) {
      ADD_FAILURE() << where << ": no request arrived";
      continue;
    }
    const auto boundary = test::MultipartBoundary(received[i].bytes);
    const std::string expected = test::ExpandPlaceholders(exchange.request, {listener.host(), boundary});
    const std::string diff = test::WireDiff(Readable(expected, boundary), Readable(received[i].bytes, boundary));
    if (!diff.empty()) {
      ADD_FAILURE() << where << ", request bytes differ: " << diff;
    } else if (expected != received[i].bytes) {
      ADD_FAILURE() << where << ": the bytes differ where the boundary or host is masked";
    }
    EXPECT_EQ(received[i].connection, exchange.connection) << where << ": on which connection";
  }
  for (std::size_t i = c.exchanges.size(); i < received.size(); ++i) {
    const auto boundary = test::MultipartBoundary(received[i].bytes);
    ADD_FAILURE() << "an unexpected request " << i + 1 << ": "
                  << test::WireDiff("", Readable(received[i].bytes, boundary));
  }
}

void WireCaseTest::CheckOutcome(const WireCase& c) {
  const auto log = p.logBodies();
  const auto logged = [&](const std::string& line) { return std::find(log.begin(), log.end(), line) != log.end(); };
  for (const auto& line : c.values("expect-log")) EXPECT_TRUE(logged(line)) << "log line: " << line;
  for (const auto& line : c.values("expect-no-log")) EXPECT_FALSE(logged(line)) << "log line: " << line;
  if (const auto v = c.value("expect-record")) {
    const auto& run = p.ctx.history.RunHistory;
    if (*v == "none") {
      EXPECT_EQ(run.count(), 0);
    } else if (run.count() != 1) {
      ADD_FAILURE() << "recorded images: " << run.count();
    } else {
      const auto& r = run.at(0);
      EXPECT_EQ(test::SplitList(*v), (std::vector<std::string>{r.image_id, r.folder_id, r.image_name, r.image_th}));
      EXPECT_EQ(r.base_filefolder, FilePath(c));
    }
  }
  if (const auto v = c.value("expect-account")) {
    const auto& a = p.ctx.account;
    EXPECT_EQ(test::SplitList(*v), (std::vector<std::string>{a.user_hash, a.user_id, a.user_name, a.user_secure}));
  }
  if (const auto v = c.value("expect-status")) {
    EXPECT_EQ(p.main.CVU_InfoStatus().text(), *v);
  }
  if (const auto v = c.value("expect-message")) {
    EXPECT_EQ(p.dialogs.messages, std::vector<std::string>{*v});
  }
  CheckAlbums(c);
}

void WireCaseTest::CheckAlbums(const WireCase& c) {
  ValueComboBox& box = options.CVU_Ef_Album();
  if (const auto v = c.value("expect-albums")) {
    std::vector<std::string> shown;
    for (int i = 0; i < box.itemCount(); ++i) shown.push_back(box.itemText(i) + "=" + box.itemValue(i));
    EXPECT_EQ(shown, test::SplitList(*v));
    EXPECT_EQ(box.itemIndex(), 0);
  }
  if (const auto v = c.value("expect-album-box")) {
    EXPECT_EQ(box.enabled() ? "enabled" : "disabled", *v);
  }
}

TEST_P(WireCaseTest, RequestBytesAndResult) {
  WireCase c;
  ASSERT_NO_THROW(c = test::LoadWireCase(GetParam()));
  for (const auto& [key, value] : c.settings) ASSERT_TRUE(kKeys.count(key)) << "unknown key \"" << key << "\"";
  const std::string operation = c.value("operation").value_or("");
  ASSERT_TRUE(kOperations.count(operation)) << "operation: " << operation;

  std::vector<test::CannedAnswer> script;
  for (const auto& e : c.exchanges) {
    script.push_back({test::ExpandPlaceholders(e.answer, {listener.host(), std::nullopt}), e.closeAfter});
  }
  listener.serve(std::move(script));
  SetServiceHost(listener.host());
  Arrange(c);
  Act(c, operation);
  CheckExchanges(c);
  CheckOutcome(c);
}

INSTANTIATE_TEST_SUITE_P(Cases, WireCaseTest, ::testing::ValuesIn(test::WireCaseFiles(kCases)), TestName);
GTEST_ALLOW_UNINSTANTIATED_PARAMETERIZED_TEST(WireCaseTest);

TEST(WireCases, EveryServiceRequestHasACaseAndEveryCaseReads) {
  std::set<std::string> covered;
  for (const auto& file : test::WireCaseFiles(kCases)) {
    try {
      covered.insert(test::LoadWireCase(file).value("operation").value_or(""));
    } catch (const std::runtime_error& e) {
      ADD_FAILURE() << e.what();
    }
  }
  for (const auto& operation : kOperations) EXPECT_TRUE(covered.count(operation)) << operation << " in " << kCases;
}

}  // namespace
}  // namespace cvu
