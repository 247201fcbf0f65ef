#include "app/images/GreyBitmapPool.h"

#include <QTransform>

#include <gtest/gtest.h>

#include <memory>
#include <thread>
#include <vector>

namespace {

bool allBytes(const QImage& image, uchar value)
{
    for (int y = 0; y < image.height(); ++y) {
        const uchar* row = image.constScanLine(y);
        for (int x = 0; x < image.width(); ++x) {
            if (row[x] != value)
                return false;
        }
    }
    return true;
}

// A buffer goes to another bitmap only once no image refers to it: not while a copy of the
// bitmap is held, and a turned bitmap is an image of its own that outlives its source.
TEST(GreyBitmapPool, ABufferIsHandedOutAgainOnlyOnceNoImageUsesIt)
{
    GreyBitmapPool pool(4);
    QImage first = pool.greyImage(101, 50);
    ASSERT_FALSE(first.isNull());
    EXPECT_EQ(first.format(), QImage::Format_Grayscale8);
    EXPECT_EQ(first.bytesPerLine(), 104);
    const uchar* const buffer = first.constBits();
    first.fill(7);
    QImage copy = first;
    const QImage turned = first.transformed(QTransform().rotate(90));
    first = QImage();
    EXPECT_EQ(pool.keptCount(), 0);

    QImage second = pool.greyImage(101, 50);
    EXPECT_NE(second.constBits(), buffer);
    second.fill(9);
    EXPECT_TRUE(allBytes(copy, 7));

    copy = QImage();
    EXPECT_EQ(pool.keptCount(), 1);
    const QImage third = pool.greyImage(101, 50);
    EXPECT_EQ(third.constBits(), buffer);
    EXPECT_EQ(pool.keptCount(), 0);
    EXPECT_EQ(turned.size(), QSize(50, 101));
    EXPECT_TRUE(allBytes(turned, 7));
}

// A kept buffer serves bitmaps no larger than itself and not under half its size.
TEST(GreyBitmapPool, AKeptBufferServesOnlyBitmapsThatFitIt)
{
    GreyBitmapPool pool(4);
    const uchar* buffer = nullptr;
    {
        const QImage image = pool.greyImage(100, 100);
        buffer = image.constBits();
    }
    const struct {
        int width;
        int height;
        bool reused;
    } cases[] = {
        {100, 101, false}, // larger
        {100, 49, false},  // under half
        {100, 50, true},
        {100, 100, true},
        {97, 99, true},
    };
    for (const auto& c : cases) {
        const QImage image = pool.greyImage(c.width, c.height);
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(image.constBits() == buffer, c.reused) << c.width << " x " << c.height;
    }
    EXPECT_TRUE(pool.greyImage(0, 10).isNull());
}

// The pool keeps a few buffers; the run's end frees them, and a bitmap still held then keeps
// its pixels and is freed with its last image.
TEST(GreyBitmapPool, KeepsAFewBuffersAndBitmapsOutliveIt)
{
    auto pool = std::make_unique<GreyBitmapPool>(2);
    {
        std::vector<QImage> images;
        for (int i = 0; i < 5; ++i)
            images.push_back(pool->greyImage(64, 32));
    }
    EXPECT_EQ(pool->keptCount(), 2);

    QImage held = pool->greyImage(64, 32);
    held.fill(3);
    const QImage copy = held;
    pool.reset();
    EXPECT_TRUE(allBytes(held, 3));
    held = QImage();
    EXPECT_TRUE(allBytes(copy, 3));
}

// Only the thread that uses a pool takes its bitmaps from it.
TEST(GreyBitmapPool, UseSetsThePoolOfTheCallingThreadOnly)
{
    GreyBitmapPool pool(1);
    {
        const GreyBitmapPool::Use use(&pool);
        EXPECT_EQ(GreyBitmapPool::current(), &pool);
        GreyBitmapPool* seenElsewhere = &pool;
        std::thread([&seenElsewhere] { seenElsewhere = GreyBitmapPool::current(); }).join();
        EXPECT_EQ(seenElsewhere, nullptr);
    }
    EXPECT_EQ(GreyBitmapPool::current(), nullptr);
}

} // namespace
