#include "tests/support/AnswerServer.h"

#include "platform/fake/FakeNetwork.h"

namespace testing_platform {

struct AnswerServer::State {};

AnswerServer::AnswerServer()
{
    s::platform::fakeNetwork().reset();
}

AnswerServer::~AnswerServer()
{
    s::platform::fakeNetwork().reset();
}

bool AnswerServer::ok() const
{
    return true;
}

std::u16string AnswerServer::serve(const std::string& path, int status, std::string body)
{
    const std::u16string url = u"http://answers.test" + std::u16string(path.begin(), path.end());
    // The scripted network fails an address without an answer, as a
    // download fails on an error status.
    if (status >= 200 && status < 300)
        s::platform::fakeNetwork().setAnswer(url, std::move(body));
    return url;
}

}  // namespace testing_platform
