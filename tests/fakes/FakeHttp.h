#pragma once

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "platform/HttpRequest.h"

namespace talvane::testing {

// One canned answer; failAt names the step that fails.
struct FakeResponse {
    enum class FailAt { None, Create, Open, Send, Body };
    std::string body;
    FailAt failAt = FailAt::None;
};

// Hands out canned answers in order (an empty queue answers with an empty
// body) and records every URL opened and every call made, e.g.
// "create", "open", "send", "body".
class FakeHttpFactory : public HttpRequestFactory {
  public:
    std::deque<FakeResponse> responses;
    std::vector<std::u16string> urls;
    std::vector<std::string> calls;
    int liveObjects = 0;

    void answer(std::string body) {
        responses.push_back({std::move(body), FakeResponse::FailAt::None});
    }
    void fail(FakeResponse::FailAt at) { responses.push_back({{}, at}); }

    std::unique_ptr<HttpRequest> create() override {
        calls.push_back("create");
        FakeResponse response;
        if (!responses.empty()) {
            response = responses.front();
            if (response.failAt == FakeResponse::FailAt::Create) {
                // Creation keeps failing for the same request.
                return nullptr;
            }
            responses.pop_front();
        }
        return std::make_unique<Request>(*this, std::move(response));
    }

  private:
    class Request : public HttpRequest {
      public:
        Request(FakeHttpFactory& owner, FakeResponse response)
            : owner_(owner), response_(std::move(response)) {
            ++owner_.liveObjects;
        }
        ~Request() override { --owner_.liveObjects; }
        bool open(std::string_view, std::u16string_view url, bool) override {
            owner_.calls.push_back("open");
            owner_.urls.emplace_back(url);
            return step(FakeResponse::FailAt::Open);
        }
        bool send() override {
            owner_.calls.push_back("send");
            return step(FakeResponse::FailAt::Send);
        }
        bool responseBody(std::string& body) override {
            owner_.calls.push_back("body");
            if (!step(FakeResponse::FailAt::Body)) return false;
            body = response_.body;
            return true;
        }
        std::string errorString() const override { return failed_ ? "fake failure" : ""; }

      private:
        bool step(FakeResponse::FailAt at) {
            if (response_.failAt == at) failed_ = true;
            return !failed_;
        }
        FakeHttpFactory& owner_;
        FakeResponse response_;
        bool failed_ = false;
    };
};

}  // namespace talvane::testing
