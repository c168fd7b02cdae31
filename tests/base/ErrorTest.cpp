#include <gtest/gtest.h>

#include "base/Error.h"

namespace pomvella {
namespace {

TEST(ErrorTest, MessagesCarryThePathWhereTheyNameAFile)
{
    EXPECT_STREQ(FileOpenError("/data/TH2Data.000").what(), "ﾌｧｲﾙ /data/TH2Data.000 は開けません");
    EXPECT_STREQ(FileCreateError("out/B/001.BMP").what(), "ﾌｧｲﾙ out/B/001.BMP を作成できません");
    EXPECT_STREQ(ReadError().what(), "ｽﾄﾘｰﾑからの読み込みｴﾗｰ");
    EXPECT_STREQ(WriteError().what(), "ｽﾄﾘｰﾑへの書き込みｴﾗｰ");
    EXPECT_STREQ(MemoryStreamFullError().what(), "ﾒﾓﾘｽﾄﾘｰﾑの拡大中にﾒﾓﾘが足りなくなりました");
    EXPECT_STREQ(InvalidBitmapError().what(), "ﾋﾞｯﾄﾏｯﾌﾟｲﾒｰｼﾞが不正です");
    EXPECT_STREQ(AssertionFailure("Octree.cpp", 171).what(), "Assertion failure (Octree.cpp, 171 行)");
}

TEST(ErrorTest, ErrorBoxAppendsAFullStopOnlyAfterBytesAboveIt)
{
    struct Case {
        const char* message;
        const char* shown;
    };
    const Case cases[] = {
        {"ｽﾄﾘｰﾑからの読み込みｴﾗｰ", "ｽﾄﾘｰﾑからの読み込みｴﾗｰ."},
        {"done.", "done."},
        {"ends in a dash -", "ends in a dash -"},  // '-' sorts below '.'
        {"ends in a slash/", "ends in a slash/."},  // '/' sorts above '.'
        {"line 7", "line 7."},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ErrorBoxText(c.message), c.shown) << c.message;
}

}  // namespace
}  // namespace pomvella
