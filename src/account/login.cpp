#include "account/login.h"

#include <re2/re2.h>

#include "account/albums.h"
#include "common/identity.h"
#include "common/text.h"
#include "http/http_client.h"
#include "http/http_error.h"
#include "http/url.h"
#include "store/settings.h"

namespace cvu {
namespace {

// The login's answer is a page; a longer one is read no further than this.
constexpr std::size_t kLoginAnswerLimit = std::size_t{8} << 20;

constexpr Rgb kTeal{0, 128, 128};
constexpr Rgb kMaroon{128, 0, 0};
constexpr Rgb kGreen{0, 128, 0};

RE2::Options ContentOptions() {
  RE2::Options options;
  options.set_dot_nl(true);
  options.set_case_sensitive(true);
  options.set_encoding(RE2::Options::EncodingLatin1);  // pages need not be valid UTF-8
  options.set_log_errors(false);
  return options;
}

void SetInputsEnabled(MainControls& m, bool on) {
  m.CVU_AuthBtn().setEnabled(on);
  m.CVU_UserName().setEnabled(on);
  m.CVU_UserSecure().setEnabled(on);
  m.CVU_UserSave().setEnabled(on);
}

void ShowRunning(StoreContext& ctx) {
  MainControls& m = ctx.main;
  SetInputsEnabled(m, false);
  ctx.AddLogLine("Выполняется авторизация...", "");
  m.CVU_AuthBar().setVisible(true);
  m.CVU_AuthLabel().setVisible(true);
  m.CVU_AuthLabel().setText("Выполняется авторизация...");
  m.CVU_AuthLabel().setColour(kTeal);
}

// A login that did not succeed may be tried again at once.
void ShowFailure(StoreContext& ctx) {
  MainControls& m = ctx.main;
  m.CVU_AuthBar().setVisible(false);
  m.CVU_AuthLabel().setText("Ошибка при авторизации");
  m.CVU_AuthLabel().setColour(kMaroon);
  SetInputsEnabled(m, true);
  ctx.LoginAttempted = false;
}

void ShowSuccess(StoreContext& ctx) {
  MainControls& m = ctx.main;
  m.CVU_AuthBar().setVisible(false);
  m.CVU_AuthLabel().setText("Авторизация выполнена успешно");
  m.CVU_AuthLabel().setColour(kGreen);
  SetInputsEnabled(m, false);
  m.CVU_UserSave().setEnabled(true);
  ctx.AddLogLine("Авторизация выполнена успешно", "");
  ctx.AddLogLine("%, теперь Вы можете полностью использовать этот сервис", m.CVU_UserName().text());
}

const char* FailureReason(LoginAnswer answer) {
  switch (answer) {
    case LoginAnswer::WrongPassword:
      return "Вы ввели неправильный логин и/или пароль";
    case LoginAnswer::NoCredentials:
      return "Вы не ввели логин или пароль";
    case LoginAnswer::NoSuchUser:
      return "Такого пользователя не существует";
    default:
      return nullptr;
  }
}

// The account cookies: the id comes second, the hash third.
void TakeAccount(StoreContext& ctx, const HttpClient& client) {
  const CookieStore& cookies = client.cookies();
  if (cookies.size() < 3) {
    throw std::runtime_error(
        "Сервис не передал данные учётной записи (получено cookie: " + std::to_string(cookies.size()) + ")");
  }
  MainControls& m = ctx.main;
  AccountValues account{cookies.at(2).value, cookies.at(1).value, m.CVU_UserName().text(), m.CVU_UserSecure().text()};
  // The row is written first, so a refused write leaves the account as it was.
  if (m.CVU_UserSave().checked()) {
    SaveCredentials(ctx, account.user_hash, account.user_id, account.user_name, account.user_secure);
  } else {
    ClearStoredCredentials(ctx);
  }
  ctx.account = account;
}

MultipartForm LoginForm(MainControls& m) {
  MultipartForm form;
  form.addText("inlogin", "true");
  form.addText("cookie", "on");
  form.addText("login", m.CVU_UserName().text());
  form.addText("password", m.CVU_UserSecure().text());
  return form;
}

void Evaluate(StoreContext& ctx, HttpClient& client, const std::string& page) {
  const auto notice = LoginNotice(page);
  const LoginAnswer answer = notice ? ClassifyLoginNotice(*notice) : LoginAnswer::Unknown;
  if (answer == LoginAnswer::Success) {
    TakeAccount(ctx, client);
    ShowSuccess(ctx);
    return;
  }
  ShowFailure(ctx);
  if (const char* reason = FailureReason(answer)) ctx.AddLogLine("Ошибка при авторизации: \"%\"", reason);
}

}  // namespace

std::optional<std::string> LoginNotice(const std::string& page) {
  static const RE2 pattern("<!--CONTENT-->(.+)<!--/CONTENT-->", ContentOptions());
  std::string content;
  if (!RE2::PartialMatch(page, pattern, &content)) return std::nullopt;
  for (const char* marker :
       {"<div id=\"glb_PageContent\">", "<div style=\"padding:10px;\">", "<div class=\"notice_red\">",
        "<div class=\"notice_blue\">", "<div class=\"notice_green\">", "</div>"}) {
    content = ReplaceAll(content, marker, "");
  }
  return TrimControl(content);
}

LoginAnswer ClassifyLoginNotice(const std::string& notice) {
  if (notice == "You entered an incorrect username and/or password") return LoginAnswer::WrongPassword;
  if (notice == "You did not enter your username or password") return LoginAnswer::NoCredentials;
  if (notice == "This user does not exist") return LoginAnswer::NoSuchUser;
  if (notice == "Now you can use this service") return LoginAnswer::Success;
  return LoginAnswer::Unknown;
}

void Login(StoreContext& ctx) {
  if (ctx.LoginAttempted) return;
  ctx.LoginAttempted = true;
  ShowRunning(ctx);
  HttpClient client(ctx.http);
  client.setFollowRedirects(true);
  // Only the service's own host may lead the login on: another host would receive the
  // login form again (307, 308) and could answer as the service.
  client.setRedirectFilter(
      [service = "http://" + ServiceHost() + "/"](const std::string& url) { return SameOrigin(url, service); });
  client.setExtraHeaders({"Cookie: corvane_lng=en; path=/;"});
  client.setWaitHook(ctx.uiWaitHook);
  client.setAnswerLimit(kLoginAnswerLimit);
  try {
    Evaluate(ctx, client, client.post("http://" + ServiceHost() + "/", LoginForm(ctx.main)));
  } catch (const std::exception& e) {
    ShowFailure(ctx);
    if (!IsUnloggedRedirect(e.what())) ctx.AddLogLine("#307# %", e.what());
  }
  LoadAlbums(client, ctx.account, ctx.upOptions, ctx.log);
}

void CVU_AuthBtnClick(StoreContext& ctx) { Login(ctx); }

void CVU_AuthResetBtnClick(StoreContext& ctx) {
  if (ctx.upload.Uploading || !ctx.LoginAttempted) return;
  ctx.LoginAttempted = false;
  ctx.account = AccountValues::Anonymous();
  MainControls& m = ctx.main;
  m.CVU_UserSave().setChecked(false);
  m.CVU_UserName().setText("");
  m.CVU_UserSecure().setText("");
  m.CVU_AuthBar().setVisible(false);
  m.CVU_AuthLabel().setText("");
  m.CVU_AuthLabel().setColour(kMaroon);
  SetInputsEnabled(m, true);
  if (ctx.upOptions) ShowNoAlbums(ctx.upOptions->CVU_Ef_Album());
}

}  // namespace cvu
