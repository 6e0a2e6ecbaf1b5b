#include "tests/support/ShellSandbox.h"

namespace s::platform::testing {

std::u16string ShellSandbox::normalUrl(std::u16string_view name) const
{
    return u"http://oxlepurgo-" + m_tag + u".invalid/" + std::u16string(name);
}

std::u16string ShellSandbox::cookieUrl(std::u16string_view name) const
{
    return u"Cookie:tester@" + std::u16string(name) + u".oxlepurgo-" + m_tag + u".invalid/";
}

std::u16string ShellSandbox::historyUrl(std::u16string_view name) const
{
    return u"Visited: tester@http://oxlepurgo-" + m_tag + u".invalid/" + std::u16string(name);
}

bool ShellSandbox::ours(std::u16string_view sourceUrl) const
{
    return sourceUrl.find(u"oxlepurgo-" + m_tag + u".invalid") != std::u16string_view::npos;
}

}  // namespace s::platform::testing
