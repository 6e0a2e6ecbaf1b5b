// Answers for the downloader, the same way on either backend: under Wine a
// server of the test's own on 127.0.0.1 (tests/support/LocalHttpServer.h),
// natively the scripted network (platform/fake/FakeNetwork.h). Nothing
// leaves the machine. A test names a path and what it answers, and gets the
// address to download.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace testing_platform {

class AnswerServer {
public:
    AnswerServer();
    ~AnswerServer();
    AnswerServer(const AnswerServer&) = delete;
    AnswerServer& operator=(const AnswerServer&) = delete;

    // False when the server could not start.
    bool ok() const;
    // The address of `path`, which answers with the status and the body
    // (any status but 2xx makes the download fail).
    std::u16string serve(const std::string& path, int status, std::string body);

    struct State;

private:
    std::unique_ptr<State> m_state;
};

}  // namespace testing_platform
