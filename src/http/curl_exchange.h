#pragma once
// One HTTP request and its answer on a libcurl handle, without redirect handling:
// the building block of HttpClient.
#include <curl/curl.h>

#include <chrono>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "common/abort_signal.h"
#include "common/http_settings.h"
#include "http/multipart_form.h"
#include "http/transfer_events.h"

namespace cvu {

struct ExchangeRequest {
  std::string url;
  const MultipartForm* form = nullptr;   // null: GET
  std::vector<std::string> headerLines;  // sent as they are, in order
  std::string userAgent;                 // empty: none
  HttpSettings settings;
  // The whole answer must have come by then; the time the request body takes to send
  // is added. Set by the client from settings.answerTimeout; none by default.
  std::chrono::steady_clock::time_point deadline = std::chrono::steady_clock::time_point::max();
  // An answer body longer than this fails the exchange, which reads no further.
  std::size_t answerLimit = std::numeric_limits<std::size_t>::max();
  const TransferEvents* events = nullptr;
  const std::function<void()>* waitHook = nullptr;
  std::vector<AbortSignal*> stops;  // any of them ends the exchange
};

struct ExchangeAnswer {
  std::string statusLine;  // exactly as received, without the line break
  int status = 0;
  std::string location;
  std::vector<std::string> setCookies;
  std::string contentType;
  std::string body;
};

// Runs the request on easy (reset first; its connections are reused) through multi.
// A failure without a whole answer (network, time-out, stop) throws HttpError with the
// error's text and the Location of the answer whose headers had arrived, if any; any
// whole answer, whatever its status, is returned.
ExchangeAnswer RunExchange(CURL* easy, CURLM* multi, const ExchangeRequest& request);

}  // namespace cvu
