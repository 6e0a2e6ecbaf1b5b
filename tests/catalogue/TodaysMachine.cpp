#include "tests/catalogue/TodaysMachine.h"

#include "catalogue/CatalogueFolders.h"
#include "tests/support/CatalogueMachine.h"

namespace catalogue_test {

namespace {

using s::file::gui::dialogs::purgo::PlatformFolder;

// What one Chromium profile holds: its caches, cookies and history (junk),
// and what the user keeps.
struct ProfileFile {
    const char16_t* path;
    std::size_t bytes;
    bool junk;
};

constexpr ProfileFile kProfileFiles[] = {
    {u"Cache\\Cache_Data\\data_0", 45056, true},
    {u"Cache\\Cache_Data\\f_00a1b2", 310000, true},
    {u"Cache\\Cache_Data\\index-dir\\the-real-index", 2100, true},
    {u"Code Cache\\js\\0a1b2c3d_0", 52000, true},
    {u"Code Cache\\wasm\\index-dir\\the-real-index", 600, true},
    {u"GPUCache\\data_1", 270336, true},
    {u"Service Worker\\CacheStorage\\5f2e\\a1b2\\0123_0", 88000, true},
    {u"Service Worker\\ScriptCache\\9c8d_0", 16000, true},
    {u"DawnWebGPUCache\\data_0", 8192, true},
    {u"DawnGraphiteCache\\data_0", 8192, true},
    {u"Network\\Cookies", 20480, true},
    {u"Network\\Cookies-journal", 512, true},
    {u"History", 163840, true},
    {u"History-journal", 4096, true},
    {u"Visited Links", 131072, true},
    {u"Top Sites", 20480, true},
    {u"Top Sites-journal", 512, true},
    {u"Shortcuts", 28672, true},
    {u"Sessions\\Session_13370000000000000", 6000, true},
    {u"Sessions\\Tabs_13370000000000000", 3000, true},
    {u"Bookmarks", 7000, false},
    {u"Login Data", 40960, false},
    {u"Login Data-journal", 512, false},
    {u"Preferences", 9000, false},
    {u"Secure Preferences", 5000, false},
    {u"Web Data", 90000, false},
    {u"Favicons", 20480, false},
    {u"Extensions\\abcdefghijklmnop\\1.0_0\\manifest.json", 700, false},
    {u"Local Storage\\leveldb\\000003.log", 4000, false},
};

// What a User Data folder holds besides its profiles.
constexpr ProfileFile kUserDataFiles[] = {
    {u"ShaderCache\\data_0", 24000, true},
    {u"GrShaderCache\\data_1", 36000, true},
    {u"GraphiteDawnCache\\data_0", 12000, true},
    {u"Crashpad\\reports\\5e6f7a8b.dmp", 140000, true},
    {u"Local State", 30000, false},
    {u"Crashpad\\settings.dat", 40, false},
};

struct Chromium {
    PlatformFolder root;
    const char16_t* userData;
    const char16_t* profiles[2];
};

constexpr Chromium kChromiums[] = {
    {PlatformFolder::LocalAppData, u"\\Google\\Chrome\\User Data", {u"Default", u"Profile 1"}},
    {PlatformFolder::LocalAppData, u"\\Google\\Chrome Beta\\User Data", {u"Default", u"Guest Profile"}},
    {PlatformFolder::LocalAppData, u"\\Microsoft\\Edge\\User Data", {u"Default", u"Profile 2"}},
    {PlatformFolder::LocalAppData, u"\\BraveSoftware\\Brave-Browser\\User Data", {u"Default", u"Profile 1"}},
    {PlatformFolder::LocalAppData, u"\\Vivaldi\\User Data", {u"Default", u"Profile 3"}},
    {PlatformFolder::LocalAppData, u"\\Chromium\\User Data", {u"Default", u"Work"}},
};

std::u16string folder(PlatformFolder which)
{
    return s::file::gui::dialogs::purgo::platformFolder(which).toU16String();
}

}  // namespace

bool TodaysMachine::layOut()
{
    const std::u16string local = folder(PlatformFolder::LocalAppData);
    const std::u16string roaming = folder(PlatformFolder::AppData);
    const std::u16string common = folder(PlatformFolder::CommonAppData);
    const std::u16string windows = folder(PlatformFolder::Windows);
    if (local.empty() || roaming.empty() || common.empty() || windows.empty())
        return false;

    for (const Chromium& browser : kChromiums) {
        const std::u16string userData = folder(browser.root) + browser.userData;
        root(userData);
        for (const ProfileFile& file : kUserDataFiles)
            add(userData + u"\\" + file.path, file.bytes, file.junk);
        for (const char16_t* profile : browser.profiles)
            for (const ProfileFile& file : kProfileFiles)
                add(userData + u"\\" + profile + u"\\" + file.path, file.bytes, file.junk);
    }
    // The first catalogue's Chrome rows: the cache's files of the old
    // layout and the old cookie file, in the stable channel's Default.
    const std::u16string chromeDefault = local + u"\\Google\\Chrome\\User Data\\Default";
    add(chromeDefault + u"\\Cache\\data_3", 4194304, true);
    add(chromeDefault + u"\\Cookies", 16384, true);

    // Opera and Opera GX: the profile folder is the profile, Roaming; the
    // caches are in its Local twin. Opera has a second profile among its
    // side profiles.
    for (const char16_t* name : {u"\\Opera Software\\Opera Stable", u"\\Opera Software\\Opera GX Stable"}) {
        const std::u16string userData = roaming + name;
        const std::u16string twin = local + name;
        root(userData);
        root(twin);
        std::vector<std::u16string> profiles{u""};
        if (std::u16string_view(name).ends_with(u"Opera Stable"))
            profiles.push_back(u"\\_side_profiles\\8d1c9a0e");
        for (const std::u16string& profile : profiles) {
            for (const ProfileFile& file : kProfileFiles) {
                const std::u16string_view path = file.path;
                const bool cache = path.starts_with(u"Cache") || path.starts_with(u"Code Cache") ||
                                   path.starts_with(u"GPUCache") || path.starts_with(u"Dawn");
                add((cache ? twin : userData) + profile + u"\\" + file.path, file.bytes, file.junk);
            }
        }
        for (const ProfileFile& file : kUserDataFiles)
            add(userData + u"\\" + file.path, file.bytes, file.junk);
    }

    // Firefox: two profiles, the second listed second; the caches live
    // below the local profile folders.
    const std::u16string firefox = roaming + u"\\Mozilla\\Firefox";
    const std::u16string firefoxLocal = local + u"\\Mozilla\\Firefox";
    root(firefox);
    root(firefoxLocal);
    m_ok = m_ok && writeIniFile(firefox + u"\\profiles.ini",
                                "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\n"
                                "Path=Profiles/abcd1234.default-release\r\n\r\n"
                                "[Profile1]\r\nName=work\r\nIsRelative=1\r\nPath=Profiles/efgh5678.work\r\n");
    for (const char16_t* profile : {u"\\Profiles\\abcd1234.default-release", u"\\Profiles\\efgh5678.work"}) {
        const std::u16string cacheRoot = firefoxLocal + profile;
        add(cacheRoot + u"\\cache2\\entries\\0A1B2C3D4E5F", 2400000, true);
        add(cacheRoot + u"\\cache2\\index", 40000, true);
        add(cacheRoot + u"\\startupCache\\startupCache.8.little", 9000000, true);
        add(cacheRoot + u"\\thumbnails\\0a1b2c.png", 30000, true);
        add(cacheRoot + u"\\jumpListCache\\x1y2z3.ico", 4000, true);
        add(cacheRoot + u"\\shader-cache\\0\\abc", 60000, true);
        const std::u16string data = firefox + profile;
        for (const char16_t* keeper : {u"\\key4.db", u"\\logins.json", u"\\places.sqlite", u"\\prefs.js",
                                       u"\\bookmarkbackups\\bookmarks.jsonlz4"})
            add(data + keeper, 50000, false);
    }

    // Windows' own places.
    const std::u16string service =
        windows + u"\\ServiceProfiles\\NetworkService\\AppData\\Local\\Microsoft\\Windows\\DeliveryOptimization";
    for (const std::u16string& path :
         {local + u"\\CrashDumps", local + u"\\Microsoft\\Windows\\WER", common + u"\\Microsoft\\Windows\\WER",
          local + u"\\Microsoft\\Windows\\Explorer", local + u"\\D3DSCache", windows + u"\\LiveKernelReports",
          windows + u"\\Minidump", windows + u"\\ServiceProfiles", windows + u"\\SoftwareDistribution",
          windows + u"\\Logs"})
        root(path);
    const MachineItem windowsItems[] = {
        {local + u"\\CrashDumps\\explorer.exe.4312.dmp", 600000, true},
        {local + u"\\Microsoft\\Windows\\WER\\ReportArchive\\AppCrash_x_1\\Report.wer", 12000, true},
        {local + u"\\Microsoft\\Windows\\WER\\ReportQueue\\AppHang_y_2\\memory.hdmp", 800000, true},
        {local + u"\\Microsoft\\Windows\\WER\\Temp\\WER1234.tmp.xml", 3000, true},
        {common + u"\\Microsoft\\Windows\\WER\\ReportArchive\\Kernel_z_3\\Report.wer", 9000, true},
        {common + u"\\Microsoft\\Windows\\WER\\ReportQueue\\Critical_w_4\\Report.wer", 7000, true},
        {common + u"\\Microsoft\\Windows\\WER\\Temp\\WERabc.tmp", 2000, true},
        {local + u"\\Microsoft\\Windows\\Explorer\\thumbcache_256.db", 5242880, true},
        {local + u"\\Microsoft\\Windows\\Explorer\\thumbcache_idx.db", 20000, true},
        {local + u"\\Microsoft\\Windows\\Explorer\\iconcache_32.db", 1048576, true},
        {local + u"\\Microsoft\\Windows\\Explorer\\ExplorerStartupLog.etl", 8000, false},
        {local + u"\\D3DSCache\\0a1b2c3d\\ab12.idx", 700000, true},
        {windows + u"\\LiveKernelReports\\WATCHDOG\\WATCHDOG-20261201-1200.dmp", 3000000, true},
        {windows + u"\\Minidump\\120126-7000-01.dmp", 500000, true},
        {service + u"\\Cache\\0a1b2c3d4e\\content", 8000000, true},
        {service + u"\\Logs\\dosvc.1.etl", 100000, true},
        {windows + u"\\SoftwareDistribution\\Download\\0a1b\\update.cab", 6000000, true},
        {windows + u"\\SoftwareDistribution\\DataStore\\Logs\\edb.log", 1048576, true},
        {windows + u"\\SoftwareDistribution\\DataStore\\Logs\\edb.chk", 8192, false},
        {windows + u"\\SoftwareDistribution\\DataStore\\DataStore.edb", 9000000, false},
        {windows + u"\\Logs\\WindowsUpdate\\WindowsUpdate.20261201.1.etl", 70000, true},
        {windows + u"\\Logs\\CBS\\CBS.log", 900000, true},
        {windows + u"\\Logs\\CBS\\CbsPersist_20261201.cab", 2000000, true},
        {windows + u"\\Logs\\DISM\\dism.log", 300000, true},
    };
    for (const MachineItem& item : windowsItems)
        add(item.path, item.bytes, item.junk);
    return m_ok;
}

TodaysMachine::~TodaysMachine()
{
    for (auto it = m_roots.rbegin(); it != m_roots.rend(); ++it)
        removePath(*it);
}

void TodaysMachine::root(const std::u16string& path)
{
    m_ok = makeFolder(path) && m_ok;
    m_roots.push_back(path);
}

void TodaysMachine::add(const std::u16string& path, std::size_t bytes, bool junk)
{
    m_ok = makeFile(path, bytes) && m_ok;
    m_items.push_back({path, bytes, junk});
}

std::size_t TodaysMachine::junkBytes() const
{
    std::size_t sum = 0;
    for (const MachineItem& item : m_items)
        sum += item.junk ? item.bytes : 0;
    return sum;
}

}  // namespace catalogue_test
