// The update check over the scripted network, a fixed clock and the
// recording shell: which starts fetch the version answer, which answers ask
// the question, and when the hour count is stored.
#include "app/about/UpdateCheck.h"

#include "base/XmlNode.h"
#include "lang/Localizer.h"
#include "platform/fake/FakeNetwork.h"
#include "platform/fake/FakeShell.h"
#include "settings/MappedData.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace s::app::win {
namespace {

using s::platform::fakeNetwork;
using s::platform::fakeShell;

constexpr std::int64_t kNowHours = 500000;  // 2027-01-14
constexpr char16_t kAnswerAddress[] = u"https://oxle.example/purgo/version/check/";

std::string narrow(std::u16string_view text)
{
    std::string out;
    for (char16_t c : text)
        out += c >= 0x20 && c < 0x7F ? static_cast<char>(c) : '?';
    return out;
}

class FixedClock : public s::platform::ILocalClock {
public:
    explicit FixedClock(std::int64_t seconds) : m_seconds(seconds) {}
    std::int64_t now() const override { return m_seconds; }
    s::platform::LocalDay dayOf(std::int64_t) const override { return {}; }

private:
    std::int64_t m_seconds;
};

// The entries the check reads, with the version text and the update notice
// of the row (nullopt: the entry is missing).
std::string table(std::string_view version, std::optional<std::string_view> notice)
{
    std::string xml = R"(<lang><languages><entry tagName="eng" engName="English" trueName="English"/></languages>
<entries>
<entry id="400210"><eng>There is improved version available.</eng></entry>
<entry id="400230"><eng>Would you like to check it out?</eng></entry>
<entry id="500003"><eng>https://oxle.example/purgo/</eng></entry>
<entry id="500006"><eng>https://oxle.example/purgo/version/</eng></entry>
)";
    xml += "<entry id=\"500010\"><eng>" + std::string(version) + "</eng></entry>\n";
    if (notice)
        xml += "<entry id=\"400200\"><eng>" + std::string(*notice) + "</eng></entry>\n";
    return xml + "</entries></lang>";
}

struct Row {
    const char* name;
    std::optional<std::int32_t> stored;  // hours before now; nullopt: no value
    std::optional<std::string> answer;   // nullopt: the download fails
    UpdateOutcome outcome;
    // What the check leaves: the stored value (nullopt: none), whether it
    // fetched the answer and asked the question.
    std::optional<std::int64_t> storedAfter;
    bool fetched;
    bool asked;
    std::string version = "1.25";
    std::optional<std::string> notice = "There is a newer version available.";
    bool online = true;
    bool yes = false;
};

constexpr std::int64_t kBefore = kNowHours - 720;

const Row kRows[] = {
    {"no count stored: now stored, nothing fetched", std::nullopt, "*1.26", UpdateOutcome::FirstRun, kNowHours, false,
     false},
    {"count 0: as if none were stored", 0, "*1.26", UpdateOutcome::FirstRun, kNowHours, false, false},
    {"719 hours ago: too early, nothing stored", kNowHours - 719, "*1.26", UpdateOutcome::TooEarly, kNowHours - 719,
     false, false},
    {"720 hours ago, answer *1.25: the current version, no question", kBefore, "*1.25", UpdateOutcome::UpToDate,
     kNowHours, true, false},
    {"answer *1.26: the question", kBefore, "*1.26", UpdateOutcome::Declined, kNowHours, true, true},
    {"answer *1.26 and Yes: the software page", kBefore, "*1.26", UpdateOutcome::Accepted, kNowHours, true, true,
     "1.25", "There is a newer version available.", true, true},
    {"answer 1.26 without the asterisk: no answer", kBefore, "1.26", UpdateOutcome::NoAnswer, kNowHours, true, false},
    {"answer *1.2, four characters: no answer", kBefore, "*1.2", UpdateOutcome::NoAnswer, kNowHours, true, false},
    {"an empty answer", kBefore, "", UpdateOutcome::NoAnswer, kNowHours, true, false},
    {"the version among other bytes: up to date", kBefore, std::string("*\0\xff 1.24 1.25\r\n", 15),
     UpdateOutcome::UpToDate, kNowHours, true, false},
    {"binary answer without the version: the question", kBefore, std::string("*\0\xff\x80xyz", 7),
     UpdateOutcome::Declined, kNowHours, true, true},
    {"the search is case-sensitive", kBefore, "*1.2B", UpdateOutcome::Declined, kNowHours, true, true, "1.2b"},
    {"version 1.2.5: no check, nothing stored", kBefore, "*1.26", UpdateOutcome::VersionFormat, kBefore, false, false,
     "1.2.5"},
    {"version without a dot: no check", kBefore, "*1.26", UpdateOutcome::VersionFormat, kBefore, false, false, "125"},
    {"empty update notice: no check at all", std::nullopt, "*1.26", UpdateOutcome::NotOffered, std::nullopt, false,
     false, "1.25", ""},
    {"missing update notice: no check at all", kBefore, "*1.26", UpdateOutcome::NotOffered, kBefore, false, false,
     "1.25", std::nullopt},
    {"offline: nothing fetched, nothing stored", kBefore, "*1.26", UpdateOutcome::Offline, kBefore, false, false,
     "1.25", "There is a newer version available.", false},
    {"a failed download still stores the count", kBefore, std::nullopt, UpdateOutcome::NoAnswer, kNowHours, true,
     false},
    {"a count ahead of the clock starts the wait again", kNowHours + 100, "*1.26", UpdateOutcome::ClockBehind,
     kNowHours, false, false},
};

