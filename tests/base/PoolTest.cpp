#include "base/Pool.h"
#include "base/Cleaners.h"
#include "base/EasyPooler.h"
#include "base/PoolerBase.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace {

// An object that counts its constructions, resets and destructions so a test
// can tell "reused" from "created" and "kept" from "destroyed".
struct Counts {
    std::atomic<int> created{0};
    std::atomic<int> reset{0};
    std::atomic<int> destroyed{0};
};

struct Probe {
    explicit Probe(Counts& shared) : counts(shared) { ++counts.created; }
    ~Probe() { ++counts.destroyed; }
    Counts& counts;
    int value = 0;
};

// EasyPooler takes plain functions; a test-local pool uses this global slot.
Counts* g_counts = nullptr;

void* createProbe()
{
    return new Probe(*g_counts);
}
void disposeProbe(void* p)
{
    delete static_cast<Probe*>(p);
}
void resetProbe(void* p)
{
    if (!p)
        return;
    auto* probe = static_cast<Probe*>(p);
    probe->value = 0;
    ++probe->counts.reset;
}

class EasyPoolerTest : public ::testing::Test {
protected:
    void SetUp() override { g_counts = &counts; }
    void TearDown() override { g_counts = nullptr; }
    Counts counts;
};

TEST_F(EasyPoolerTest, KeepsUpToLimitAndReusesLastInFirstOut)
{
    s::thread::EasyPooler pool(2, &createProbe, &disposeProbe, &resetProbe);
    void* a = pool.take();
    void* b = pool.take();
    void* c = pool.take();
    ASSERT_EQ(counts.created, 3);

    pool.give(a);
    pool.give(b);
    pool.give(c);
    EXPECT_EQ(counts.reset, 2) << "the first two are reset and kept";
    EXPECT_EQ(counts.destroyed, 1) << "the third is destroyed";
    EXPECT_EQ(pool.spareCount(), 2u);

    EXPECT_EQ(pool.take(), b) << "last given back, first taken";
    EXPECT_EQ(pool.take(), a);
    EXPECT_EQ(counts.created, 3) << "reuse constructs nothing";
    void* d = pool.take();
    EXPECT_EQ(counts.created, 4) << "an empty pool constructs";

    for (void* p : {a, b, d})
        pool.give(p);
}

TEST_F(EasyPoolerTest, LimitZeroDestroysEverything)
{
    s::thread::EasyPooler pool(0, &createProbe, &disposeProbe, &resetProbe);
    for (int i = 0; i < 3; ++i)
        pool.give(pool.take());
    EXPECT_EQ(counts.created, 3);
    EXPECT_EQ(counts.destroyed, 3);
    EXPECT_EQ(counts.reset, 0);
    EXPECT_EQ(pool.spareCount(), 0u);
}

TEST_F(EasyPoolerTest, ReusedObjectStartsReset)
{
    s::thread::EasyPooler pool(5, &createProbe, &disposeProbe, &resetProbe);
    auto* probe = static_cast<Probe*>(pool.take());
    probe->value = 42;
    pool.give(probe);
    auto* again = static_cast<Probe*>(pool.take());
    EXPECT_EQ(again, probe);
    EXPECT_EQ(again->value, 0);
    pool.give(again);
}

TEST_F(EasyPoolerTest, DisposeThroughDestructorInterface)
{
    s::thread::EasyPooler pool(5, &createProbe, &disposeProbe, &resetProbe);
    s::base::IDestructor& destructor = pool;

    void* none = nullptr;
    destructor.dispose(none);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(pool.spareCount(), 0u);

    void* object = pool.take();
    void* held = object;
    destructor.dispose(held);
    EXPECT_EQ(held, nullptr) << "the caller's pointer is cleared";
    EXPECT_EQ(pool.spareCount(), 1u) << "the object went back to the pool";
    EXPECT_EQ(pool.take(), object);
    pool.give(object);
}

TEST_F(EasyPoolerTest, DestroyingThePoolDisposesSpares)
{
    {
        s::thread::EasyPooler pool(5, &createProbe, &disposeProbe, &resetProbe);
        void* a = pool.take();
        void* b = pool.take();
        pool.give(a);
        pool.give(b);
    }
    EXPECT_EQ(counts.destroyed, 2);
}

