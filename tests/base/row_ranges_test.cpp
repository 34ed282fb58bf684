#include "base/row_ranges.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(DescribeRows, JoinsRunsInOrderAndCountsWhatIsLeftOver) {
    EXPECT_EQ(describeRows({}), QString());
    EXPECT_EQ(describeRows({7}), u"7"_s);
    EXPECT_EQ(describeRows({12, 3, 5, 6, 7, 8, 9, 5}), u"3、5～9、12"_s);
    EXPECT_EQ(describeRows({1, 3, 5, 7, 9, 10, 11}, 3), u"1、3、5…ほか 4 行"_s);
}
