#pragma once
// An HTTP/1.1 client for one request (or, for the login, a short series of them).
// Created and used on one thread; only abort() may be called from another.
//
// Every answer with a redirect status (3xx but 304), and every answer but 201 that
// carries a Location, is a redirect answer. Without redirect following it fails with
// its status line; with it (the login), up to 14 are followed and the 15th is
// returned as the answer. 4xx and 5xx answers fail with their status line; failures
// without an answer carry the network error's text. After any request, failed or
// not, location() holds the Location of the last answer (empty when none came), also
// of an answer whose body was cut off.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "common/abort_signal.h"
#include "common/http_settings.h"
#include "http/cookie_store.h"
#include "http/curl_handles.h"
#include "http/http_error.h"
#include "http/multipart_form.h"
#include "http/transfer_events.h"

namespace cvu {

struct ExchangeAnswer;
struct ExchangeRequest;

// How much of an answer's body a client reads unless told otherwise: a page's worth.
inline constexpr std::size_t kDefaultAnswerLimit = std::size_t{8} << 20;

class HttpClient {
 public:
  explicit HttpClient(HttpSettings settings = {});
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // Empty: no User-Agent line at all.
  void setUserAgent(const std::string& userAgent);
  const std::string& userAgent() const { return userAgent_; }
  // Replaces the whole list of extra header lines ("Name: value"). Line breaks and
  // NUL characters are removed, so no value can start a header of its own.
  void setExtraHeaders(const std::vector<std::string>& lines);
  const std::vector<std::string>& extraHeaders() const { return extraHeaders_; }
  void setFollowRedirects(bool follow) { followRedirects_ = follow; }
  // While following: a redirect whose target URL this refuses is not followed, and its
  // answer is returned as the request's answer, without a failure. Unset: all are followed.
  void setRedirectFilter(std::function<bool(const std::string& url)> allowed) { redirectAllowed_ = std::move(allowed); }
  void setTransferEvents(TransferEvents events) { events_ = std::move(events); }
  // Called again and again while a request waits, on the requesting thread; a
  // request made on the UI thread passes the front end's event processing here.
  void setWaitHook(std::function<void()> hook) { waitHook_ = std::move(hook); }

  // The most bytes of an answer's body that a request reads. A longer body fails the
  // request with "Answer too large: more than N bytes"; nothing past the limit is read.
  void setAnswerLimit(std::size_t bytes) { answerLimit_ = bytes; }

  // Any thread: ends the request in flight with a failure; later requests fail at once.
  void abort() { ownStop_->abort(); }

  // The answer's body as UTF-8 text (a body declared as windows-1251 is converted).
  std::string getText(const std::string& url);
  // The answer's body bytes, unchanged.
  std::string getBytes(const std::string& url);
  // Posts the form as multipart/form-data; returns the answer's body as text.
  std::string post(const std::string& url, const MultipartForm& form);

  const std::string& location() const { return location_; }
  const std::string& statusLine() const { return statusLine_; }
  int status() const { return status_; }
  const CookieStore& cookies() const { return cookies_; }

  // The header lines a request to url would carry: the extra lines, with the
  // cookies of the store merged into one Cookie line.
  std::vector<std::string> headerLinesFor(const std::string& url) const;

 private:
  struct Answer;
  Answer perform(std::string url, const MultipartForm* form);
  void recordAnswer(const std::string& url, const ExchangeAnswer& answer);
  ExchangeAnswer runExchangeKeepingLocation(const ExchangeRequest& request);

  HttpSettings settings_;
  std::shared_ptr<AbortSignal> ownStop_ = std::make_shared<AbortSignal>();
  CurlEasyPtr easy_;
  CurlMultiPtr multi_;
  std::string userAgent_;
  std::vector<std::string> extraHeaders_;
  bool followRedirects_ = false;
  std::function<bool(const std::string&)> redirectAllowed_;
  TransferEvents events_;
  std::function<void()> waitHook_;
  std::size_t answerLimit_ = kDefaultAnswerLimit;
  CookieStore cookies_;
  std::string location_;
  std::string statusLine_;
  int status_ = 0;
};

}  // namespace cvu
