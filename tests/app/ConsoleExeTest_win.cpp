// The real purgoc.exe under Wine, started as a script starts it: standard
// output and standard error are pipes, the exit status is the process's.
// The CTest fixture purgoc_copy puts the program at C:\purgo-test-console\.
#include "app/console/ConsoleProgram.h"
#include "catalogue/Catalogue.h"

#include "settings/MappedData.h"
#include "tests/support/Json.h"
#include "tests/support/Sandbox.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <thread>
#include <vector>

namespace {

using s::platform::testing::narrow;
using s::platform::testing::Sandbox;
using s::testing::JsonValue;

constexpr wchar_t kProgram[] = L"C:\\purgo-test-console\\purgoc.exe";

struct Finished {
    DWORD status = 0xFFFFFFFF;
    std::string out;
    std::string err;
};

void drain(HANDLE pipe, std::string& into)
{
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(pipe, buffer, sizeof buffer, &read, nullptr) && read > 0)
        into.append(buffer, read);
}

Finished start(const std::wstring& arguments)
{
    Finished run;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE outRead = nullptr;
    HANDLE outWrite = nullptr;
    HANDLE errRead = nullptr;
    HANDLE errWrite = nullptr;
    if (!CreatePipe(&outRead, &outWrite, &inherit, 0) || !CreatePipe(&errRead, &errWrite, &inherit, 0)) {
        ADD_FAILURE() << "CreatePipe " << GetLastError();
        return run;
    }
    SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(errRead, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = outWrite;
    startup.hStdError = errWrite;
    std::wstring command = std::wstring(L"\"") + kProgram + L"\" " + arguments;
    PROCESS_INFORMATION process{};
    const BOOL started = CreateProcessW(kProgram, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                                        nullptr, &startup, &process);
    CloseHandle(outWrite);
    CloseHandle(errWrite);
    if (!started) {
        ADD_FAILURE() << "the CTest fixture copies purgoc.exe first (" << GetLastError() << ")";
        CloseHandle(outRead);
        CloseHandle(errRead);
        return run;
    }
    // Both pipes at once: a full one would stop the program.
    std::thread errors([&] { drain(errRead, run.err); });
    drain(outRead, run.out);
    errors.join();
    WaitForSingleObject(process.hProcess, INFINITE);
    GetExitCodeProcess(process.hProcess, &run.status);
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    CloseHandle(outRead);
    CloseHandle(errRead);
    return run;
}

std::wstring wide(std::u16string_view text)
{
    return std::wstring(text.begin(), text.end());
}

TEST(ConsoleExe, ExitStatusAndStreamsReachTheCaller)
{
    Sandbox box;
    ASSERT_TRUE(box.ok()) << box.failure();
    const std::u16string settings = box.path(u"SaveData.xml");
    {
        auto store = s::xml::openFileStore(settings);
        store->setString(u"Language", u"", u"English");
        ASSERT_TRUE(store->save());
    }
    const std::wstring options = L" --settings \"" + wide(settings) + L"\" --lang English";

    const Finished version = start(L"--version");
    EXPECT_EQ(version.status, 0u);
    EXPECT_EQ(version.out, "Oxle Purgo 1.25\n");
    EXPECT_EQ(version.err, "");

    const Finished help = start(L"help");
    EXPECT_EQ(help.status, 0u);
    EXPECT_EQ(help.out.rfind("usage: purgoc list [--rules]\n", 0), 0u) << help.out;

    const Finished wrong = start(L"list --foo");
    EXPECT_EQ(wrong.status, 2u);
    EXPECT_EQ(wrong.out, "");
    EXPECT_EQ(wrong.err.rfind("purgoc: unknown option --foo\nusage: ", 0), 0u) << wrong.err;

    const Finished unknown = start(L"check NoSuchGroup on" + options);
    EXPECT_EQ(unknown.status, 1u);
    EXPECT_EQ(unknown.err, "purgoc: no group named NoSuchGroup; `purgoc list` shows them\n");

    const Finished missing = start(L"clean --settings \"" + wide(box.path(u"none.xml")) + L"\"");
    EXPECT_EQ(missing.status, 1u);
    EXPECT_EQ(missing.err,
              "purgoc: there is no settings file " + narrow(box.path(u"none.xml")) + " (`purgoc check` creates one)\n");

    // A pipe is no console: the progress comes as plain lines, the result
    // alone on standard output.
    const Finished preview = start(L"preview --json" + options);
    EXPECT_EQ(preview.status, 0u) << preview.err.substr(0, 300);
    std::string error;
    const std::optional<JsonValue> result = JsonValue::parse(preview.out, &error);
    ASSERT_TRUE(result.has_value()) << error << "\n" << preview.out.substr(0, 300);
    EXPECT_EQ((*result)["command"].string(), "preview");
    EXPECT_EQ(preview.err.find('\r'), std::string::npos);
    int lines = 0;
    for (std::size_t at = 0, end; (end = preview.err.find('\n', at)) != std::string::npos; at = end + 1) {
        ++lines;
        EXPECT_EQ(preview.err.substr(at, end - at)
                      .rfind("measuring " + std::to_string(lines) + "/" +
                                 std::to_string(s::file::gui::dialogs::purgo::kCatalogueGroupCount) + ": ",
                             0),
                  0u)
            << preview.err.substr(at, end - at);
    }
    EXPECT_EQ(lines, s::file::gui::dialogs::purgo::kCatalogueGroupCount);

    // The settings file cut short: status 1 and nothing done, unless forced.
    HANDLE file = CreateFileW(wide(settings).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const char cut[] = "<savedata><Language>English</Language><items><Custom1 x=\"1\"";
    DWORD written = 0;
    WriteFile(file, cut, sizeof cut - 1, &written, nullptr);
    CloseHandle(file);
    const Finished damaged = start(L"clean" + options);
    EXPECT_EQ(damaged.status, 1u);
    EXPECT_EQ(damaged.out, "");
    EXPECT_EQ(damaged.err.rfind("purgoc: the settings file " + narrow(settings) +
                                    " is damaged (line 1), so its "
                                    "selection may not be yours: nothing was cleaned.",
                                0),
              0u)
        << damaged.err;
    const Finished forced = start(L"list --force-defaults" + options);
    EXPECT_EQ(forced.status, 0u);
    EXPECT_NE(forced.err.find("is damaged (line 1); this is what could be read of it"), std::string::npos)
        << forced.err;
}

}  // namespace
