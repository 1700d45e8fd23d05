// corvane-upload with several files in flight: whatever order they finish in, the texts,
// the records and the log keep the order of the files given; a stop starts no further
// file and records those in flight.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <fstream>
#include <memory>
#include <mutex>
#include <sstream>
#include <thread>

#include "cli/cli_process.h"
#include "cli/upload_command.h"
#include "support/test_server.h"
#include "support/test_support.h"

namespace cvu {
namespace {

using test::Lines;
using namespace std::chrono_literals;

class ParallelUploadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    database = work.file("cvxas.common.dll");
    std::filesystem::copy_file(CVU_TEST_SUPPLIED_DB, database);
    // The file's number is its content; the upload answers with the page named after it.
    server.post("//upload.html", [this](const test::RecordedRequest& r, httplib::Response& res) {
      const std::string number = r.parts.back().content;
      holdUpload(number);
      res.status = 302;
      res.set_header("Location", "i-" + number);
    });
    server.get("/i-([0-9]+)", [this](const test::RecordedRequest& r, httplib::Response& res) {
      const std::string number = r.target.substr(3);
      res.set_content("<!--{Information:{ID:id" + number + "}{MD:i1}{NAME:id" + number + ".png}{TH:0}}-->",
                      "text/html");
      std::lock_guard lock(mutex);
      ++pages;
      changed.notify_all();
    });
    server.start();
  }
  void TearDown() override { release(); }

  std::vector<std::string> MakeFiles(int count) {
    std::vector<std::string> files;
    for (int i = 0; i < count; ++i) {
      files.push_back(work.file("f" + std::to_string(i) + ".png"));
      std::ofstream(files.back(), std::ios::binary) << i;
    }
    return files;
  }
  int Run(std::vector<std::string> args) {
    args.insert(args.begin(), {"--database", database, "--host", server.host()});
    std::istringstream in;
    std::ostringstream out, err;
    const int status = cli::CorvaneUploadMain(args, {in, out, err, false, nullptr}, *stops);
    cliOut = out.str();
    cliErr = err.str();
    return status;
  }
  std::string Rows() {
    return test::QueryText(database, "SELECT group_concat(image_id, ';') FROM CVU_HISTORY").value_or("");
  }
  int Uploads() {
    int posts = 0;
    for (const auto& r : server.requests()) posts += r.method == "POST";
    return posts;
  }
  // Bounded waits: a test that goes wrong fails rather than hangs.
  template <typename Condition>
  bool WaitFor(Condition condition) {
    std::unique_lock lock(mutex);
    return changed.wait_for(lock, 20s, condition);
  }
  void release() {
    std::lock_guard lock(mutex);
    released = true;
    changed.notify_all();
  }

  std::function<void(const std::string&)> holdUpload = [](const std::string&) {};
  test::TempDir work;
  std::string database;
  test::TestServer server;
  std::unique_ptr<cli::StopRequests> stops = std::make_unique<cli::StopRequests>();
  std::string cliOut, cliErr;
  std::mutex mutex;
  std::condition_variable changed;
  int pages = 0;
  int held = 0;
  bool released = false;
};

TEST_F(ParallelUploadTest, TextsRecordsAndLogKeepTheOrderGivenWhateverOrderFilesFinishIn) {
  // The first file's upload is answered only once the three others have their pages.
  holdUpload = [this](const std::string& number) {
    if (number == "0") WaitFor([this] { return pages >= 3; });
  };
  const auto files = MakeFiles(4);
  ASSERT_EQ(Run({"--jobs", "4", files[0], files[1], files[2], files[3]}), 0) << cliErr;
  EXPECT_EQ(Rows(), "id0;id1;id2;id3");
  const auto out = Lines(cliOut);
  ASSERT_EQ(out.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], "http://" + server.host() + "/i-id" + std::to_string(i));
  // Each file's lines together, in the files' order, one separator between files.
  std::vector<std::string> bodies;
  for (const auto& line : Lines(cliErr)) bodies.push_back(line.substr(line.find("] ") + 2));
  std::vector<std::string> expected;
  for (int i = 0; i < 4; ++i) {
    const std::string name = " \"f" + std::to_string(i) + ".png\" ";
    expected.insert(expected.end(), {"Загружаю изображение" + name + "...", "Изображение" + name + " загружено",
                                     "Ожидание ссылок...", "Ссылки получены", "============"});
  }
  expected.push_back("Изображения загружены");
  EXPECT_EQ(bodies, expected);
}

TEST_F(ParallelUploadTest, AStopStartsNoFurtherFileAndRecordsThoseInFlightASecondEndsThem) {
  holdUpload = [this](const std::string&) {
    std::unique_lock lock(mutex);
    ++held;
    changed.notify_all();
    changed.wait_for(lock, 20s, [this] { return released; });
  };
  const auto files = MakeFiles(5);
  for (const int requests : {1, 2}) {
    SCOPED_TRACE(requests);
    released = false;
    held = 0;
    const int before = Uploads();
    std::thread stopper([&] {
      if (!WaitFor([this] { return held == 2; })) return;
      for (int i = 0; i < requests; ++i) stops->request();
      // The second request ends the requests in flight without an answer.
      if (requests == 1) release();
    });
    const int status = Run({"--jobs", "2", files[0], files[1], files[2], files[3], files[4]});
    stopper.join();
    release();
    EXPECT_EQ(status, 1);
    EXPECT_EQ(Uploads() - before, 2);
    EXPECT_EQ(Lines(cliErr).back().substr(Lines(cliErr).back().find("] ") + 2), "Изображения загружены");
    stops = std::make_unique<cli::StopRequests>();
  }
  // Only the first run's two files, which the service took, were recorded.
  EXPECT_EQ(Rows(), "id0;id1");
}

}  // namespace
}  // namespace cvu
