#include "platform/ShellLinks.h"

#include "platform/win32/ComScope.h"

#include <windows.h>

#include <objidl.h>
#include <shlobj.h>

namespace s::platform {

namespace {

const wchar_t* wide(const char16_t* text)
{
    return reinterpret_cast<const wchar_t*>(text);
}

// The shell link object and its file face, released when they go.
class Link {
public:
    HRESULT create()
    {
        HRESULT result = CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                          reinterpret_cast<void**>(&m_link));
        if (FAILED(result))
            return result;
        return m_link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&m_file));
    }
    ~Link()
    {
        if (m_file)
            m_file->Release();
        if (m_link)
            m_link->Release();
    }
    Link() = default;
    Link(const Link&) = delete;
    Link& operator=(const Link&) = delete;

    IShellLinkW* link() const { return m_link; }
    IPersistFile* file() const { return m_file; }

private:
    IShellLinkW* m_link = nullptr;
    IPersistFile* m_file = nullptr;
};

class ShellLinksWin final : public IShellLinks {
public:
    HResult createShortcut(const char16_t* linkPath, const char16_t* target, const char16_t* arguments) override
    {
        if (!linkPath || !target)
            return kEInvalidArg;
        ComScope com;
        Link link;
        HRESULT result = link.create();
        if (FAILED(result))
            return result;
        if (FAILED(result = link.link()->SetPath(wide(target))))
            return result;
        if (arguments && FAILED(result = link.link()->SetArguments(wide(arguments))))
            return result;
        return link.file()->Save(wide(linkPath), TRUE);
    }

    HResult readShortcut(const char16_t* linkPath, std::u16string& target, std::u16string& arguments) override
    {
        if (!linkPath)
            return kEInvalidArg;
        ComScope com;
        Link link;
        HRESULT result = link.create();
        if (FAILED(result))
            return result;
        if (FAILED(result = link.file()->Load(wide(linkPath), STGM_READ)))
            return result;
        wchar_t path[MAX_PATH + 1] = {};
        if (FAILED(result = link.link()->GetPath(path, MAX_PATH + 1, nullptr, SLGP_RAWPATH)))
            return result;
        wchar_t args[INFOTIPSIZE + 1] = {};
        if (FAILED(result = link.link()->GetArguments(args, INFOTIPSIZE + 1)))
            return result;
        target.assign(reinterpret_cast<const char16_t*>(path));
        arguments.assign(reinterpret_cast<const char16_t*>(args));
        return kSOk;
    }
};

}  // namespace

IShellLinks& shellLinks()
{
    static ShellLinksWin instance;
    return instance;
}

}  // namespace s::platform
