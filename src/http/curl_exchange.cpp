#include "http/curl_exchange.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <deque>
#include <optional>
#include <string_view>

#include "common/text.h"
#include "http/curl_handles.h"
#include "http/curl_option.h"
#include "http/file_part_source.h"
#include "http/http_error.h"

namespace cvu {
namespace {

using SteadyClock = std::chrono::steady_clock;

// How long one wait for network activity lasts: short while a wait hook keeps a
// window alive, longer otherwise (a stop wakes the wait at once in both cases).
constexpr int kHookSliceMs = 5;
constexpr int kPlainSliceMs = 100;

bool HeaderNameIs(std::string_view line, std::string_view name) {
  if (line.size() <= name.size() || line[name.size()] != ':') return false;
  return AsciiEqualIgnoringCase(line.substr(0, name.size()), name);
}

std::string HeaderValue(std::string_view line) {
  const auto colon = line.find(':');
  const auto first = line.find_first_not_of(" \t", colon + 1);
  if (first == std::string_view::npos) return {};
  const auto last = line.find_last_not_of(" \t");
  return std::string(line.substr(first, last - first + 1));
}

// The last guard before the wire: whatever a header line or the user agent was made
// from, a CR or LF in it must not end the line early and start a header of its own.
std::string OneLine(std::string text) {
  std::erase_if(text, [](char c) { return c == '\r' || c == '\n'; });
  return text;
}

class Exchange {
 public:
  Exchange(CURL* easy, CURLM* multi, const ExchangeRequest& request) : easy_(easy), multi_(multi), request_(request) {}

  ExchangeAnswer run() {
    configure();
    CURLcode code = CURLE_OK;
    try {
      code = wait();
    } catch (...) {
      endOpenTransfers();
      throw;
    }
    endOpenTransfers();
    // An answer cut off in its body still delivered its headers: its Location is kept.
    if (code != CURLE_OK) {
      if (!failure_.empty()) fail(failure_);
      fail(errorBuffer_[0] != '\0' ? errorBuffer_ : curl_easy_strerror(code));
    }
    return std::move(answer_);
  }

 private:
  void configure();
  void configureBody();
  CURLcode wait();
  bool stopped() const;
  bool stalled() const;
  bool overdue() const;
  void beginAnswer();
  [[noreturn]] void fail(const std::string& text) const { throw HttpError(text, answer_.location); }
  void onHeader(std::string_view line);
  bool onBody(const char* data, std::size_t size);
  void onProgress(curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow);
  void endOpenTransfers();
  void touch() { lastActivity_ = SteadyClock::now(); }

  void emitBegin(TransferDirection d, std::int64_t expected) {
    if (request_.events && request_.events->begin) request_.events->begin(d, expected);
  }
  void emitProgress(TransferDirection d, std::int64_t soFar) {
    if (request_.events && request_.events->progress) request_.events->progress(d, soFar);
  }
  void emitEnd(TransferDirection d) {
    if (request_.events && request_.events->end) request_.events->end(d);
  }

  static std::size_t HeaderCallback(char* data, std::size_t size, std::size_t count, void* self) {
    static_cast<Exchange*>(self)->onHeader(std::string_view(data, size * count));
    return size * count;
  }
  static std::size_t BodyCallback(char* data, std::size_t size, std::size_t count, void* self) {
    return static_cast<Exchange*>(self)->onBody(data, size * count) ? size * count : 0;
  }
  static int ProgressCallback(void* self, curl_off_t, curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow) {
    static_cast<Exchange*>(self)->onProgress(dlnow, ultotal, ulnow);
    return 0;
  }
  static int PrereqCallback(void* self, char*, char*, int, int) {
    auto* exchange = static_cast<Exchange*>(self);
    exchange->connected_ = true;
    exchange->touch();
    return CURL_PREREQFUNC_OK;
  }

