#include "links/link_forms.h"

#include "links_fixture.h"

namespace cvu::test {
namespace {

using LinkForms = HostFixture;

struct FormCase {
  const char* form;
  std::string (*make)(const HistoryRecord&);
  const char* recordA;
  const char* recordB;
};

TEST_F(LinkForms, WorkedExamplesOfRecordsAAndB) {
  const FormCase cases[] = {
      {"page", PageLink, "http://{H}/i-a1b2cd34e567", "http://{H}/i-b2c3de45f678"},
      {"full view", FullViewLink, "http://{H}/f-a1b2cd34e567", "http://{H}/f-b2c3de45f678"},
      {"direct", DirectLink, "http://i1.{H}/a1b2cd34e567.png", "http://i2.{H}/b2c3de45f678.jpg"},
      {"thumbnail", ThumbnailLink, "http://i1.{H}/a1b2cd34e567.th.png", "http://i2.{H}/b2c3de45f678.jpg"},
      {"html", HtmlCode,
       "<a href=\"http://{H}/f-a1b2cd34e567\" target=\"_blank\"><img src=\"http://i1.{H}/a1b2cd34e567.th.png\" /></a>",
       "<a href=\"http://{H}/f-b2c3de45f678\" target=\"_blank\"><img src=\"http://i2.{H}/b2c3de45f678.jpg\" /></a>"},
      {"bb", BbCode, "[url=http://{H}/f-a1b2cd34e567][img]http://i1.{H}/a1b2cd34e567.th.png[/img][/url]",
       "[url=http://{H}/f-b2c3de45f678][img]http://i2.{H}/b2c3de45f678.jpg[/img][/url]"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.make(RecordA()), WithHost(c.recordA)) << c.form;
    EXPECT_EQ(c.make(RecordB()), WithHost(c.recordB)) << c.form;
  }
}

TEST_F(LinkForms, OnlyTheExactTextZeroMeansNoThumbnail) {
  struct ThumbCase {
    const char* image_th;
    const char* expected;
  };
  const ThumbCase cases[] = {
      {"0", "http://i1.{H}/a1b2cd34e567.png"},
      {"00", "http://i1.{H}/00"},
      {"", "http://i1.{H}/"},
      {"O", "http://i1.{H}/O"},
  };
  for (const auto& c : cases) {
    HistoryRecord r = RecordA();
    r.image_th = c.image_th;
    EXPECT_EQ(ThumbnailLink(r), WithHost(c.expected)) << '"' << c.image_th << '"';
    EXPECT_EQ(BbCode(r), "[url=" + FullViewLink(r) + "][img]" + WithHost(c.expected) + "[/img][/url]");
  }
}

TEST_F(LinkForms, FollowTheConfiguredHost) {
  SetServiceHost("127.0.0.1:8470");
  EXPECT_EQ(PageLink(RecordA()), "http://127.0.0.1:8470/i-a1b2cd34e567");
  EXPECT_EQ(DirectLink(RecordB()), "http://i2.127.0.0.1:8470/b2c3de45f678.jpg");
}

}  // namespace
}  // namespace cvu::test