class UpdateCheckRows : public ::testing::TestWithParam<Row> {
protected:
    void SetUp() override
    {
        fakeNetwork().reset();
        fakeShell().forgetRequests();
    }
    void TearDown() override
    {
        fakeNetwork().reset();
        fakeShell().forgetRequests();
    }
};

TEST_P(UpdateCheckRows, StepsInOrder)
{
    const Row& row = GetParam();
    SCOPED_TRACE(row.name);
    auto root = s::thread::Pool<s::xml::Node>::take();
    const std::string xml = table(row.version, row.notice);
    root->parseUtf8(xml);
    s::lang::Localizer lang;
    lang.load(*root, 10);
    root->release();

    auto store = s::thread::Pooled<s::xml::MappedData>::take();
    if (row.stored)
        store->setS32(kUpdateSection, kUpdateValue, *row.stored);
    fakeNetwork().setConnected(row.online);
    if (row.answer)
        fakeNetwork().setAnswer(kAnswerAddress, *row.answer);

    const FixedClock clock(kNowHours * 3600 + 3599);
    // The first part decides alone exactly the checks that end before the
    // network, with the same outcome, and asks nothing of the network.
    {
        auto local = s::thread::Pooled<s::xml::MappedData>::take();
        if (row.stored)
            local->setS32(kUpdateSection, kUpdateValue, *row.stored);
        const std::optional<UpdateOutcome> early = checkWithoutNetwork(*local, lang, clock);
        EXPECT_EQ(early.has_value(), !row.fetched && row.outcome != UpdateOutcome::Offline);
        EXPECT_TRUE(fakeNetwork().requests().empty());
        if (early) {
            EXPECT_EQ(*early, row.outcome);
            EXPECT_EQ(local->getS32(kUpdateSection, kUpdateValue, -1), row.storedAfter.value_or(-1))
                << "it stores what the whole check stores when it ends there";
        } else {
            EXPECT_EQ(local->getS32(kUpdateSection, kUpdateValue, -1), row.stored.value_or(-1))
                << "before the network nothing is stored";
        }
    }

    std::vector<std::pair<std::u16string, std::u16string>> questions;
    const UpdateCheckServices services{clock, s::platform::network(), s::platform::shell(),
                                       [&](const std::u16string& title, const std::u16string& message) {
                                           questions.emplace_back(title, message);
                                           return row.yes;
                                       }};
    EXPECT_EQ(checkForUpdate(*store, lang, services), row.outcome);

    const bool hasValue = store->getS32(kUpdateSection, kUpdateValue, -1) != -1;
    EXPECT_EQ(hasValue, row.storedAfter.has_value());
    if (row.storedAfter) {
        EXPECT_EQ(store->getS32(kUpdateSection, kUpdateValue, -1), *row.storedAfter);
    }

    const auto requests = fakeNetwork().requests();
    EXPECT_EQ(!requests.empty(), row.fetched);
    for (const auto& url : requests)
        EXPECT_EQ(narrow(url), narrow(kAnswerAddress));
    EXPECT_LE(requests.size(), 1u);

    ASSERT_EQ(questions.size(), row.asked ? 1u : 0u);
    if (row.asked) {
        EXPECT_EQ(narrow(questions[0].first), "There is improved version available.");
        EXPECT_EQ(narrow(questions[0].second),
                  "There is improved version available. ??Would you like to check it out?");
        EXPECT_EQ(questions[0].second.find(u" \r\n"), questions[0].first.size());
    }
    const auto opened = fakeShell().requests();
    ASSERT_EQ(opened.size(), row.outcome == UpdateOutcome::Accepted ? 1u : 0u);
    if (!opened.empty()) {
        EXPECT_EQ(opened[0].kind, s::platform::ShellRequest::Kind::OpenAddress);
        EXPECT_EQ(narrow(opened[0].first), "https://oxle.example/purgo/");
    }
}

INSTANTIATE_TEST_SUITE_P(Table, UpdateCheckRows, ::testing::ValuesIn(kRows));

// The rules the check is made of, at their edges.
TEST(UpdateCheckRules, HourCountsAndVersionForms)
{
    EXPECT_EQ(hourCount(0), 0);
    EXPECT_EQ(hourCount(3599), 0);
    EXPECT_EQ(hourCount(3600), 1);
    EXPECT_EQ(hourCount(1800000000), 500000);

    struct Case {
        const char16_t* version;
        bool checkable;
    };
    for (const Case& c : {Case{u"1.25", true}, Case{u"10.01", true}, Case{u"1.2.55", true}, Case{u"1.2.5", false},
                          Case{u"1.250", false}, Case{u"1.", false}, Case{u"", false}, Case{u"125", false}})
        EXPECT_EQ(hasCheckableVersion(c.version), c.checkable) << narrow(c.version);
}

}  // namespace
}  // namespace s::app::win
