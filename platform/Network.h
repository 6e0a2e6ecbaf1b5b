// The network as the update check needs it: whether the computer reports a
// connection to the Internet, and downloaders that fetch one address on a
// worker of their own, within a time limit.
//
// Failure rules: a download that fails, is stopped or runs past its limit
// leaves succeeded() false, result() empty and no file behind (with toMemory,
// or after any failure); nothing is retried and no error is reported.
//
// Reach the build's implementation through network(): WinINet and URLMon on
// Windows, a scripted in-memory network elsewhere (platform/fake/FakeNetwork.h,
// for tests).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace s::system::network {

// Receives the transfer's progress: the expected size (1 when the server
// gives none), the bytes so far and the caller's data. Called on the
// downloader's worker.
using ProgressFunction = void (*)(void* object, std::int64_t maximum, std::int64_t progress, void* data);

// The largest body a download keeps (a version answer is a few bytes): a
// larger one fails the download instead of filling memory or the disk.
inline constexpr std::int64_t kMaxDownloadBytes = 4 * 1024 * 1024;

class IDownloader {
public:
    virtual ~IDownloader() = default;

    virtual void setUrl(std::u16string_view url) = 0;
    // True: keep the body as text (one character per byte) and delete the
    // downloaded file; false: keep the file (localFile()).
    virtual void setToMemory(bool on) = 0;
    // Either set: the WinINet path with this agent and referrer; both empty:
    // the system's URL-to-file service.
    virtual void setUserAgent(std::u16string_view agent) = 0;
    virtual void setReferrer(std::u16string_view referrer) = 0;

    // Offline: false at once. Otherwise starts the download and waits in
    // 200 ms steps for at most timeoutMs; a download still going then is
    // stopped. True when it succeeded.
    virtual bool download(unsigned timeoutMs, void* data = nullptr, void* object = nullptr,
                          ProgressFunction function = nullptr) = 0;
    // The download on the worker, without waiting (nothing happens while one
    // runs).
    virtual void start() = 0;
    // Asks a running download to stop; with wait, gives it 100 ms to end and
    // then leaves it behind, so that the downloader is free for the next one
    // at once (an abandoned download ends on its own, its result dropped and
    // its file deleted).
    virtual void stop(bool wait) = 0;
    virtual bool running() const = 0;

    virtual bool succeeded() const = 0;
    // The file the last download was written to (kept without toMemory).
    virtual std::u16string localFile() const = 0;
    // With toMemory: the body, each byte one character (0 … 255).
    virtual std::u16string result() const = 0;
};

}  // namespace s::system::network

namespace s::platform {

class INetwork {
public:
    virtual ~INetwork() = default;
    // InternetGetConnectedState succeeds and its flags are not exactly
    // INTERNET_CONNECTION_OFFLINE.
    virtual bool connected() = 0;
    // A new downloader with its own worker.
    virtual std::unique_ptr<s::system::network::IDownloader> newDownloader() = 0;
};

// The build's network: WinINet and URLMon, or the scripted fake in native
// builds.
INetwork& network();

}  // namespace s::platform
