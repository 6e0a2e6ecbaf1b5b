// The downloader against a server of the test's own on 127.0.0.1: both paths
// (the URL-to-file service, and WinINet when an agent or a referrer is set)
// fetch bodies intact with their progress, never count an error page, give up
// on a closed port at once and on a silent server at the time limit, and
// leave no temporary file behind whatever the server does.
#include "platform/Network.h"

#include "tests/support/LocalHttpServer.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <wininet.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using s::system::network::IDownloader;
using testing_platform::HttpAnswer;
using testing_platform::LocalHttpServer;

enum class Path : std::uint8_t { UrlToFile, WinInetAgent, WinInetReferrer };

const char* nameOf(Path path)
{
    switch (path) {
    case Path::UrlToFile:
        return "URL-to-file";
    case Path::WinInetAgent:
        return "WinINet (agent)";
    case Path::WinInetReferrer:
        return "WinINet (referrer)";
    }
    return "?";
}

// Every byte value, several 5,000-byte blocks long.
std::string sampleBody()
{
    std::string body;
    for (int i = 0; i < 12345; ++i)
        body.push_back(static_cast<char>((i * 7 + i / 256) & 0xFF));
    return body;
}

std::u16string asText(const std::string& bytes)
{
    std::u16string text;
    for (const char byte : bytes)
        text.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
    return text;
}

