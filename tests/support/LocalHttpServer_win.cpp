#include "tests/support/LocalHttpServer.h"

#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <atomic>
#include <mutex>
#include <thread>
#include <vector>

namespace testing_platform {

struct LocalHttpServer::State {
    SOCKET listener = INVALID_SOCKET;
    std::uint16_t port = 0;
    std::atomic<bool> stopping{false};
    mutable std::mutex lock;
    std::map<std::string, HttpAnswer> answers;
    std::map<std::string, int> counts;
    std::vector<std::thread> threads;
    std::thread acceptor;
};

namespace {

class WinsockScope {
public:
    WinsockScope()
    {
        WSADATA data;
        m_ready = WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }
    ~WinsockScope()
    {
        if (m_ready)
            WSACleanup();
    }
    WinsockScope(const WinsockScope&) = delete;
    WinsockScope& operator=(const WinsockScope&) = delete;

private:
    bool m_ready = false;
};

WinsockScope& winsock()
{
    static WinsockScope scope;
    return scope;
}

enum class Direction : std::uint8_t { Read, Write };

// Waits until s can be read (or has a peer to accept) or written, or the
// server stops. Blocking calls are never left waiting: under Wine, closing or
// shutting down a socket does not wake a thread blocked in accept or recv on
// it, and a client that stops reading could hold a sender for ever.
bool ready(LocalHttpServer::State& state, SOCKET s, Direction direction)
{
    while (!state.stopping) {
        fd_set set;
        FD_ZERO(&set);
        FD_SET(s, &set);
        timeval wait{0, 50000};
        const int found = direction == Direction::Read ? select(0, &set, nullptr, nullptr, &wait)
                                                       : select(0, nullptr, &set, nullptr, &wait);
        if (found < 0)
            return false;
        if (found > 0)
            return true;
    }
    return false;
}

bool sendAll(LocalHttpServer::State& state, SOCKET s, const std::string& bytes)
{
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        if (!ready(state, s, Direction::Write))
            return false;
        const int n =
            send(s, bytes.data() + sent, static_cast<int>(std::min<std::size_t>(bytes.size() - sent, 16384)), 0);
        if (n <= 0)
            return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

const char* reason(int status)
{
    switch (status) {
    case 200:
        return "OK";
    case 302:
        return "Found";
    case 404:
        return "Not Found";
    default:
        return "Status";
    }
}

// One connection: requests one after another (keep-alive) until the client
// closes, the answer ends the connection or the server stops.
void serveRequests(LocalHttpServer::State& state, SOCKET s)
{
    std::string pending;
    char buffer[4096];
    while (!state.stopping) {
        const std::size_t end = pending.find("\r\n\r\n");
        if (end == std::string::npos) {
            if (!ready(state, s, Direction::Read))
                return;
            const int n = recv(s, buffer, sizeof(buffer), 0);
            if (n <= 0)
                return;
            pending.append(buffer, static_cast<std::size_t>(n));
            continue;
        }
        const std::string head = pending.substr(0, end);
        pending.erase(0, end + 4);
        const std::size_t first = head.find(' ');
        const std::size_t second = head.find(' ', first + 1);
        const std::string path = first == std::string::npos ? "" : head.substr(first + 1, second - first - 1);
        HttpAnswer answer{HttpAnswer::Kind::Body, 404, "<html><body>404 Not Found</body></html>"};
        {
            std::lock_guard guard(state.lock);
            ++state.counts[path];
            const auto found = state.answers.find(path);
            if (found != state.answers.end())
                answer = found->second;
        }
        const std::string status = "HTTP/1.1 " + std::to_string(answer.status) + " " + reason(answer.status) + "\r\n";
        switch (answer.kind) {
        case HttpAnswer::Kind::Body:
            if (!sendAll(state, s,
                         status + "Content-Type: text/plain\r\nContent-Length: " + std::to_string(answer.body.size()) +
                             "\r\n\r\n" + answer.body))
                return;
            break;
        case HttpAnswer::Kind::NoLength:
            sendAll(state, s, "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\nConnection: close\r\n\r\n" + answer.body);
            return;
        case HttpAnswer::Kind::Silent:
            while (!state.stopping)
                Sleep(20);
            return;
        case HttpAnswer::Kind::Redirect:
            if (!sendAll(state, s, "HTTP/1.1 302 Found\r\nLocation: " + answer.body + "\r\nContent-Length: 0\r\n\r\n"))
                return;
            break;
        case HttpAnswer::Kind::Endless: {
            if (!sendAll(state, s,
                         "HTTP/1.1 200 OK\r\nContent-Type: application/octet-stream\r\nContent-Length: " +
                             std::to_string(200LL * 1024 * 1024) + "\r\n\r\n"))
                return;
            const std::string block(64 * 1024, '\xAB');
            while (!state.stopping && sendAll(state, s, block)) {
            }
            return;
        }
        }
    }
}

void serve(LocalHttpServer::State& state, SOCKET s)
{
    serveRequests(state, s);
    shutdown(s, SD_BOTH);
    closesocket(s);
}

void acceptLoop(std::shared_ptr<LocalHttpServer::State> state)
{
    while (ready(*state, state->listener, Direction::Read)) {
        const SOCKET s = accept(state->listener, nullptr, nullptr);
        if (s == INVALID_SOCKET)
            return;
        std::lock_guard guard(state->lock);
        if (state->stopping) {
            closesocket(s);
            return;
        }
        state->threads.emplace_back([state, s] { serve(*state, s); });
    }
}

sockaddr_in loopback(std::uint16_t port)
{
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
}

}  // namespace

LocalHttpServer::LocalHttpServer() : m_state(std::make_shared<State>())
{
    winsock();
    m_state->listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_state->listener == INVALID_SOCKET)
        return;
    sockaddr_in address = loopback(0);
    int length = sizeof(address);
    if (bind(m_state->listener, reinterpret_cast<sockaddr*>(&address), sizeof(address)) != 0 ||
        listen(m_state->listener, 16) != 0 ||
        getsockname(m_state->listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_state->port = ntohs(address.sin_port);
    m_state->acceptor = std::thread(acceptLoop, m_state);
}

LocalHttpServer::~LocalHttpServer()
{
    m_state->stopping = true;
    if (m_state->acceptor.joinable())
        m_state->acceptor.join();
    if (m_state->listener != INVALID_SOCKET)
        closesocket(m_state->listener);
    std::vector<std::thread> threads;
    {
        std::lock_guard guard(m_state->lock);
        threads.swap(m_state->threads);
    }
    for (auto& thread : threads)
        thread.join();
}

void LocalHttpServer::answer(const std::string& path, HttpAnswer answer)
{
    std::lock_guard guard(m_state->lock);
    m_state->answers[path] = std::move(answer);
}

std::uint16_t LocalHttpServer::port() const
{
    return m_state->port;
}

std::u16string LocalHttpServer::url(const std::string& path) const
{
    const std::string text = "http://127.0.0.1:" + std::to_string(m_state->port) + path;
    return std::u16string(text.begin(), text.end());
}

int LocalHttpServer::requestCount(const std::string& path) const
{
    std::lock_guard guard(m_state->lock);
    const auto found = m_state->counts.find(path);
    return found == m_state->counts.end() ? 0 : found->second;
}

std::uint16_t closedPort()
{
    winsock();
    const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (s == INVALID_SOCKET)
        return 0;
    sockaddr_in address = loopback(0);
    int length = sizeof(address);
    std::uint16_t port = 0;
    if (bind(s, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0 &&
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    closesocket(s);
    return port;
}

}  // namespace testing_platform
