// The built corvane-upload run as a process in a working folder of its own, against
// the local photo-hosting service: what it prints, records and exits with.
#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>

#include "cli/cli_process.h"
#include "cli/data_folder.h"
#include "common/version.h"
#include "service/photo_service.h"
#include "support/test_server.h"
#include "support/test_support.h"

namespace cvu {
namespace {

using test::Lines;

class CliProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directory(work);
    std::filesystem::create_directories(dataHome / "corvane-uploader");
    database = (dataHome / "corvane-uploader/cvxas.common.dll").string();
    std::filesystem::copy_file(CVU_TEST_SUPPLIED_DB, database);
    const int port = service.start(0);
    ASSERT_GT(port, 0);
    host = "localhost:" + std::to_string(port);
  }

  std::string MakeImage(const std::string& name, std::size_t size = 2000) {
    const std::string path = (work / name).string();
    std::ofstream(path, std::ios::binary) << std::string(size, 'p');
    return path;
  }
  // Runs in the working folder against the service, with the database in the data folder.
  test::CliRun Run(std::vector<std::string> args, const std::string& input = "") {
    args.insert(args.begin(), {"--host", host});
    return test::RunCorvaneUploadProcess(args, work.string(), input, {"XDG_DATA_HOME=" + dataHome.string()});
  }
  std::string Rows(const std::string& columns) {
    return test::QueryText(database, "SELECT group_concat(" + columns + ", ';') FROM CVU_HISTORY").value_or("");
  }
  // The settings row, made first when the table has none (as the program's start makes it).
  void SetSettings(const std::string& assignments) {
    test::RunSql(database,
                 "INSERT INTO CVU_DATA(wPosLeft, wPosTop) SELECT 0, 0 WHERE NOT EXISTS (SELECT 1 FROM CVU_DATA);"
                 "UPDATE CVU_DATA SET " +
                     assignments);
  }
  int StoredImages() {
    int files = 0;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(data.path()))
      files += entry.is_regular_file();
    return files;
  }
  int RowCount() { return std::stoi(test::QueryText(database, "SELECT COUNT(*) FROM CVU_HISTORY").value_or("-1")); }

  test::TempDir dir;
  std::filesystem::path work = dir.path() / "work";
  std::filesystem::path dataHome = dir.path() / "data-home";
  std::string database;
  test::TempDir data;
  service::PhotoService service{{data.path(), "5.8"}};
  std::string host;
};

TEST_F(CliProcessTest, EveryFileUploadedAndRecordedPrintsItsPageLinkInOrder) {
  MakeImage("a.jpg");
  MakeImage("b.png");
  MakeImage("c.gif");
  const auto run = Run({"a.jpg", "b.png", "c.gif"});
  EXPECT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(RowCount(), 3);
  EXPECT_EQ(Rows("base_file"), "a.jpg;b.png;c.gif");
  EXPECT_EQ(Rows("base_filefolder"),
            (work / "a.jpg").string() + ";" + (work / "b.png").string() + ";" + (work / "c.gif").string());
  const auto ids = Lines(test::QueryText(database, "SELECT group_concat(image_id, char(10)) FROM CVU_HISTORY").value());
  ASSERT_EQ(ids.size(), 3u);
  const auto out = Lines(run.out);
  ASSERT_EQ(out.size(), 3u);
  for (std::size_t i = 0; i < 3; ++i) EXPECT_EQ(out[i], "http://" + host + "/i-" + ids[i]);

  // Not a terminal: the activity log's lines, stamped.
  const auto err = Lines(run.err);
  ASSERT_FALSE(err.empty());
  EXPECT_EQ(err.front().front(), '[');
  EXPECT_NE(err.front().find(" г. "), std::string::npos);
  EXPECT_NE(err.front().find("] Загружаю изображение \"a.jpg\" ..."), std::string::npos);
  EXPECT_NE(err.back().find("] Изображения загружены"), std::string::npos);
}

