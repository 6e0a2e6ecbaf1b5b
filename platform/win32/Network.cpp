// The network on Windows: the connected state from WinINet, and the
// downloader s::system::network::win::Downloader.
//
// Each download runs on a thread of its own that holds the download's state
// (a Job) for as long as it runs. A download that does not end in time is
// never killed: TerminateThread inside URLMon or WinINet can leave their
// locks, the loader lock or the heap lock held, and every later call in the
// process would wait for ever. Instead the owner asks it to stop (the
// WinINet session is closed under it, which ends a blocked call; the
// URL-to-file service is told at its next progress report) and, after 100 ms
// of grace, leaves it behind: the downloader is free for the next download at
// once, and the abandoned one ends on its own, its result dropped and its
// temporary file deleted. The process's end takes any thread still waiting.
#include "platform/Network.h"

#include "platform/win32/ComScope.h"
#include "platform/win32/ProcAddress.h"

#include <windows.h>

#include <urlmon.h>
#include <wininet.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace s::system::network::win {

namespace {

constexpr unsigned kWaitStepMs = 200;
constexpr unsigned kStopGraceMs = 100;
constexpr unsigned kGracePollMs = 10;
// A download started without download() has no limit of its own; this bounds
// the WinINet path's waits.
constexpr unsigned kDefaultLimitMs = 60000;
constexpr DWORD kBlockBytes = 5000;
constexpr wchar_t kDefaultAgent[] = L"Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1)";
constexpr wchar_t kPlainPrefix[] = L"http://";
constexpr wchar_t kSecurePrefix[] = L"https://";

// WinINet and URLMon are bound by name when the first question or download
// needs them, not imported: loading them brings in the TLS and Kerberos
// libraries and the proxy settings (about 4 MB under Wine, and time), for a
// program that goes online once a month at most.
struct OnlineApi {
    decltype(&::InternetGetConnectedState) connectedState = nullptr;
    decltype(&::InternetOpenW) open = nullptr;
    decltype(&::InternetConnectW) connect = nullptr;
    decltype(&::InternetSetOptionW) setOption = nullptr;
    decltype(&::HttpOpenRequestW) openRequest = nullptr;
    decltype(&::HttpSendRequestW) sendRequest = nullptr;
    decltype(&::HttpQueryInfoW) queryInfo = nullptr;
    decltype(&::InternetReadFile) readFile = nullptr;
    decltype(&::InternetCloseHandle) closeHandle = nullptr;
    bool winInet = false;
    decltype(&::URLDownloadToFileW) downloadToFile = nullptr;
    bool urlMon = false;
};

const OnlineApi& online()
{
    // Bound once, by the first thread that asks; the modules stay loaded.
    static const OnlineApi api = [] {
        using s::platform::bindAll;
        OnlineApi bound;
        bound.winInet = bindAll(LoadLibraryW(L"wininet.dll"), {{"InternetGetConnectedState", bound.connectedState},
                                                               {"InternetOpenW", bound.open},
                                                               {"InternetConnectW", bound.connect},
                                                               {"InternetSetOptionW", bound.setOption},
                                                               {"HttpOpenRequestW", bound.openRequest},
                                                               {"HttpSendRequestW", bound.sendRequest},
                                                               {"HttpQueryInfoW", bound.queryInfo},
                                                               {"InternetReadFile", bound.readFile},
                                                               {"InternetCloseHandle", bound.closeHandle}});
        bound.urlMon = bindAll(LoadLibraryW(L"urlmon.dll"), {{"URLDownloadToFileW", bound.downloadToFile}});
        return bound;
    }();
    return api;
}

bool isConnected()
{
    if (!online().winInet)
        return false;
    DWORD flags = 0;
    return online().connectedState(&flags, 0) && flags != INTERNET_CONNECTION_OFFLINE;
}

std::wstring wideOf(std::u16string_view text)
{
    return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

// What the owner asks for; each download takes a copy.
struct Request {
    std::wstring url;
    std::wstring userAgent;
    std::wstring referrer;
    bool toMemory = false;
    unsigned limitMs = kDefaultLimitMs;
    ProgressFunction function = nullptr;
    void* object = nullptr;
    void* data = nullptr;
};

// What one download works on, shared by its owner and its thread. `lock`
// guards succeeded, result and session; the flags are atomic.
struct Job : Request {
    explicit Job(const Request& request) : Request(request) {}

    std::atomic<bool> running{false};
    std::atomic<bool> stopRequested{false};
    std::atomic<bool> abandoned{false};

    std::mutex lock;
    bool succeeded = false;
    std::u16string result;
    std::wstring localFile;
    HINTERNET session = nullptr;  // open while the WinINet path runs

    bool cancelled() const { return stopRequested || abandoned; }
    void progress(std::int64_t maximum, std::int64_t done) const
    {
        if (function && !abandoned)
            function(object, maximum, done, data);
    }
};

// The URL-to-file service's callback: progress, stop requests and the HTTP
// status. URLDownloadToFileW reports success for an error page (it saves the
// page), so the status of the response decides.
class BindCallback final : public IBindStatusCallback, public IHttpNegotiate {
public:
    explicit BindCallback(Job& job) : m_job(job) {}
    BindCallback(const BindCallback&) = delete;
    BindCallback& operator=(const BindCallback&) = delete;

    DWORD status() const { return m_status; }
    bool tooLarge() const { return m_tooLarge; }

    // IUnknown: the object lives on the download's stack for the whole call.
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** out) override
    {
        if (!out)
            return E_POINTER;
        if (IsEqualIID(id, IID_IUnknown) || IsEqualIID(id, IID_IBindStatusCallback))
            *out = static_cast<IBindStatusCallback*>(this);
        else if (IsEqualIID(id, IID_IHttpNegotiate))
            *out = static_cast<IHttpNegotiate*>(this);
        else {
            *out = nullptr;
            return E_NOINTERFACE;
        }
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; }
    ULONG STDMETHODCALLTYPE Release() override { return 1; }

    // IBindStatusCallback
    HRESULT STDMETHODCALLTYPE OnStartBinding(DWORD, IBinding*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetPriority(LONG*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE OnLowResource(DWORD) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnProgress(ULONG progress, ULONG maximum, ULONG, LPCWSTR) override
    {
        if (m_job.cancelled())
            return E_ABORT;
        if (static_cast<std::int64_t>(progress) > kMaxDownloadBytes) {
            m_tooLarge = true;
            return E_ABORT;
        }
        m_job.progress(maximum ? maximum : 1, maximum ? progress : 1);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnStopBinding(HRESULT, LPCWSTR) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE GetBindInfo(DWORD*, BINDINFO*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnDataAvailable(DWORD, DWORD, FORMATETC*, STGMEDIUM*) override { return S_OK; }
    HRESULT STDMETHODCALLTYPE OnObjectAvailable(REFIID, IUnknown*) override { return S_OK; }

    // IHttpNegotiate
    HRESULT STDMETHODCALLTYPE BeginningTransaction(LPCWSTR, LPCWSTR, DWORD, LPWSTR* additional) override
    {
        if (additional)
            *additional = nullptr;
        return m_job.cancelled() ? E_ABORT : S_OK;
    }
    HRESULT STDMETHODCALLTYPE OnResponse(DWORD status, LPCWSTR, LPCWSTR, LPWSTR* additional) override
    {
        if (additional)
            *additional = nullptr;
        m_status = status;
        return S_OK;
    }

private:
    Job& m_job;
    DWORD m_status = 0;
    bool m_tooLarge = false;
};

bool viaUrlMon(Job& job)
{
    if (!online().urlMon)
        return false;
    BindCallback callback(job);
    const HRESULT result = online().downloadToFile(nullptr, job.url.c_str(), job.localFile.c_str(), 0, &callback);
    // No status at all: not an HTTP response (another scheme), which the
    // service's own result judges alone.
    const DWORD status = callback.status();
    return SUCCEEDED(result) && !callback.tooLarge() && (status == 0 || (status >= 200 && status < 300));
}

// A WinINet handle closed with its owner. The session is the exception: see
// WinInetSession.
class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle) : m_handle(handle) {}
    ~InternetHandle()
    {
        if (m_handle)
            online().closeHandle(m_handle);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET get() const { return m_handle; }
    // The session was closed under it, which closed this child too.
    void forget() { m_handle = nullptr; }

private:
    HINTERNET m_handle;
};

// Host, port and object path of an address: the plain prefix gives port 80,
// the secure one 443 and a secure request; a ":port" after the host
// overrides the port. False for any other scheme.
struct Target {
    std::wstring host;
    INTERNET_PORT port = INTERNET_DEFAULT_HTTP_PORT;
    std::wstring path;
    bool secure = false;
};

bool startsWithIgnoringCase(const std::wstring& text, const wchar_t* prefix)
{
    const std::size_t length = std::wcslen(prefix);
    return text.size() >= length && _wcsnicmp(text.c_str(), prefix, length) == 0;
}

bool splitUrl(const std::wstring& url, Target& target)
{
    std::wstring rest;
    if (startsWithIgnoringCase(url, kPlainPrefix)) {
        rest = url.substr(std::wcslen(kPlainPrefix));
    } else if (startsWithIgnoringCase(url, kSecurePrefix)) {
        rest = url.substr(std::wcslen(kSecurePrefix));
        target.secure = true;
        target.port = INTERNET_DEFAULT_HTTPS_PORT;
    } else {
        return false;
    }
    const std::size_t slash = rest.find(L'/');
    target.host = rest.substr(0, slash);
    target.path = slash == std::wstring::npos ? L"/" : rest.substr(slash);
    const std::size_t colon = target.host.rfind(L':');
    if (colon != std::wstring::npos) {
        const std::wstring digits = target.host.substr(colon + 1);
        if (digits.empty() || digits.size() > 5 ||
            !std::all_of(digits.begin(), digits.end(), [](wchar_t c) { return c >= L'0' && c <= L'9'; }))
            return false;
        const unsigned long port = std::wcstoul(digits.c_str(), nullptr, 10);
        if (port == 0 || port > 65535)
            return false;
        target.port = static_cast<INTERNET_PORT>(port);
        target.host.resize(colon);
    }
    return !target.host.empty();
}

// WinINet honours its time-outs on the connect and request handles only, not
// on the session handle.
void limitWaits(HINTERNET handle, unsigned limitMs)
{
    DWORD ms = limitMs;
    for (const int option :
         {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT, INTERNET_OPTION_RECEIVE_TIMEOUT})
        online().setOption(handle, static_cast<DWORD>(option), &ms, sizeof(ms));
}

bool writeWholeFile(const std::wstring& path, const std::vector<char>& body)
{
    const HANDLE file =
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = body.empty() || (WriteFile(file, body.data(), static_cast<DWORD>(body.size()), &written, nullptr) &&
                                     written == body.size());
    CloseHandle(file);
    return ok;
}

// The body of the request into `body`; false on any failure, a status other
// than 2xx, a body over the size limit, a stop or the end of the time limit.
bool readResponse(Job& job, HINTERNET request, ULONGLONG deadline, std::vector<char>& body)
{
    DWORD status = 0;
    DWORD size = sizeof(status);
    if (!online().queryInfo(request, HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status, &size, nullptr) ||
        status < 200 || status >= 300)
        return false;
    DWORD length = 0;
    size = sizeof(length);
    const bool lengthKnown =
        online().queryInfo(request, HTTP_QUERY_CONTENT_LENGTH | HTTP_QUERY_FLAG_NUMBER, &length, &size, nullptr) != 0;
    if (lengthKnown && length > kMaxDownloadBytes)
        return false;
    if (!lengthKnown)
        job.progress(1, 1);
    for (;;) {
        if (job.cancelled() || GetTickCount64() > deadline)
            return false;
        const std::size_t used = body.size();
        body.resize(used + kBlockBytes);
        DWORD read = 0;
        if (!online().readFile(request, body.data() + used, kBlockBytes, &read)) {
            body.resize(used);
            return false;
        }
        body.resize(used + read);
        if (read == 0)
            return true;
        if (static_cast<std::int64_t>(body.size()) > kMaxDownloadBytes)
            return false;
        if (lengthKnown)
            job.progress(length, static_cast<std::int64_t>(body.size()));
    }
}

bool viaWinInet(Job& job)
{
    if (!online().winInet)
        return false;
    Target target;
    if (!splitUrl(job.url, target))
        return false;
    const ULONGLONG deadline = GetTickCount64() + job.limitMs;
    {
        std::lock_guard guard(job.lock);
        if (job.cancelled())
            return false;
        job.session = online().open(job.userAgent.empty() ? kDefaultAgent : job.userAgent.c_str(),
                                    INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
        if (!job.session)
            return false;
    }
    InternetHandle connection(
        online().connect(job.session, target.host.c_str(), target.port, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    std::vector<char> body;
    bool ok = false;
    if (connection.get()) {
        limitWaits(connection.get(), job.limitMs);
        DWORD flags = INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE;
        if (target.secure)
            flags |= INTERNET_FLAG_SECURE;
        InternetHandle request(online().openRequest(connection.get(), L"GET", target.path.c_str(), nullptr,
                                                    job.referrer.empty() ? nullptr : job.referrer.c_str(), nullptr,
                                                    flags, 0));
        if (request.get()) {
            limitWaits(request.get(), job.limitMs);
            ok = online().sendRequest(request.get(), nullptr, 0, nullptr, 0) &&
                 readResponse(job, request.get(), deadline, body);
        }
        std::lock_guard guard(job.lock);
        if (!job.session) {
            request.forget();
            connection.forget();
        }
    }
    {
        std::lock_guard guard(job.lock);
        if (job.session)
            online().closeHandle(job.session);
        job.session = nullptr;
    }
    return ok && !job.cancelled() && writeWholeFile(job.localFile, body);
}

// The whole file as text, one character per byte; false when it cannot be
// read or exceeds the size limit.
bool readAsText(const std::wstring& path, std::u16string& text)
{
    const HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    LARGE_INTEGER size{};
    bool ok = GetFileSizeEx(file, &size) && size.QuadPart <= kMaxDownloadBytes;
    if (ok) {
        std::vector<unsigned char> bytes(static_cast<std::size_t>(size.QuadPart));
        DWORD read = 0;
        ok = bytes.empty() ||
             (ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) && read == bytes.size());
        if (ok)
            text.assign(bytes.begin(), bytes.end());
    }
    CloseHandle(file);
    return ok;
}

void runJob(Job& job)
{
    s::platform::ComScope com;
    bool ok = false;
    wchar_t folder[MAX_PATH + 1] = {};
    wchar_t file[MAX_PATH + 1] = {};
    const DWORD folderLength = GetTempPathW(MAX_PATH + 1, folder);
    if (isConnected() && folderLength > 0 && folderLength <= MAX_PATH && GetTempFileNameW(folder, L"NEW", 0, file)) {
        job.localFile = file;
        ok = job.userAgent.empty() && job.referrer.empty() ? viaUrlMon(job) : viaWinInet(job);
    }
    bool keepFile = false;
    {
        std::lock_guard guard(job.lock);
        if (ok && !job.cancelled()) {
            if (!job.toMemory) {
                job.succeeded = true;
                keepFile = true;
            } else {
                std::u16string text;
                job.succeeded = readAsText(job.localFile, text) && !text.empty();
                if (job.succeeded)
                    job.result = std::move(text);
            }
        }
    }
    if (!keepFile && !job.localFile.empty())
        DeleteFileW(job.localFile.c_str());
    job.stopRequested = false;
    job.running = false;
}

DWORD WINAPI jobThread(void* context)
{
    const std::unique_ptr<std::shared_ptr<Job>> job(static_cast<std::shared_ptr<Job>*>(context));
    runJob(**job);
    return 0;
}

}  // namespace

class Downloader final : public IDownloader {
public:
    Downloader() = default;
    // A download still going on is left behind (see the top of the file).
    ~Downloader() override { stop(false); }
    Downloader(const Downloader&) = delete;
    Downloader& operator=(const Downloader&) = delete;

    void setUrl(std::u16string_view url) override { m_request.url = wideOf(url); }
    void setToMemory(bool on) override { m_request.toMemory = on; }
    void setUserAgent(std::u16string_view agent) override { m_request.userAgent = wideOf(agent); }
    void setReferrer(std::u16string_view referrer) override { m_request.referrer = wideOf(referrer); }

    bool download(unsigned timeoutMs, void* data, void* object, ProgressFunction function) override
    {
        if (!isConnected())
            return false;
        m_request.data = data;
        m_request.object = object;
        m_request.function = function;
        m_request.limitMs = timeoutMs;
        start();
        m_request.limitMs = kDefaultLimitMs;
        const std::shared_ptr<Job> job = m_job;
        if (!job)
            return false;
        for (unsigned waited = 0; job->running && !job->stopRequested && waited < timeoutMs; waited += kWaitStepMs)
            Sleep(std::min(kWaitStepMs, timeoutMs - waited));
        if (job->running && !succeeded())
            stop(true);
        return succeeded();
    }

    void start() override
    {
        if (m_job && m_job->running)
            return;
        auto job = std::make_shared<Job>(m_request);
        job->running = true;
        m_job = job;
        auto* handed = new std::shared_ptr<Job>(job);
        const HANDLE thread = CreateThread(nullptr, 0, jobThread, handed, CREATE_SUSPENDED, nullptr);
        if (!thread) {
            delete handed;
            job->running = false;
            return;
        }
        SetThreadPriority(thread, THREAD_PRIORITY_HIGHEST);
        ResumeThread(thread);
        CloseHandle(thread);
    }

    void stop(bool wait) override
    {
        const std::shared_ptr<Job> job = m_job;
        if (!job || !job->running)
            return;
        job->stopRequested = true;
        {
            // Closing the session ends a WinINet call blocked on the network
            // (it fails with ERROR_INTERNET_OPERATION_CANCELLED).
            std::lock_guard guard(job->lock);
            if (job->session)
                online().closeHandle(job->session);
            job->session = nullptr;
        }
        for (unsigned waited = 0; wait && job->running && waited < kStopGraceMs; waited += kGracePollMs)
            Sleep(kGracePollMs);
        if (job->running) {
            job->abandoned = true;
            m_job.reset();
        }
    }

    bool running() const override { return m_job && m_job->running; }

    bool succeeded() const override
    {
        if (!m_job)
            return false;
        std::lock_guard guard(m_job->lock);
        return m_job->succeeded;
    }
    std::u16string localFile() const override
    {
        if (!m_job || m_job->running)
            return {};
        return std::u16string(reinterpret_cast<const char16_t*>(m_job->localFile.c_str()), m_job->localFile.size());
    }
    std::u16string result() const override
    {
        if (!m_job)
            return {};
        std::lock_guard guard(m_job->lock);
        return m_job->result;
    }

private:
    Request m_request;
    std::shared_ptr<Job> m_job;  // the running or the last download
};

}  // namespace s::system::network::win

namespace s::platform {

namespace {

class WinNetwork final : public INetwork {
public:
    bool connected() override { return s::system::network::win::isConnected(); }
    std::unique_ptr<s::system::network::IDownloader> newDownloader() override
    {
        return std::make_unique<s::system::network::win::Downloader>();
    }
};

}  // namespace

INetwork& network()
{
    static WinNetwork network;
    return network;
}

}  // namespace s::platform
