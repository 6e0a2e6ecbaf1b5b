// The icons of a target list's rows, by their locations ("file,index"),
// loaded once at the list's size and destroyed with the cache. A location
// without an icon caches its null answer, so that it is not asked again.
// Any thread may ask: a worker can load the icons of rows to come while the
// window thread paints.
#pragma once

#include "gui/TextControl_win.h"

#include <windows.h>

#include <cwchar>
#include <map>
#include <mutex>
#include <string>
#include <string_view>

namespace s::app::win {

class RowIcons {
public:
    explicit RowIcons(int size) : m_size(size) {}
    ~RowIcons()
    {
        for (auto& [key, icon] : m_icons)
            if (icon)
                DestroyIcon(icon);
    }
    RowIcons(const RowIcons&) = delete;
    RowIcons& operator=(const RowIcons&) = delete;

    HICON get(std::u16string_view key)
    {
        if (key.empty())
            return nullptr;
        const std::lock_guard hold(m_lock);
        auto found = m_icons.find(std::u16string(key));
        if (found != m_icons.end())
            return found->second;
        HICON icon = nullptr;
        const std::size_t comma = key.find_last_of(u',');
        if (comma != std::u16string_view::npos) {
            const std::wstring file = s::gui::toWide(key.substr(0, comma));
            const int index = std::wcstol(s::gui::toWide(key.substr(comma + 1)).c_str(), nullptr, 10);
            UINT id = 0;
            if (PrivateExtractIconsW(file.c_str(), index, m_size, m_size, &icon, &id, 1, 0) != 1)
                icon = nullptr;
        }
        m_icons.emplace(std::u16string(key), icon);
        return icon;
    }

private:
    std::mutex m_lock;
    int m_size;
    std::map<std::u16string, HICON> m_icons;
};

}  // namespace s::app::win