TEST_F(CliProcessTest, AMissingFileOrANonImageIsNotSentAndGivesStatus1) {
  MakeImage("a.jpg");
  MakeImage("notes.txt");
  MakeImage("c.png");
  const auto run = Run({"a.jpg", "gone.png", "notes.txt", "c.png"});
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(Lines(run.out).size(), 2u);
  EXPECT_EQ(Rows("base_file"), "a.jpg;c.png");
  EXPECT_NE(run.err.find("] Файл \"gone.png\" не существует"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("notes.txt is not sent: not an image"), std::string::npos);
}

TEST_F(CliProcessTest, JsonLinesParseAndCarryEveryTextAndTheRecord) {
  MakeImage("one.png");
  MakeImage("two \"q\".jpg");
  SetSettings("mYv_1 = '%FN% -> %PIC%' || char(13) || char(10) || '%D%'");
  const auto run = Run({"--json", "--quality", "70", "one.png", "two \"q\".jpg"});
  ASSERT_EQ(run.status, 0) << run.err;
  const auto lines = Lines(run.out);
  ASSERT_EQ(lines.size(), 2u);
  const auto first = nlohmann::json::parse(lines[0]);
  const auto second = nlohmann::json::parse(lines[1]);
  EXPECT_EQ(first.at("file"), "one.png");
  EXPECT_EQ(second.at("file"), "two \"q\".jpg");
  EXPECT_EQ(second.at("base_file"), "two \"q\".jpg");
  const std::string id = second.at("image_id");
  EXPECT_EQ(second.at("page"), "http://" + host + "/i-" + id);
  EXPECT_EQ(second.at("full"), "http://" + host + "/f-" + id);
  EXPECT_EQ(second.at("direct"), "http://i1." + host + "/" + id + ".jpg");
  // Quality chosen: the service was asked to convert, so it made a thumbnail.
  EXPECT_EQ(second.at("image_th"), id + ".th.jpg");
  EXPECT_EQ(second.at("thumb"), "http://i1." + host + "/" + id + ".th.jpg");
  EXPECT_EQ(second.at("bb"),
            "[url=http://" + host + "/f-" + id + "][img]http://i1." + host + "/" + id + ".th.jpg[/img][/url]");
  const std::string date = second.at("upload_date");
  EXPECT_EQ(second.at("own1"), "two \"q\".jpg -> http://i1." + host + "/" + id + ".jpg\r\n" + date);
  EXPECT_EQ(second.at("own2"), "");
  EXPECT_EQ(second.at("group"), "0");
  EXPECT_EQ(Rows("image_id"), std::string(first.at("image_id")) + ";" + id);
  EXPECT_EQ(test::QueryText(database, "SELECT upload_date FROM CVU_HISTORY WHERE image_id = '" + id + "'").has_value(),
            true);
}

TEST_F(CliProcessTest, PathsComeFromStandardInputWhereADashStands) {
  const std::string a = MakeImage("a.png");
  MakeImage("b.png");
  MakeImage("c.png");
  const auto run = Run({"--format", "direct", "c.png", "-"}, a + "\nb.png\n");
  ASSERT_EQ(run.status, 0) << run.err;
  EXPECT_EQ(Rows("base_file"), "c.png;a.png;b.png");
  EXPECT_EQ(Lines(run.out).size(), 3u);
  EXPECT_EQ(Lines(run.out)[0].rfind("http://i1." + host + "/", 0), 0u);
}

TEST_F(CliProcessTest, AnEmptyOwnCodeTemplateIsAUsageErrorAndAFilledOneIsPrinted) {
  MakeImage("a.png");
  const auto empty = Run({"--format", "own2", "a.png"});
  EXPECT_EQ(empty.status, 2);
  EXPECT_NE(empty.err.find("own-code template 2 (mYv_2 in CVU_DATA) is empty"), std::string::npos) << empty.err;
  EXPECT_EQ(RowCount(), 0);
  SetSettings("mYv_2 = '<%ID%>' || char(13) || char(10) || '%FN%'");
  const auto filled = Run({"--format", "own2", "a.png"});
  ASSERT_EQ(filled.status, 0) << filled.err;
  const std::string name = test::QueryText(database, "SELECT image_name FROM CVU_HISTORY").value();
  EXPECT_EQ(filled.out, "<" + name + ">\na.png\n");
}

TEST_F(CliProcessTest, BadOptionsGiveStatus2AndAClearMessageWithoutUploading) {
  MakeImage("a.png");
  const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
      {{"--quality", "200", "a.png"}, "corvane-upload: --quality: 200 is outside 5..100"},
      {{"--filter", "blur", "a.png"}, "corvane-upload: --filter: unknown filter 'blur'"},
      {{"--format", "link", "a.png"}, "corvane-upload: --format: unknown text 'link'"},
      {{"--frobnicate", "a.png"}, "corvane-upload: unknown option --frobnicate"},
      {{"a.png", "--title"}, "corvane-upload: --title needs a value"},
      {{}, "corvane-upload: no files given"},
  };
  for (const auto& [args, message] : cases) {
    const auto run = Run(args);
    EXPECT_EQ(run.status, 2) << message;
    EXPECT_EQ(run.err.rfind(message, 0), 0u) << run.err;
    EXPECT_NE(run.err.find("Try 'corvane-upload --help'."), std::string::npos);
    EXPECT_EQ(run.out, "");
  }
  const auto none = Run({"-"}, "\n\n");
  EXPECT_EQ(none.status, 2);
  EXPECT_NE(none.err.find("no files given"), std::string::npos);
  EXPECT_EQ(RowCount(), 0);
}

