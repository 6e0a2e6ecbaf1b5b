#include "platform/fake/FakeShell.h"

#include <mutex>

namespace s::platform {

namespace {

class FakeShellImpl final : public FakeShell {
public:
    bool openFolder(std::u16string_view folder, std::uint32_t* process) override
    {
        record({ShellRequest::Kind::OpenFolder, std::u16string(folder), {}, SelectValue::No});
        if (process)
            *process = 0;
        return true;
    }

    bool openAddress(std::u16string_view address) override
    {
        record({ShellRequest::Kind::OpenAddress, std::u16string(address), {}, SelectValue::No});
        return true;
    }

    bool startProgram(std::u16string_view program, std::u16string_view arguments, std::uint32_t* process) override
    {
        record({ShellRequest::Kind::StartProgram, std::u16string(program), std::u16string(arguments), SelectValue::No});
        if (process)
            *process = 0;
        return true;
    }

    bool showInRegistryEditor(std::u16string_view keyPath, SelectValue select, std::u16string_view valueName,
                              std::uint32_t* process) override
    {
        if (process)
            *process = 0;
        std::lock_guard lock(m_mutex);
        if (!m_editorAvailable)
            return false;
        m_requests.push_back(
            {ShellRequest::Kind::RegistryEditor, std::u16string(keyPath), std::u16string(valueName), select});
        return true;
    }

    void showMessage(std::u16string_view caption, std::u16string_view text) override
    {
        record({ShellRequest::Kind::Message, std::u16string(caption), std::u16string(text), SelectValue::No});
    }

    std::vector<ShellRequest> requests() override
    {
        std::lock_guard lock(m_mutex);
        return m_requests;
    }

    void forgetRequests() override
    {
        std::lock_guard lock(m_mutex);
        m_requests.clear();
    }

    void setRegistryEditorAvailable(bool available) override
    {
        std::lock_guard lock(m_mutex);
        m_editorAvailable = available;
    }

private:
    void record(ShellRequest request)
    {
        std::lock_guard lock(m_mutex);
        m_requests.push_back(std::move(request));
    }

    std::mutex m_mutex;
    std::vector<ShellRequest> m_requests;
    bool m_editorAvailable = true;
};

}  // namespace

FakeShell& fakeShell()
{
    static FakeShellImpl instance;
    return instance;
}

IShell& shell()
{
    return fakeShell();
}

}  // namespace s::platform