TEST_F(EasyPoolerTest, ConcurrentTakeAndGiveLoseNothing)
{
    // Every object created is either destroyed or still a spare once all
    // threads are done; the sanitizers catch a torn free list.
    constexpr int kThreads = 4;
    constexpr int kRounds = 2000;
    {
        s::thread::EasyPooler pool(8, &createProbe, &disposeProbe, &resetProbe);
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&] {
                for (int i = 0; i < kRounds; ++i) {
                    void* a = pool.take();
                    void* b = pool.take();
                    pool.give(b);
                    pool.give(a);
                }
            });
        }
        for (auto& thread : threads)
            thread.join();
        EXPECT_LE(pool.spareCount(), 8u);
    }
    EXPECT_EQ(counts.created.load(), counts.destroyed.load());
}

// A pooled library class, joined through PooledObject.
class Widget : public s::thread::PooledObject<Widget> {
public:
    static constexpr unsigned kPoolLimit = 3;
    const char* className() const override { return "s_test_Widget"; }
    void reset() override { value = 0; }
    int value = 0;
};

TEST(PoolTemplate, ReleaseAndNewInstanceGoThroughTheClassPool)
{
    auto& pooler = s::thread::Pool<Widget>::pooler();
    EXPECT_EQ(pooler.limit(), 3u);
    EXPECT_EQ(&pooler, &s::thread::Pool<Widget>::pooler()) << "one pool per class";

    Widget* w = s::thread::Pool<Widget>::take();
    w->value = 7;
    const std::size_t before = pooler.spareCount();
    w->release();
    EXPECT_EQ(pooler.spareCount(), before + 1);

    auto* again = static_cast<Widget*>(w->newInstance());
    EXPECT_EQ(again, w) << "newInstance takes from the class's pool";
    EXPECT_EQ(again->value, 0);
    again->release();
}

TEST(PoolTemplate, HandleGivesBackOnceWhenItLeavesScope)
{
    auto& pooler = s::thread::Pool<Widget>::pooler();
    Widget* raw = nullptr;
    {
        auto handle = s::thread::Pooled<Widget>::take();
        raw = handle.get();
        handle->value = 5;
        auto moved = std::move(handle);
        EXPECT_FALSE(handle);
        EXPECT_EQ(moved.get(), raw);
    }
    // Given back exactly once: the next take returns it, the one after does not.
    Widget* first = s::thread::Pool<Widget>::take();
    Widget* second = s::thread::Pool<Widget>::take();
    EXPECT_EQ(first, raw);
    EXPECT_NE(second, raw);
    EXPECT_EQ(first->value, 0);
    first->release();
    second->release();

    auto handle = s::thread::Pooled<Widget>::take();
    Widget* detached = handle.detach();
    EXPECT_FALSE(handle);
    const std::size_t spares = pooler.spareCount();
    handle.giveBack();  // empty: nothing happens
    EXPECT_EQ(pooler.spareCount(), spares);
    detached->release();
}

TEST(PoolTemplate, CleanerIObjectReleasesPooledObjects)
{
    auto& pooler = s::thread::Pool<Widget>::pooler();
    Widget* w = s::thread::Pool<Widget>::take();
    const std::size_t before = pooler.spareCount();
    void* slot = static_cast<s::base::IObject*>(w);
    s::cleaner::CleanerIObject::instance().dispose(slot);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(pooler.spareCount(), before + 1);
}

TEST(IdentityComparison, OrdersByAddressWithoutComparator)
{
    Widget a;
    Widget b;
    const Widget* low = &a < &b ? &a : &b;
    const Widget* high = low == &a ? &b : &a;
    EXPECT_EQ(a.compareTo(&a, nullptr), 0);
    EXPECT_EQ(low->compareTo(high, nullptr), -1);
    EXPECT_EQ(high->compareTo(low, nullptr), 1);
    EXPECT_TRUE(a.equals(&a, nullptr));
    EXPECT_FALSE(a.equals(&b, nullptr));
    EXPECT_EQ(a.compareTo2(&b, nullptr), a.compareTo(&b, nullptr));
    EXPECT_EQ(a.typeId(), b.typeId());
    EXPECT_EQ(a.typeId2(), a.typeId());
}

