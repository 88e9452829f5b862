#include "readerfixture.h"
#include "tutorfilegenerator.h"

#include "reload.h"

#include <gtest/gtest.h>

using namespace monitorfile;

namespace {

class ReloadTest : public testing::Test, public ReaderFixture
{
protected:
    void reload() { ReloadMonitoringData(filePath(), data, files, messages); }
};

TEST_F(ReloadTest, BringsBackTheSavedValues)
{
    put(generateTutorFile({2, 1, true}));
    read();
    data.record.flags[3] = "changed";
    data.record.monitor_comments = "changed";
    data.record.students[0].marking = "changed";
    data.record.students[1].pt3_commenting = "changed";
    put(edited(fileBytes(), "<monitor_comments></monitor_comments>",
               "<monitor_comments>a \x12 b</monitor_comments>"));
    reload();
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(data.record.flags[3], "");
    EXPECT_EQ(data.record.monitor_comments, "a & b");
    EXPECT_EQ(data.record.students[0].marking, "");
    EXPECT_EQ(data.record.students[1].pt3_commenting, "");
    EXPECT_EQ(data.record.students[1].marking, "Appropriate");
}

TEST_F(ReloadTest, BlockOfAnUnknownStudentChangesNobody)
{
    put(generateTutorFile({2, 1, true}));
    read();
    put(edited(fileBytes(), generatedStudentId(0), "someone-else"));
    data.record.students[0].marking = "kept";
    data.record.students[1].marking = "changed";
    reload();
    EXPECT_EQ(data.record.students[0].marking, "kept");
    EXPECT_EQ(data.record.students[1].marking, "Appropriate");
}

TEST_F(ReloadTest, RepeatedIdsGoToTheirOwnStudents)
{
    QByteArray file = generateTutorFile({2, 1, true});
    put(file.replace(generatedStudentId(1), generatedStudentId(0)));
    read();
    put(edited(edited(fileBytes(), "<marking></marking>", "<marking>first</marking>"),
               "<marking>Appropriate</marking>", "<marking>second</marking>"));
    reload();
    EXPECT_EQ(data.record.students[0].marking, "first");
    EXPECT_EQ(data.record.students[1].marking, "second");
}

TEST_F(ReloadTest, FirstMissingElementEndsTheReload)
{
    put(generateTutorFile({1, 1, true}));
    read();
    put(edited(edited(fileBytes(), "<flag2></flag2>", "<flag2>new</flag2>"), "<flag3></flag3>",
               ""));
    data.record.flags[1] = "old";
    data.record.flags[3] = "old";
    data.record.students[0].marking = "old";
    reload();
    EXPECT_EQ(messages.texts, QStringList{QStringLiteral("Missing <flag3> from xml file.")});
    EXPECT_EQ(data.record.flags[1], "new");
    EXPECT_EQ(data.record.flags[3], "old");
    EXPECT_EQ(data.record.students[0].marking, "old");
}

TEST_F(ReloadTest, MissingFileChangesNothing)
{
    data.record.monitor_comments = "unsaved";
    reload();
    EXPECT_EQ(data.record.monitor_comments, "unsaved");
    EXPECT_TRUE(messages.texts.isEmpty());
}

} // namespace
