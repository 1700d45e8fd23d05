// Album documents and the album request.
#include "account/albums.h"
#include "support/test_server.h"
#include "upload/upload_fixture.h"
#include "xml/xml_types.h"

namespace cvu {
namespace {

using Albums = std::vector<std::pair<std::string, std::string>>;

TEST(ReadAlbums, DocumentsAsTheServiceMaySendThem) {
  const std::string bom = "\xEF\xBB\xBF";
  const struct {
    const char* label;
    std::string body;
    Albums expected;
  } cases[] = {
      {"declaration",
       "<?xml version=\"1.0\" encoding=\"UTF-8\"?><r><album><album_id>7</album_id><name>Отпуск</name></album></r>",
       {{"Отпуск", "7"}}},
      {"byte-order mark", bom + "<r><album><album_id>7</album_id><name>Отпуск</name></album></r>", {{"Отпуск", "7"}}},
      {"references",
       "<?xml version=\"1.0\"?><r><album><album_id>1</album_id><name>A &amp; B &#1040;&#x411;</name></album></r>",
       {{"A & B АБ", "1"}}},
      {"blanks around, kept inside",
       "<r><album>\n <album_id> 3 </album_id>\t<name>\r\n my  name \n</name></album></r>",
       {{"my  name", "3"}}},
      {"capital names, nested and deep",
       "<R><ALBUM><x><Album_ID>1</Album_ID><NAME>a</NAME></x><album><album_id>2</album_id>"
       "<name>b</name></album></ALBUM></R>",
       {{"a", "1"}, {"b", "2"}}},
      {"order kept, duplicates kept",
       "<r><album><name>z</name><album_id>9</album_id></album><album><album_id>8</album_id>"
       "<name>z</name></album></r>",
       {{"z", "9"}, {"z", "8"}}},
      {"no album", "<albums></albums>", {}},
      {"album without a name is left out", "<r><album><album_id>1</album_id></album></r>", {}},
  };
  for (const auto& c : cases) EXPECT_EQ(ReadAlbums(c.body), c.expected) << c.label;
}

TEST(ReadAlbums, UndeclaredUtf8IsReadInTheEightBitCodePage) {
  const Albums albums = ReadAlbums("<r><album><album_id>7</album_id><name>Отпуск</name></album></r>");
  ASSERT_EQ(albums.size(), 1u);
  EXPECT_NE(albums[0].first, "Отпуск");
  EXPECT_EQ(albums[0].second, "7");
}

TEST(ReadAlbums, BodiesWithoutAnElementFail) {
  for (const std::string body : {"", "just text"}) EXPECT_THROW(ReadAlbums(body), XmlError) << body;
  try {
    ReadAlbums("just text");
  } catch (const XmlError& e) {
    EXPECT_STREQ(e.what(), "No root element found in xml");
  }
}

class LoadAlbumsTest : public test::UploadFixture {
 protected:
  void Serve(const std::string& body, int status = 200) {
    server.get("//ajax.php.*", [body, status](const test::RecordedRequest&, httplib::Response& res) {
      res.status = status;
      res.set_content(body, "text/xml");
    });
    server.start();
    SetServiceHost(server.host());
    options.album.setEntries({{"Старый", "5"}});
    options.album.setItemIndex(0);
    options.album.setEnabled(true);
  }
  test::TestServer server;
};

TEST_F(LoadAlbumsTest, NoAlbumsAnswerDisablesTheBox) {
  Serve("#404#Albums#");
  HttpClient client(p.ctx.http);
  LoadAlbums(client, p.ctx.account, p.ctx.upOptions, p.ctx.log);
  EXPECT_FALSE(options.album.isEnabled);
  EXPECT_EQ(options.album.entries, (Albums{{"Нет альбома", "0"}}));
  EXPECT_EQ(options.album.index, 0);
}

TEST_F(LoadAlbumsTest, AnUnreadableBodyIsLoggedAndLeavesTheBoxAsItWas) {
  Serve("no element here");
  HttpClient client(p.ctx.http);
  LoadAlbums(client, p.ctx.account, p.ctx.upOptions, p.ctx.log);
  EXPECT_EQ(p.logBodies().back(), "#309# No root element found in xml");
  EXPECT_EQ(options.album.entries, (Albums{{"Старый", "5"}}));
  EXPECT_TRUE(options.album.isEnabled);
}

TEST_F(LoadAlbumsTest, AListOverThirtyTwoMegabytesIsLoggedAndLeavesTheBoxAsItWas) {
  Serve("<r><album><album_id>1</album_id><name>a</name></album>" + std::string(32 << 20, ' ') + "</r>");
  HttpClient client(p.ctx.http);
  LoadAlbums(client, p.ctx.account, p.ctx.upOptions, p.ctx.log);
  ASSERT_FALSE(p.logBodies().empty());
  EXPECT_EQ(p.logBodies().back(), "#309# Answer too large: more than 33554432 bytes");
  EXPECT_EQ(options.album.entries, (Albums{{"Старый", "5"}}));
}

TEST_F(LoadAlbumsTest, AnErrorStatusIsLoggedAndARedirectIsNot) {
  Serve("", 503);
  HttpClient client(p.ctx.http);
  LoadAlbums(client, p.ctx.account, p.ctx.upOptions, p.ctx.log);
  EXPECT_EQ(p.logBodies().back(), "#309# HTTP/1.1 503 Service Unavailable");
  EXPECT_EQ(options.album.entries.size(), 1u);
}

TEST_F(LoadAlbumsTest, WithoutAPasswordNoRequestIsMade) {
  Serve("#404#Albums#");
  p.ctx.account.user_secure = "";
  HttpClient client(p.ctx.http);
  LoadAlbums(client, p.ctx.account, p.ctx.upOptions, p.ctx.log);
  EXPECT_TRUE(server.requests().empty());
  EXPECT_FALSE(options.album.isEnabled);
  EXPECT_EQ(options.album.entries, (Albums{{"Нет альбома", "0"}}));
}

}  // namespace
}  // namespace cvu