TEST_F(CliProcessTest, AMissingOrTablelessDatabaseIsToldWithStatus2) {
  MakeImage("a.png");
  const auto missing = Run({"--database", "elsewhere.dll", "a.png"});
  EXPECT_EQ(missing.status, 2);
  EXPECT_NE(missing.err.find("no database at elsewhere.dll"), std::string::npos) << missing.err;
  EXPECT_FALSE(std::filesystem::exists(work / "elsewhere.dll"));  // not created

  std::ofstream(work / "empty.dll").flush();
  const auto empty = Run({"--database", "empty.dll", "a.png"});
  EXPECT_EQ(empty.status, 2);
  EXPECT_NE(empty.err.find("[Error 058] При загрузке базы данных произошла ошибка"), std::string::npos) << empty.err;

  const std::string settingsOnly = (work / "settings-only.dll").string();
  test::RunSql(settingsOnly, "CREATE TABLE CVU_DATA (user_hash TEXT, wPosTop INTEGER, wPosLeft INTEGER)");
  const auto noHistory = Run({"--database", settingsOnly, "a.png"});
  EXPECT_EQ(noHistory.status, 2);
  EXPECT_NE(noHistory.err.find("has no table CVU_HISTORY"), std::string::npos) << noHistory.err;

  std::ofstream(work / "garbage.dll") << std::string(4096, 'g');
  const auto garbage = Run({"--database", "garbage.dll", "a.png"});
  EXPECT_EQ(garbage.status, 2);
  EXPECT_NE(garbage.err.find("corvane-upload: "), std::string::npos);

  // Nothing reached the service.
  EXPECT_EQ(StoredImages(), 0);
}

TEST_F(CliProcessTest, ARefusedUploadNoResultCommentOrARefusedRowGiveStatus1) {
  test::TestServer server;
  server.post("//upload.html", [](const test::RecordedRequest& r, httplib::Response& res) {
    if (r.parts.size() == 8 && r.parts[7].filename == "refused.png") {
      res.status = 400;
      return;
    }
    res.status = 302;
    res.set_header("Location", r.parts.size() == 8 && r.parts[7].filename == "blank.png" ? "i-blank" : "i-abc");
  });
  server.get("/i-.*", [](const test::RecordedRequest& r, httplib::Response& res) {
    res.set_content(
        r.target == "/i-blank" ? "<html>no comment</html>" : "<!--{Information:{ID:abc}{MD:i1}{NAME:abc.png}{TH:0}}-->",
        "text/html");
  });
  server.start();
  MakeImage("refused.png");
  MakeImage("blank.png");
  MakeImage("fine.png");
  const auto run = test::RunCorvaneUploadProcess(
      {"--host", server.host(), "--database", database, "refused.png", "blank.png", "fine.png"}, work.string());
  EXPECT_EQ(run.status, 1);
  EXPECT_EQ(run.out, "http://" + server.host() + "/i-abc\n");
  EXPECT_NE(run.err.find("] HTTP/1.1 400 Bad Request"), std::string::npos) << run.err;
  EXPECT_NE(run.err.find("] Изображение \"refused.png\"  не загружено"), std::string::npos);
  EXPECT_NE(run.err.find("] [Error 061] Ошибка обработки данных"), std::string::npos);
  EXPECT_EQ(Rows("base_file"), "fine.png");

  // The database refuses every row: uploaded, yet not recorded.
  test::RunSql(database, "CREATE TRIGGER refuse BEFORE INSERT ON CVU_HISTORY BEGIN SELECT RAISE(ABORT, 'full'); END");
  const auto refused =
      test::RunCorvaneUploadProcess({"--host", server.host(), "--database", database, "fine.png"}, work.string());
  EXPECT_EQ(refused.status, 1);
  EXPECT_EQ(refused.out, "");
  EXPECT_NE(refused.err.find("[Error 062] #085# Критическая ошибка обработки данных. Код ошибки: \"full\""),
            std::string::npos)
      << refused.err;
  EXPECT_EQ(RowCount(), 1);
}

