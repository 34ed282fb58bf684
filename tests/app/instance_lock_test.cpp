#include "app/instance_lock.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(InstanceLock, ASecondCopyOnTheSameFolderIsRefusedUntilTheFirstEnds) {
    QTemporaryDir dir;
    {
        InstanceLock first(dir.path());
        ASSERT_TRUE(first.acquire());
        InstanceLock second(dir.path());
        EXPECT_FALSE(second.acquire());
    }
    InstanceLock later(dir.path());
    EXPECT_TRUE(later.acquire());
}
