// The scripted network of native builds, and its test API. Only tests include
// this header; everything else reaches it through network(). Nothing leaves
// the process: each address a downloader fetches is recorded and answered
// with the body a test set for it; an address without one fails, as does
// every download while the network is offline.
#pragma once

#include "platform/Network.h"

#include <string>
#include <vector>

namespace s::platform {

class FakeNetwork : public INetwork {
public:
    // Online, with no answers and no requests, until a test says otherwise.
    virtual void reset() = 0;
    virtual void setConnected(bool connected) = 0;
    // The body (bytes) that a download of url receives.
    virtual void setAnswer(std::u16string_view url, std::string body) = 0;
    // The addresses fetched so far, in order (offline attempts are not
    // recorded: they never reach the network).
    virtual std::vector<std::u16string> requests() = 0;
};

// The same object as network() in native builds.
FakeNetwork& fakeNetwork();

}  // namespace s::platform
