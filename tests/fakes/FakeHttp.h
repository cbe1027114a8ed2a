#pragma once

#include <deque>
#include <string>
#include <vector>

#include "platform/HttpClient.h"

namespace talvane::testing {

// Hands out canned answers in order (an empty queue answers with an empty
// body) and records every address asked for.
class FakeHttpClient : public HttpClient {
  public:
    std::deque<FetchResult> responses;
    std::vector<std::u16string> urls;

    void answer(std::string body) {
        FetchResult ok;
        ok.status = FetchResult::Status::Ok;
        ok.httpStatus = 200;
        ok.body = std::move(body);
        responses.push_back(std::move(ok));
    }
    void fail(FetchResult::Status status = FetchResult::Status::ConnectFailed) {
        FetchResult failed;
        failed.status = status;
        failed.reason = "fake failure";
        responses.push_back(std::move(failed));
    }

    FetchResult get(std::u16string_view url) override {
        urls.emplace_back(url);
        if (responses.empty()) {
            FetchResult empty;
            empty.status = FetchResult::Status::Ok;
            empty.httpStatus = 200;
            return empty;
        }
        FetchResult next = std::move(responses.front());
        responses.pop_front();
        return next;
    }
};

}  // namespace talvane::testing
