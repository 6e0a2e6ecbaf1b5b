// The program's resources as Windows sees them in a linked executable.
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

std::string manifestText()
{
    HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    if (!found)
        return {};
    HGLOBAL loaded = LoadResource(nullptr, found);
    const void* data = loaded ? LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return std::string(static_cast<const char*>(data), SizeofResource(nullptr, found));
}

TEST(Resources, ManifestAsksForAdministratorDpiAwarenessAndCommonControls6)
{
    const std::string manifest = manifestText();
    ASSERT_FALSE(manifest.empty());
    const char* required[] = {
        "level=\"requireAdministrator\"",
        "<dpiAware>True/PM</dpiAware>",
        "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
    };
    for (const char* text : required)
        EXPECT_NE(manifest.find(text), std::string::npos) << "missing: " << text;
}

TEST(Resources, CarriesTheLanguageTableAndTheSkinSet)
{
    struct Case {
        int id;
        const char* root;
    };
    for (const Case& c : {Case{130, "<lang>"}, Case{150, "<SkinSetXml>"}}) {
        HRSRC found = FindResourceW(nullptr, MAKEINTRESOURCEW(c.id), L"IDR_XML");
        ASSERT_NE(found, nullptr) << "IDR_XML " << c.id;
        const auto* bytes = static_cast<const char*>(LockResource(LoadResource(nullptr, found)));
        const std::string head(bytes, std::min<DWORD>(SizeofResource(nullptr, found), 64));
        EXPECT_EQ(head.rfind(c.root, 0), 0u) << "IDR_XML " << c.id << " starts with " << head;
    }
}

TEST(Resources, ApplicationIconLoadsAtEverySize)
{
    for (int size : {16, 32, 48}) {
        HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APPLICATION_ICON), IMAGE_ICON, size,
                                 size, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << "size " << size;
        if (icon)
            DestroyIcon(static_cast<HICON>(icon));
    }
}

BOOL CALLBACK collectIconGroup(HMODULE, LPCWSTR, LPWSTR name, LONG_PTR list)
{
    if (IS_INTRESOURCE(name))
        reinterpret_cast<std::vector<int>*>(list)->push_back(static_cast<int>(reinterpret_cast<ULONG_PTR>(name)));
    else
        reinterpret_cast<std::vector<int>*>(list)->push_back(-1);
    return TRUE;
}

// An icon location "<exe>,N" counts the icon groups in resource order: the
// application icon is 0, the catalogue's own icons 1 to 23.
TEST(Resources, OwnIconsFollowTheApplicationIconInOrder)
{
    std::vector<int> groups;
    EnumResourceNamesW(nullptr, RT_GROUP_ICON, collectIconGroup, reinterpret_cast<LONG_PTR>(&groups));
    std::vector<int> expected = {IDI_APPLICATION_ICON};
    for (int n = 0; n < IDI_OWN_ICON_COUNT; ++n)
        expected.push_back(IDI_OWN_ICON_FIRST + n);
    EXPECT_EQ(groups, expected);
    for (int id : expected) {
        HANDLE icon = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_ICON, 32, 32, LR_DEFAULTCOLOR);
        EXPECT_NE(icon, nullptr) << "icon " << id;
        if (icon)
            DestroyIcon(static_cast<HICON>(icon));
    }
}

}  // namespace