  CURL* easy_;
  CURLM* multi_;
  const ExchangeRequest& request_;
  ExchangeAnswer answer_;
  std::string failure_;  // why a callback ended the transfer
  // The file parts' open files (those given by path) and their readers, kept until
  // the body that reads them is freed.
  std::deque<RegularFile> opened_;
  std::deque<FilePartSource> sources_;
  CurlSlistPtr headers_;
  CurlMimePtr mime_;
  char errorBuffer_[CURL_ERROR_SIZE] = {};
  bool connected_ = false;
  SteadyClock::time_point lastActivity_ = SteadyClock::now();
  // The answer's share of the request's time, and when the answer began: once the
  // request body is out (at once when there is none), or when an answer arrives first.
  const SteadyClock::duration answerBudget_ = request_.deadline - SteadyClock::now();
  std::optional<SteadyClock::time_point> answerBegun_;
  std::int64_t expectedBody_ = -1;
  bool sendBegun_ = false, sendEnded_ = false, receiveBegun_ = false, receiveEnded_ = false;
  curl_off_t lastUl_ = 0, lastDl_ = 0;
};

void Exchange::configure() {
  curl_easy_reset(easy_);
  SetOption<CURLOPT_URL>(easy_, request_.url.c_str());
  SetOption<CURLOPT_NOSIGNAL>(easy_, 1L);
  SetOption<CURLOPT_PROXY>(easy_, "");  // no proxy, whatever the environment says
  SetOption<CURLOPT_PROTOCOLS_STR>(easy_, "http");
  SetOption<CURLOPT_HTTP_VERSION>(easy_, static_cast<long>(CURL_HTTP_VERSION_1_1));
  SetOption<CURLOPT_FOLLOWLOCATION>(easy_, 0L);
  SetOption<CURLOPT_CONNECTTIMEOUT_MS>(easy_, static_cast<long>(request_.settings.connectTimeout.count()));
  SetOption<CURLOPT_ERRORBUFFER>(easy_, errorBuffer_);
  SetOption<CURLOPT_HEADERFUNCTION>(easy_, &Exchange::HeaderCallback);
  SetOption<CURLOPT_HEADERDATA>(easy_, this);
  SetOption<CURLOPT_WRITEFUNCTION>(easy_, &Exchange::BodyCallback);
  SetOption<CURLOPT_WRITEDATA>(easy_, this);
  SetOption<CURLOPT_NOPROGRESS>(easy_, 0L);
  SetOption<CURLOPT_XFERINFOFUNCTION>(easy_, &Exchange::ProgressCallback);
  SetOption<CURLOPT_XFERINFODATA>(easy_, this);
  SetOption<CURLOPT_PREREQFUNCTION>(easy_, &Exchange::PrereqCallback);
  SetOption<CURLOPT_PREREQDATA>(easy_, this);
  const std::string userAgent = OneLine(request_.userAgent);  // libcurl copies option strings
  if (!userAgent.empty()) SetOption<CURLOPT_USERAGENT>(easy_, userAgent.c_str());
  curl_slist* list = nullptr;
  for (const auto& line : request_.headerLines) list = curl_slist_append(list, OneLine(line).c_str());
  // No "Expect: 100-continue" round: the body follows the headers at once.
  list = curl_slist_append(list, "Expect:");
  headers_.reset(list);
  SetOption<CURLOPT_HTTPHEADER>(easy_, headers_.get());
  configureBody();
}

void Exchange::configureBody() {
  if (request_.form == nullptr) {
    SetOption<CURLOPT_HTTPGET>(easy_, 1L);
    return;
  }
  mime_.reset(curl_mime_init(easy_));
  for (const FormPart& part : request_.form->parts()) {
    curl_mimepart* p = curl_mime_addpart(mime_.get());
    curl_mime_name(p, part.name.c_str());
    if (!part.isFile) {
      curl_mime_data(p, part.value.data(), part.value.size());
      continue;
    }
    const RegularFile* file = part.file;
    if (file == nullptr) {  // given by its path: opened now, as carefully as one given open
      auto opened = RegularFile::Open(part.value);
      if (!opened) throw HttpError(std::string(curl_easy_strerror(CURLE_READ_ERROR)) + ": " + part.value);
      file = &opened_.emplace_back(std::move(*opened));
    }
    const CURLcode rc = sources_.emplace_back(*file, failure_).attach(p);
    if (rc != CURLE_OK) throw HttpError(std::string(curl_easy_strerror(rc)) + ": " + part.value);
    curl_mime_filename(p, LastPathComponent(part.value).c_str());
    curl_mime_type(p, part.contentType.c_str());
  }
  SetOption<CURLOPT_MIMEPOST>(easy_, mime_.get());
}

bool Exchange::stopped() const {
  return std::any_of(request_.stops.begin(), request_.stops.end(), [](const AbortSignal* s) { return s->aborted(); });
}

bool Exchange::stalled() const {
  return connected_ && SteadyClock::now() - lastActivity_ >= request_.settings.stallTimeout;
}

bool Exchange::overdue() const { return answerBegun_ && SteadyClock::now() - *answerBegun_ >= answerBudget_; }

void Exchange::beginAnswer() {
  if (!answerBegun_) answerBegun_ = SteadyClock::now();
}

CURLcode Exchange::wait() {
  curl_multi_add_handle(multi_, easy_);
  CURLM* multi = multi_;
  for (AbortSignal* stop : request_.stops) stop->attach(multi, [multi] { curl_multi_wakeup(multi); });
  struct Cleanup {
    Exchange& ex;
    ~Cleanup() {
      for (AbortSignal* stop : ex.request_.stops) stop->detach(ex.multi_);
      curl_multi_remove_handle(ex.multi_, ex.easy_);
    }
  } cleanup{*this};
  const int slice = request_.waitHook && *request_.waitHook ? kHookSliceMs : kPlainSliceMs;
  if (request_.form == nullptr) beginAnswer();
  for (;;) {
    int running = 0;
    curl_multi_perform(multi_, &running);
    if (running == 0) break;
    if (stopped()) fail(curl_easy_strerror(CURLE_ABORTED_BY_CALLBACK));
    if (stalled()) {
      fail("Operation timed out: no data transferred for " + std::to_string(request_.settings.stallTimeout.count()) +
           " milliseconds");
    }
    if (overdue()) {
      fail("Operation timed out: the answer took longer than " +
           std::to_string(request_.settings.answerTimeout.count()) + " milliseconds");
    }
    if (slice == kHookSliceMs) (*request_.waitHook)();
    curl_multi_poll(multi_, nullptr, 0, slice, nullptr);
  }
  CURLcode code = CURLE_OK;
  int queued = 0;
  while (CURLMsg* msg = curl_multi_info_read(multi_, &queued)) {
    if (msg->msg == CURLMSG_DONE) code = msg->data.result;
  }
  return code;
}

void Exchange::onHeader(std::string_view line) {
  touch();
  while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.remove_suffix(1);
  if (line.starts_with("HTTP/")) {  // a new answer begins (after an interim 1xx one, too)
    beginAnswer();
    answer_ = ExchangeAnswer{};
    answer_.statusLine = std::string(line);
    const auto space = line.find(' ');
    if (space != std::string_view::npos) answer_.status = std::atoi(std::string(line.substr(space + 1, 3)).c_str());
    expectedBody_ = -1;
  } else if (line.empty()) {
    if (answer_.status >= 200 && !receiveBegun_) {
      receiveBegun_ = true;
      emitBegin(TransferDirection::Receive, expectedBody_);
    }
  } else if (HeaderNameIs(line, "location")) {
    answer_.location = HeaderValue(line);
  } else if (HeaderNameIs(line, "set-cookie")) {
    answer_.setCookies.push_back(HeaderValue(line));
  } else if (HeaderNameIs(line, "content-type")) {
    answer_.contentType = HeaderValue(line);
  } else if (HeaderNameIs(line, "content-length")) {
    expectedBody_ = std::atoll(HeaderValue(line).c_str());
  }
}

// False past the answer limit: the transfer ends there, nothing more is read.
bool Exchange::onBody(const char* data, std::size_t size) {
  touch();
  if (size > request_.answerLimit - answer_.body.size()) {
    failure_ = "Answer too large: more than " + std::to_string(request_.answerLimit) + " bytes";
    return false;
  }
  answer_.body.append(data, size);
  emitProgress(TransferDirection::Receive, static_cast<std::int64_t>(answer_.body.size()));
  return true;
}

void Exchange::onProgress(curl_off_t dlnow, curl_off_t ultotal, curl_off_t ulnow) {
  if (dlnow != lastDl_ || ulnow != lastUl_) touch();
  lastDl_ = dlnow;
  if (request_.form == nullptr || sendEnded_) return;
  if (ultotal > 0 && !sendBegun_) {
    sendBegun_ = true;
    emitBegin(TransferDirection::Send, ultotal);
  }
  if (sendBegun_ && ulnow != lastUl_) emitProgress(TransferDirection::Send, ulnow);
  lastUl_ = ulnow;
  if (sendBegun_ && ulnow >= ultotal) {
    sendEnded_ = true;
    beginAnswer();
    emitEnd(TransferDirection::Send);
  }
}

void Exchange::endOpenTransfers() {
  if (sendBegun_ && !sendEnded_) {
    sendEnded_ = true;
    emitEnd(TransferDirection::Send);
  }
  if (receiveBegun_ && !receiveEnded_) {
    receiveEnded_ = true;
    emitEnd(TransferDirection::Receive);
  }
}

}  // namespace

ExchangeAnswer RunExchange(CURL* easy, CURLM* multi, const ExchangeRequest& request) {
  return Exchange(easy, multi, request).run();
}

}  // namespace cvu
