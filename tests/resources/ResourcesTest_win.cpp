// The program's resources as Windows sees them in a linked executable.
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

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

}  // namespace