int Mode(const std::filesystem::path& path) {
  return static_cast<int>(std::filesystem::status(path).permissions() & std::filesystem::perms::all);
}

// Without --database the command uses the windowed program's database: the data folder
// under HOME is made for the user alone, given a copy of the supplied database once
// (never again over the user's), and a folder or database open to others is narrowed.
TEST_F(CliProcessTest, TheDefaultDatabaseIsTheDataFoldersMadePrivateAndCopiedOnce) {
  MakeImage("a.png");
  const std::string home = (dir.path() / "home").string();
  const std::filesystem::path folder = dir.path() / "home/.local/share/corvane-uploader";
  const std::filesystem::path db = folder / "cvxas.common.dll";
  const auto first = test::RunCorvaneUploadProcess({"--data-folder"}, work.string(), "", {"HOME=" + home});
  ASSERT_EQ(first.status, 0) << first.err;
  EXPECT_EQ(first.out, folder.string() + "\n");
  EXPECT_EQ(
      test::QueryText(db.string(), "SELECT count(*) FROM sqlite_master WHERE name IN ('CVU_DATA', 'CVU_HISTORY')"),
      "2");
  EXPECT_EQ(Mode(folder), 0700);
  EXPECT_EQ(Mode(db), 0600);

  std::filesystem::permissions(folder, static_cast<std::filesystem::perms>(0755));
  std::filesystem::permissions(db, static_cast<std::filesystem::perms>(0644));
  const auto upload = test::RunCorvaneUploadProcess({"--host", host, "a.png"}, work.string(), "", {"HOME=" + home});
  ASSERT_EQ(upload.status, 0) << upload.err;
  EXPECT_EQ(test::QueryText(db.string(), "SELECT base_file FROM CVU_HISTORY"), "a.png");
  EXPECT_EQ(Mode(folder), 0700);
  EXPECT_EQ(Mode(db), 0600);

  // A relative XDG_DATA_HOME counts for nothing; the recorded image is kept.
  const auto again =
      test::RunCorvaneUploadProcess({"--data-folder"}, work.string(), "", {"HOME=" + home, "XDG_DATA_HOME=rel"});
  EXPECT_EQ(again.out, folder.string() + "\n");
  EXPECT_EQ(test::QueryText(db.string(), "SELECT count(*) FROM CVU_HISTORY"), "1");
  EXPECT_EQ(RowCount(), 0);  // the fixture's own data folder was not used
}

TEST(DataFolderTest, XdgDataHomeCountsOnlyWhenAbsoluteElseHomeGivesTheDefault) {
  EXPECT_EQ(cli::DataFolderPath("/x/data", "/home/u"), "/x/data/corvane-uploader");
  EXPECT_EQ(cli::DataFolderPath("/x/data", nullptr), "/x/data/corvane-uploader");
  for (const char* ignored : {static_cast<const char*>(nullptr), "", "data", "~/data"})
    EXPECT_EQ(cli::DataFolderPath(ignored, "/home/u"), "/home/u/.local/share/corvane-uploader") << ignored;
  EXPECT_EQ(cli::DataFolderPath(nullptr, nullptr), "");
  EXPECT_EQ(cli::DataFolderPath("", ""), "");
}

TEST_F(CliProcessTest, HelpAndVersion) {
  const auto help = Run({"--help"});
  EXPECT_EQ(help.status, 0);
  EXPECT_EQ(help.out.rfind("Usage: corvane-upload [options] FILE...\n", 0), 0u);
  for (const char* option : {"--quality", "--filter", "--thumbtext", "--title", "--album", "--publish", "--no-convert",
                             "--anonymous", "--format", "--json", "--database"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const auto version = Run({"--version"});
  EXPECT_EQ(version.status, 0);
  EXPECT_EQ(version.out, std::string("corvane-upload ") + VersionText + "\n");
}

// The command line is a front end without Qt.
TEST(CliExecutableTest, LinksNoQt) {
  const std::unique_ptr<FILE, int (*)(FILE*)> pipe(::popen("ldd " CVU_UPLOAD_EXE, "r"), &::pclose);
  ASSERT_TRUE(pipe);
  std::string libraries;
  char buffer[512];
  while (std::fgets(buffer, sizeof buffer, pipe.get())) libraries += buffer;
  EXPECT_NE(libraries.find("libsqlite3"), std::string::npos) << libraries;
  EXPECT_EQ(libraries.find("Qt"), std::string::npos) << libraries;
}

}  // namespace
}  // namespace cvu
