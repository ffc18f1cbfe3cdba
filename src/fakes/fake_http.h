#pragma once
// HTTP answered from a script: each GET takes the next answer (none: no response), and every
// request is recorded. Safe to call from a worker thread while the test reads it afterwards.
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/http.h"

namespace platform {

class FakeHttp final : public Http {
 public:
  struct Request {
    std::wstring method, url;
    HttpHeaders headers;
    std::string body;
  };
  // Answers in order; when they run out, every further request gets no response.
  std::deque<std::optional<std::string>> Answers;

  bool Get(std::wstring_view url, const HttpHeaders& headers, std::string& body) override {
    const std::scoped_lock lock(mutex_);
    requests_.push_back({L"GET", std::wstring(url), headers, {}});
    if (Answers.empty()) return false;
    const std::optional<std::string> answer = std::move(Answers.front());
    Answers.pop_front();
    if (!answer) return false;
    body = answer->size() > kMaxReplyBytes ? std::string() : *answer;
    return true;
  }
  bool Post(std::wstring_view url, std::wstring_view contentType, std::string_view body) override {
    const std::scoped_lock lock(mutex_);
    requests_.push_back({L"POST", std::wstring(url), {{L"Content-Type", std::wstring(contentType)}}, std::string(body)});
    return true;
  }
  std::vector<Request> Requests() const {
    const std::scoped_lock lock(mutex_);
    return requests_;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<Request> requests_;
};

} // namespace platform
