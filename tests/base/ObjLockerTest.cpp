#include "base/ObjLocker.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

namespace {

std::string g_freedBy;

class Owned : public s::base::IObject {
public:
    ~Owned() override
    {
        if (g_freedBy.empty())
            g_freedBy = "delete";
    }
    const char* className() const override { return "s_test_Owned"; }
    s::base::IObject* newInstance() const override { return new Owned(); }
};

void freeFunction(s::base::IObject* object)
{
    g_freedBy = "free function";
    delete object;
}

class RecordingDestructor : public s::base::IDestructor {
public:
    void dispose(void*& object) override
    {
        g_freedBy = "destructor";
        delete static_cast<s::base::IObject*>(object);
        object = nullptr;
    }
};

struct DisposalCase {
    const char* name;
    bool withFreeFunction;
    bool withDestructor;
    const char* expected;
};

TEST(ObjLocker, FreesOwnedObjectByFreeFunctionThenDestructorThenDelete)
{
    const DisposalCase cases[] = {
        {"both set", true, true, "free function"},
        {"free function only", true, false, "free function"},
        {"destructor only", false, true, "destructor"},
        {"neither", false, false, "delete"},
    };
    RecordingDestructor destructor;
    for (const auto& c : cases) {
        g_freedBy.clear();
        {
            s::thread::ObjLocker locker(new Owned(), c.withFreeFunction ? &freeFunction : nullptr,
                                        c.withDestructor ? &destructor : nullptr);
        }
        EXPECT_EQ(g_freedBy, c.expected) << "case: " << c.name;
    }
}

TEST(ObjLocker, WithoutObjectFreesNothing)
{
    g_freedBy.clear();
    {
        s::thread::ObjLocker locker;
        EXPECT_EQ(locker.object(), nullptr);
    }
    EXPECT_TRUE(g_freedBy.empty());
}

TEST(ObjLocker, IsRecursiveForTheOwnerAndExcludesOthers)
{
    s::thread::ObjLocker locker;
    locker.enter();
    ASSERT_TRUE(locker.tryEnter()) << "the owning thread enters again";
    bool otherGotIn = true;
    std::thread other([&] {
        otherGotIn = locker.tryEnter();
        if (otherGotIn)
            locker.leave();
    });
    other.join();
    EXPECT_FALSE(otherGotIn);
    locker.leave();
    locker.leave();

    std::thread after([&] {
        otherGotIn = locker.tryEnter();
        if (otherGotIn)
            locker.leave();
    });
    after.join();
    EXPECT_TRUE(otherGotIn) << "free once every enter has its leave";
}

}  // namespace
