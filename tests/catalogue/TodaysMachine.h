// A machine laid out as a Windows 10/11 machine of today, on the fakes
// natively and in the Wine prefix: Chrome (and its Beta), Edge, Brave,
// Vivaldi and Chromium with two profiles each, Opera and Opera GX with their
// Roaming profiles and Local caches, Firefox with two profiles of
// profiles.ini, and Windows' own crash dumps, error reports, thumbnail,
// shader and delivery caches and update logs. Each file is junk (a cache,
// cookie, history, dump, report or log a clean should take) or a keeper (the
// bookmarks, passwords, preferences and extensions of each profile, the
// update agent's database). The folders it made go with it.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace catalogue_test {

struct MachineItem {
    std::u16string path;
    std::size_t bytes;
    bool junk;
};

class TodaysMachine {
public:
    TodaysMachine() = default;
    ~TodaysMachine();
    TodaysMachine(const TodaysMachine&) = delete;
    TodaysMachine& operator=(const TodaysMachine&) = delete;

    // Makes every folder and file; false when one could not be made.
    bool layOut();

    const std::vector<MachineItem>& items() const { return m_items; }
    std::size_t junkBytes() const;

private:
    void root(const std::u16string& path);
    void add(const std::u16string& path, std::size_t bytes, bool junk);

    bool m_ok = true;
    std::vector<MachineItem> m_items;
    std::vector<std::u16string> m_roots;
};

}  // namespace catalogue_test
