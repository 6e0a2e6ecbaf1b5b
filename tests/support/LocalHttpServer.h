// A small HTTP server on 127.0.0.1 inside the test process (Windows sockets;
// Wine hands them to the host's loopback), for the downloader's tests: no
// request leaves the machine. It answers each path as the test scripted it,
// and can stay silent, refuse nothing, redirect for ever or send more than it
// announced. Stopping it (the destructor) closes every connection and waits
// for its threads.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

namespace testing_platform {

struct HttpAnswer {
    enum class Kind : std::uint8_t {
        Body,      // status and body, with Content-Length
        NoLength,  // status 200 and body without Content-Length; the connection closes after it
        Silent,    // reads the request and never answers
        Redirect,  // 302 to `body` (a path)
        Endless,   // announces 200 MiB and sends blocks until the client goes
    };
    Kind kind = Kind::Body;
    int status = 200;
    std::string body;
};

class LocalHttpServer {
public:
    // Starts listening on a free port of 127.0.0.1; port() is 0 when that
    // failed.
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    // Before the first request; paths without an answer get a 404 page.
    void answer(const std::string& path, HttpAnswer answer);
    std::uint16_t port() const;
    // "http://127.0.0.1:<port>" + path.
    std::u16string url(const std::string& path) const;
    // Requests received for path so far.
    int requestCount(const std::string& path) const;

    struct State;

private:
    std::shared_ptr<State> m_state;
};

// A port of 127.0.0.1 on which nothing listens (bound, then let go).
std::uint16_t closedPort();

}  // namespace testing_platform