// The temporary files a download leaves ("NEW*.tmp" in the temporary folder).
std::vector<std::wstring> leftovers()
{
    wchar_t folder[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, folder);
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((std::wstring(folder) + L"NEW*.tmp").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do
        names.emplace_back(found.cFileName);
    while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

struct Progress {
    std::vector<std::pair<std::int64_t, std::int64_t>> reports;
    static void record(void* object, std::int64_t maximum, std::int64_t progress, void*)
    {
        static_cast<Progress*>(object)->reports.emplace_back(maximum, progress);
    }
};

class Downloads : public ::testing::TestWithParam<Path> {
protected:
    void SetUp() override
    {
        ASSERT_NE(server->port(), 0) << "no listening socket on 127.0.0.1";
        before = leftovers();
    }
    // A download left behind at its time limit ends once the server has
    // gone, and deletes its file then.
    void TearDown() override
    {
        server.reset();
        for (int i = 0; i < 100 && leftovers() != before; ++i)
            Sleep(50);
        EXPECT_EQ(leftovers(), before) << "a temporary file was left behind";
    }

    std::unique_ptr<IDownloader> downloader(const std::string& path, bool toMemory = true)
    {
        auto d = s::platform::network().newDownloader();
        d->setUrl(server->url(path));
        d->setToMemory(toMemory);
        if (GetParam() == Path::WinInetAgent)
            d->setUserAgent(u"PurgoTest/1.0");
        if (GetParam() == Path::WinInetReferrer)
            d->setReferrer(u"http://127.0.0.1/referrer");
        return d;
    }

    std::unique_ptr<LocalHttpServer> server = std::make_unique<LocalHttpServer>();
    std::vector<std::wstring> before;
};

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

TEST_P(Downloads, ABodyOfSeveralBlocksArrivesIntactWithProgress)
{
    SCOPED_TRACE(nameOf(GetParam()));
    const std::string body = sampleBody();
    server->answer("/body", {HttpAnswer::Kind::Body, 200, body});
    auto d = downloader("/body");
    Progress progress;
    ASSERT_TRUE(d->download(8000, nullptr, &progress, &Progress::record));
    EXPECT_TRUE(d->succeeded());
    EXPECT_TRUE(d->result() == asText(body)) << "the body differs, " << d->result().size() << " characters";
    ASSERT_FALSE(progress.reports.empty());
    EXPECT_EQ(progress.reports.back().second, static_cast<std::int64_t>(body.size()));
    EXPECT_EQ(progress.reports.back().first, static_cast<std::int64_t>(body.size()));
    if (GetParam() != Path::UrlToFile) {
        EXPECT_GE(progress.reports.size(), 3u) << "one report per 5,000-byte block";
    }
}

TEST_P(Downloads, WithoutToMemoryTheFileStaysWithItsPrefix)
{
    SCOPED_TRACE(nameOf(GetParam()));
    const std::string body = sampleBody();
    server->answer("/body", {HttpAnswer::Kind::Body, 200, body});
    auto d = downloader("/body", false);
    ASSERT_TRUE(d->download(8000));
    EXPECT_TRUE(d->result().empty());
    const std::u16string file = d->localFile();
    const std::wstring path(file.begin(), file.end());
    const std::size_t slash = path.find_last_of(L'\\');
    EXPECT_EQ(path.substr(slash + 1, 3), L"NEW");
    const HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    std::string read(body.size() + 1, '\0');
    DWORD got = 0;
    ReadFile(h, read.data(), static_cast<DWORD>(read.size()), &got, nullptr);
    CloseHandle(h);
    read.resize(got);
    EXPECT_TRUE(read == body);
    EXPECT_TRUE(DeleteFileW(path.c_str()));
}

// Each answer must fail the download, within the limit, with no result.
struct Failure {
    const char* name;
    HttpAnswer answer;
};

TEST_P(Downloads, ErrorPagesAndBadAnswersNeverCount)
{
    const Failure failures[] = {
        {"404 with a page", {HttpAnswer::Kind::Body, 404, "*1.26 <html>not found</html>"}},
        {"500", {HttpAnswer::Kind::Body, 500, "*1.26"}},
        {"a redirect loop", {HttpAnswer::Kind::Redirect, 302, "/case"}},
        {"more than the size limit", {HttpAnswer::Kind::Endless, 200, ""}},
        {"an empty body", {HttpAnswer::Kind::Body, 200, ""}},
    };
    for (const Failure& failure : failures) {
        SCOPED_TRACE(std::string(nameOf(GetParam())) + ": " + failure.name);
        server->answer("/case", failure.answer);
        auto d = downloader("/case");
        const auto start = Clock::now();
        EXPECT_FALSE(d->download(4000));
        const long long waited = msSince(start);
        EXPECT_LE(waited, 5000);
        std::printf("%s, %s: %lld ms\n", nameOf(GetParam()), failure.name, waited);
        EXPECT_FALSE(d->succeeded());
        EXPECT_TRUE(d->result().empty());
    }
}

TEST_P(Downloads, ABodyWithoutALengthArrives)
{
    SCOPED_TRACE(nameOf(GetParam()));
    server->answer("/nolength", {HttpAnswer::Kind::NoLength, 200, "*1.26 and more"});
    auto d = downloader("/nolength");
    Progress progress;
    ASSERT_TRUE(d->download(8000, nullptr, &progress, &Progress::record));
    EXPECT_TRUE(d->result() == u"*1.26 and more");
    if (GetParam() != Path::UrlToFile) {
        ASSERT_EQ(progress.reports.size(), 1u);
        EXPECT_EQ(progress.reports[0], std::make_pair(std::int64_t{1}, std::int64_t{1}));
    }
}

TEST_P(Downloads, AClosedPortFailsAtOnce)
{
    SCOPED_TRACE(nameOf(GetParam()));
    auto d = s::platform::network().newDownloader();
    const std::string url = "http://127.0.0.1:" + std::to_string(testing_platform::closedPort()) + "/check/";
    d->setUrl(std::u16string(url.begin(), url.end()));
    d->setToMemory(true);
    if (GetParam() != Path::UrlToFile)
        d->setUserAgent(u"PurgoTest/1.0");
    const auto start = Clock::now();
    EXPECT_FALSE(d->download(8000));
    EXPECT_LE(msSince(start), 2000);
}

TEST_P(Downloads, ASilentServerIsCutOffAtTheLimitAndTheDownloaderServesAgain)
{
    SCOPED_TRACE(nameOf(GetParam()));
    server->answer("/silent", {HttpAnswer::Kind::Silent, 200, ""});
    server->answer("/body", {HttpAnswer::Kind::Body, 200, "*1.26"});
    auto d = downloader("/silent");
    const auto start = Clock::now();
    EXPECT_FALSE(d->download(1000));
    const long long waited = msSince(start);
    EXPECT_GE(waited, 900);
    EXPECT_LE(waited, 2000);
    EXPECT_FALSE(d->running()) << "the stuck download was left behind";

    d->setUrl(server->url("/body"));
    EXPECT_TRUE(d->download(8000));
    EXPECT_TRUE(d->result() == u"*1.26");
}

TEST_P(Downloads, ATemporaryFolderThatCannotBeWrittenFailsTheDownload)
{
    SCOPED_TRACE(nameOf(GetParam()));
    server->answer("/body", {HttpAnswer::Kind::Body, 200, "*1.26"});
    wchar_t saved[32768] = {};
    const DWORD length = GetEnvironmentVariableW(L"TMP", saved, 32768);
    SetEnvironmentVariableW(L"TMP", L"C:\\purgo-no-such-folder\\inner");
    auto d = downloader("/body");
    const bool fetched = d->download(4000);
    SetEnvironmentVariableW(L"TMP", length ? saved : nullptr);
    EXPECT_FALSE(fetched);
    EXPECT_EQ(server->requestCount("/body"), 0) << "nothing is fetched without a file to write";
}

INSTANTIATE_TEST_SUITE_P(BothPaths, Downloads,
                         ::testing::Values(Path::UrlToFile, Path::WinInetAgent, Path::WinInetReferrer),
                         [](const ::testing::TestParamInfo<Path>& row) {
                             return std::string(row.param == Path::UrlToFile      ? "UrlToFile"
                                                : row.param == Path::WinInetAgent ? "WinInetAgent"
                                                                                  : "WinInetReferrer");
                         });

// Wine reports a connection exactly when the machine has a default route;
// whatever it says, the service and the downloader agree with it.
TEST(Network, TheConnectedStateIsWinInets)
{
    DWORD flags = 0;
    const bool expected = InternetGetConnectedState(&flags, 0) && flags != INTERNET_CONNECTION_OFFLINE;
    EXPECT_EQ(s::platform::network().connected(), expected);
}

}  // namespace
