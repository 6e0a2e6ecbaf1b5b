#include "tests/support/AnswerServer.h"

#include "tests/support/LocalHttpServer.h"

namespace testing_platform {

struct AnswerServer::State {
    LocalHttpServer server;
};

AnswerServer::AnswerServer() : m_state(std::make_unique<State>())
{
}

AnswerServer::~AnswerServer() = default;

bool AnswerServer::ok() const
{
    return m_state->server.port() != 0;
}

std::u16string AnswerServer::serve(const std::string& path, int status, std::string body)
{
    HttpAnswer answer;
    answer.status = status;
    answer.body = std::move(body);
    m_state->server.answer(path, std::move(answer));
    return m_state->server.url(path);
}

}  // namespace testing_platform
