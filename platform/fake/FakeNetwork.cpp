#include "platform/fake/FakeNetwork.h"

#include <map>
#include <mutex>

namespace s::platform {

namespace {

using s::system::network::IDownloader;
using s::system::network::ProgressFunction;

class ScriptedNetwork final : public FakeNetwork {
public:
    void reset() override
    {
        std::lock_guard guard(m_lock);
        m_connected = true;
        m_answers.clear();
        m_requests.clear();
    }
    void setConnected(bool connected) override
    {
        std::lock_guard guard(m_lock);
        m_connected = connected;
    }
    void setAnswer(std::u16string_view url, std::string body) override
    {
        std::lock_guard guard(m_lock);
        m_answers[std::u16string(url)] = std::move(body);
    }
    std::vector<std::u16string> requests() override
    {
        std::lock_guard guard(m_lock);
        return m_requests;
    }
    bool connected() override
    {
        std::lock_guard guard(m_lock);
        return m_connected;
    }
    std::unique_ptr<IDownloader> newDownloader() override;

    // The body for url, or false when the fetch fails.
    bool fetch(const std::u16string& url, std::string& body)
    {
        std::lock_guard guard(m_lock);
        if (!m_connected)
            return false;
        m_requests.push_back(url);
        const auto found = m_answers.find(url);
        if (found == m_answers.end())
            return false;
        body = found->second;
        return true;
    }

private:
    std::mutex m_lock;
    bool m_connected = true;
    std::map<std::u16string, std::string> m_answers;
    std::vector<std::u16string> m_requests;
};

ScriptedNetwork& scripted()
{
    static ScriptedNetwork network;
    return network;
}

// Runs the download at once on the caller's thread: the fake has no latency
// to wait for, so the time limit never comes into play.
class FakeDownloader final : public IDownloader {
public:
    void setUrl(std::u16string_view url) override { m_url = url; }
    void setToMemory(bool on) override { m_toMemory = on; }
    void setUserAgent(std::u16string_view) override {}
    void setReferrer(std::u16string_view) override {}

    bool download(unsigned, void* data, void* object, ProgressFunction function) override
    {
        if (!scripted().connected())
            return false;
        m_data = data;
        m_object = object;
        m_function = function;
        start();
        return m_succeeded;
    }
    void start() override
    {
        m_succeeded = false;
        m_result.clear();
        std::string body;
        if (!scripted().fetch(m_url, body) ||
            static_cast<std::int64_t>(body.size()) > s::system::network::kMaxDownloadBytes)
            return;
        if (m_function)
            m_function(m_object, static_cast<std::int64_t>(body.size()), static_cast<std::int64_t>(body.size()),
                       m_data);
        if (!m_toMemory) {
            m_succeeded = true;
            return;
        }
        for (const char byte : body)
            m_result.push_back(static_cast<char16_t>(static_cast<unsigned char>(byte)));
        m_succeeded = !m_result.empty();
    }
    void stop(bool) override {}
    bool running() const override { return false; }
    bool succeeded() const override { return m_succeeded; }
    std::u16string localFile() const override { return {}; }
    std::u16string result() const override { return m_result; }

private:
    std::u16string m_url;
    bool m_toMemory = false;
    bool m_succeeded = false;
    std::u16string m_result;
    void* m_data = nullptr;
    void* m_object = nullptr;
    ProgressFunction m_function = nullptr;
};

std::unique_ptr<IDownloader> ScriptedNetwork::newDownloader()
{
    return std::make_unique<FakeDownloader>();
}

}  // namespace

INetwork& network()
{
    return scripted();
}

FakeNetwork& fakeNetwork()
{
    return scripted();
}

}  // namespace s::platform