TEST(IdentityComparison, ComparatorDecidesWhenGiven)
{
    struct ByValue : s::base::IComparator {
        int compare(const void* x, const void* y) const override
        {
            return static_cast<const Widget*>(static_cast<const s::base::IComparable*>(x))->value -
                   static_cast<const Widget*>(static_cast<const s::base::IComparable*>(y))->value;
        }
    } byValue;
    Widget a;
    Widget b;
    a.value = b.value = 4;
    EXPECT_TRUE(a.equals(&b, &byValue));
    b.value = 9;
    EXPECT_LT(a.compareTo(&b, &byValue), 0);
}

// A size-accounting pool of raw blocks whose size is their first byte.
class BlockFactory : public s::thread::Factory {
public:
    ~BlockFactory() override { clearSpares(); }
    s::base::IObject* newInstance() const override { return nullptr; }
    void* generate() override
    {
        ++generated;
        return new unsigned char[2048]();
    }
    unsigned sizeOf(const void* object) const override { return static_cast<const unsigned char*>(object)[0] * 16u; }
    void resetObject(void*) override { ++resets; }
    void disposeObject(void* object) override
    {
        ++disposed;
        delete[] static_cast<unsigned char*>(object);
    }
    int generated = 0;
    int resets = 0;
    int disposed = 0;
};

unsigned char* block(s::thread::PoolerBase& pool, unsigned char sizeBy16)
{
    auto* p = static_cast<unsigned char*>(pool.take());
    p[0] = sizeBy16;
    return p;
}

TEST(PoolerBase, SizeAccountingKeepsSmallBlocksWithinTheTotal)
{
    BlockFactory pool;
    pool.setSizeAccounting(true);
    // 64 * 16 = 1024 bytes is the largest kept block; 65 * 16 is too big.
    pool.give(block(pool, 65), s::thread::PoolerBase::kAskSize);
    EXPECT_EQ(pool.disposed, 1);
    EXPECT_EQ(pool.spareCount(), 0u);

    pool.give(block(pool, 64), s::thread::PoolerBase::kAskSize);
    EXPECT_EQ(pool.spareCount(), 1u);
    EXPECT_EQ(pool.totalSize(), 1024u);

    // An explicit size wins over sizeOf.
    pool.give(block(pool, 1), 2000);
    EXPECT_EQ(pool.disposed, 2);

    // Fill up to the 102400-byte total: a hundred blocks of 1024 fit (the
    // first take reuses the spare), the hundred-and-first does not.
    std::vector<unsigned char*> blocks;
    for (int i = 0; i < 101; ++i)
        blocks.push_back(block(pool, 64));
    for (auto* p : blocks)
        pool.give(p, s::thread::PoolerBase::kAskSize);
    EXPECT_EQ(pool.totalSize(), 102400u);
    EXPECT_EQ(pool.spareCount(), 100u);
    EXPECT_EQ(pool.disposed, 3);

    // Taking subtracts the taken block's size.
    unsigned char* taken = static_cast<unsigned char*>(pool.take());
    EXPECT_EQ(pool.totalSize(), 102400u - 1024u);
    pool.give(taken, s::thread::PoolerBase::kAskSize);
}

TEST(PoolerBase, WithoutAccountingKeepsAnySizeAndDisposeClearsPointer)
{
    BlockFactory pool;
    pool.give(block(pool, 200), s::thread::PoolerBase::kAskSize);
    EXPECT_EQ(pool.spareCount(), 1u);
    EXPECT_EQ(pool.resets, 1);

    void* none = nullptr;
    pool.dispose(none);
    EXPECT_EQ(pool.spareCount(), 1u);

    void* p = pool.take();
    EXPECT_EQ(pool.generated, 1) << "the spare was reused";
    pool.dispose(p);
    EXPECT_EQ(p, nullptr);
    EXPECT_EQ(pool.spareCount(), 1u);
}

}  // namespace
