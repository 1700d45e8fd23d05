#include "http/http_client.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <ctime>

#include "common/cp1251.h"
#include "common/text.h"
#include "http/curl_exchange.h"
#include "http/url.h"

namespace cvu {
namespace {

// Redirect answers one request follows; the next one is returned as the answer.
constexpr int kMaxFollowedRedirects = 14;

std::string WithoutLineBreaks(std::string text) {
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n' || c == '\0'; });
  return text;
}

bool IsCookieLine(const std::string& line) { return AsciiLower(line.substr(0, 7)) == "cookie:"; }

bool IsRedirectAnswer(const ExchangeAnswer& a) {
  return (a.status >= 300 && a.status < 400 && a.status != 304) || (!a.location.empty() && a.status != 201);
}

// Adds the stored cookies the line does not name already to a Cookie line.
std::string MergeCookies(const std::string& line, const std::string& stored) {
  std::string names = ";";
  names += line.substr(7);  // appended: g++ 12 warns falsely (-Wrestrict) on literal + temporary
  std::string merged = line;
  for (std::size_t start = 0; start < stored.size();) {
    const auto end = std::min(stored.find("; ", start), stored.size());
    const std::string pair = stored.substr(start, end - start);
    const std::string name = pair.substr(0, pair.find('='));
    const bool named =
        names.find("; " + name + "=") != std::string::npos || names.find(";" + name + "=") != std::string::npos;
    if (!named) merged += (merged.ends_with(';') ? " " : "; ") + pair;
    start = end + 2;
  }
  return merged;
}

bool DeclaresCp1251(const std::string& contentType) {
  const std::string type = AsciiLower(contentType);
  return type.find("charset=windows-1251") != std::string::npos || type.find("charset=cp1251") != std::string::npos;
}

}  // namespace

struct HttpClient::Answer {
  std::string body;
  std::string contentType;
};

HttpClient::HttpClient(HttpSettings settings) : settings_(std::move(settings)) {
  EnsureCurlInitialised();
  easy_.reset(curl_easy_init());
  multi_.reset(curl_multi_init());
  if (!easy_ || !multi_) throw HttpError("libcurl could not create a transfer");
}

void HttpClient::setUserAgent(const std::string& userAgent) { userAgent_ = WithoutLineBreaks(userAgent); }

void HttpClient::setExtraHeaders(const std::vector<std::string>& lines) {
  extraHeaders_.clear();
  for (const auto& line : lines) extraHeaders_.push_back(WithoutLineBreaks(line));
}

std::vector<std::string> HttpClient::headerLinesFor(const std::string& url) const {
  const std::string stored = cookies_.headerValueFor(SplitUrl(url), std::time(nullptr));
  std::vector<std::string> lines;
  bool merged = stored.empty();
  for (const auto& line : extraHeaders_) {
    // One Cookie line on the wire, as a browser sends: the first one takes the store's cookies.
    if (!merged && IsCookieLine(line)) {
      lines.push_back(MergeCookies(line, stored));
      merged = true;
    } else {
      lines.push_back(line);
    }
  }
  if (!merged) lines.push_back("Cookie: " + stored);
  return lines;
}

std::string HttpClient::getText(const std::string& url) {
  Answer answer = perform(url, nullptr);
  return DeclaresCp1251(answer.contentType) ? Cp1251ToUtf8(answer.body) : std::move(answer.body);
}

std::string HttpClient::getBytes(const std::string& url) { return perform(url, nullptr).body; }

std::string HttpClient::post(const std::string& url, const MultipartForm& form) {
  Answer answer = perform(url, &form);
  return DeclaresCp1251(answer.contentType) ? Cp1251ToUtf8(answer.body) : std::move(answer.body);
}

void HttpClient::recordAnswer(const std::string& url, const ExchangeAnswer& answer) {
  location_ = answer.location;
  statusLine_ = answer.statusLine;
  status_ = answer.status;
  const UrlParts parts = SplitUrl(url);
  for (const auto& setCookie : answer.setCookies) cookies_.take(setCookie, parts, std::time(nullptr));
}

// A request that fails after the answer's headers arrived leaves their Location readable.
ExchangeAnswer HttpClient::runExchangeKeepingLocation(const ExchangeRequest& request) {
  try {
    return RunExchange(easy_.get(), multi_.get(), request);
  } catch (const HttpError& e) {
    location_ = e.location();
    throw;
  }
}

HttpClient::Answer HttpClient::perform(std::string url, const MultipartForm* form) {
  location_.clear();
  statusLine_.clear();
  status_ = 0;
  // One deadline for the request as a whole, redirects followed included.
  const auto deadline = std::chrono::steady_clock::now() + settings_.answerTimeout;
  for (int followed = 0;; ++followed) {
    ExchangeRequest request{url,          form,     headerLinesFor(url), userAgent_,      settings_, deadline,
                            answerLimit_, &events_, &waitHook_,          {ownStop_.get()}};
    if (settings_.abort) request.stops.push_back(settings_.abort.get());
    if (std::any_of(request.stops.begin(), request.stops.end(), [](auto* s) { return s->aborted(); })) {
      throw HttpError(curl_easy_strerror(CURLE_ABORTED_BY_CALLBACK));
    }
    ExchangeAnswer answer = runExchangeKeepingLocation(request);
    recordAnswer(url, answer);
    if (IsRedirectAnswer(answer)) {
      if (followRedirects_ && followed == kMaxFollowedRedirects) return {std::move(answer.body), answer.contentType};
      if (!followRedirects_ || answer.location.empty()) throw HttpError(answer.statusLine, answer.location);
      const std::string next = ResolveUrl(url, answer.location);
      if (redirectAllowed_ && !redirectAllowed_(next)) return {std::move(answer.body), answer.contentType};
      url = next;
      // As browsers do, only 307 and 308 repeat the method and body.
      if (answer.status != 307 && answer.status != 308) form = nullptr;
      continue;
    }
    if (answer.status >= 400) throw HttpError(answer.statusLine, answer.location);
    return {std::move(answer.body), answer.contentType};
  }
}

}  // namespace cvu
