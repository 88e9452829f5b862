#include "recordingmessages.h"
#include "tagsearch.h"

#include <gtest/gtest.h>

using namespace monitorfile;

namespace {

struct ExtractCase
{
    const char *name;
    QByteArray contents;
    int result;
    QByteArray value;
    QByteArray contentsAfter;
    QString message;
};

const QString kMissingStaffId = QStringLiteral("Missing <staff_id> from xml file.");

class ExtractElementTest : public testing::TestWithParam<ExtractCase>
{
};

TEST_P(ExtractElementTest, ValueResultTextAndMessage)
{
    const ExtractCase &c = GetParam();
    QByteArray contents = c.contents;
    QByteArray value;
    RecordingMessages messages;
    EXPECT_EQ(ExtractElement("<staff_id>", "</staff_id>", contents, value, &messages), c.result);
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(contents, c.contentsAfter);
    EXPECT_EQ(messages.texts, c.message.isEmpty() ? QStringList() : QStringList{c.message});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExtractElementTest,
    testing::Values(
        ExtractCase{
            "value", "a<staff_id>123</staff_id>b", 0, "123", "a<staff_id>123</staff_id>b", {}},
        ExtractCase{"emptyValue", "<staff_id></staff_id>", 0, "", "<staff_id></staff_id>", {}},
        ExtractCase{"verbatimNested",
                    "<staff_id> <x>1</x> </staff_id>",
                    0,
                    " <x>1</x> ",
                    "<staff_id> <x>1</x> </staff_id>",
                    {}},
        ExtractCase{"firstOccurrence",
                    "<staff_id>1</staff_id><staff_id>2</staff_id>",
                    0,
                    "1",
                    "<staff_id>1</staff_id><staff_id>2</staff_id>",
                    {}},
        ExtractCase{"emptyFormExpandedOnce",
                    "x<staff_id/>y<staff_id/>",
                    0,
                    "",
                    "x<staff_id></staff_id>y<staff_id/>",
                    {}},
        ExtractCase{"capitalsAreMissing", "<STAFF_ID>1</STAFF_ID>", -1, "",
                    "<STAFF_ID>1</STAFF_ID>", kMissingStaffId},
        ExtractCase{"blankBeforeSlashNotEmptyForm", "<staff_id />", -1, "", "<staff_id />",
                    kMissingStaffId},
        ExtractCase{"endTagOnly", "</staff_id>", -1, "", "</staff_id>", kMissingStaffId},
        ExtractCase{"noEndTag", "<staff_id>123", -1, "", "<staff_id>123",
                    QStringLiteral("Missing </staff_id> from xml file.")},
        ExtractCase{"endTagOnlyBeforeStart", "</staff_id><staff_id>123", -1, "",
                    "</staff_id><staff_id>123",
                    QStringLiteral("Missing </staff_id> from xml file.")},
        ExtractCase{"endTagBeforeAndBehindStart",
                    "</staff_id><staff_id>9</staff_id>",
                    0,
                    "9",
                    "</staff_id><staff_id>9</staff_id>",
                    {}}),
    [](const testing::TestParamInfo<ExtractCase> &info) { return std::string(info.param.name); });

TEST(ExtractElement, SearchIncludesAngleBrackets)
{
    QByteArray contents = "<flag10>x</flag10><file_annotated>Y</file_annotated>";
    QByteArray value;
    RecordingMessages messages;
    EXPECT_EQ(ExtractElement("<flag1>", "</flag1>", contents, value, &messages), -1);
    EXPECT_EQ(ExtractElement("<annotated>", "</annotated>", contents, value, &messages), -1);
    EXPECT_EQ(messages.texts.size(), 2);
}

TEST(ExtractElement, WithoutPresenterStaysQuiet)
{
    QByteArray contents = "nothing here";
    QByteArray value = "kept";
    EXPECT_EQ(ExtractElement("<a>", "</a>", contents, value, nullptr), -1);
    EXPECT_EQ(value, "kept");
}

TEST(ReformatXmlFileData, ExpandsEveryEmptyForm)
{
    QByteArray text = "<staff_id/>-<staff_id/><staff_id/>";
    EXPECT_EQ(ReformatXmlFileData(text, "<staff_id>", "</staff_id>"), 0);
    EXPECT_EQ(text, "<staff_id></staff_id>-<staff_id></staff_id><staff_id></staff_id>");
}

TEST(ReformatXmlFileData, LeavesTextWithoutTheElementAlone)
{
    QByteArray text = "<other/><staff_id >";
    EXPECT_EQ(ReformatXmlFileData(text, "<staff_id>", "</staff_id>"), 0);
    EXPECT_EQ(text, "<other/><staff_id >");
}

TEST(IsAllDigits, AnswersOneOrZero)
{
    EXPECT_EQ(IsAllDigits(u""), 1);
    EXPECT_EQ(IsAllDigits(u"0123456789"), 1);
    EXPECT_EQ(IsAllDigits(u"12a"), 0);
    EXPECT_EQ(IsAllDigits(u"1 2"), 0);
    EXPECT_EQ(IsAllDigits(u"-1"), 0);
    EXPECT_EQ(IsAllDigits(u"\u0663"), 0); // an Arabic-Indic digit is not 0 to 9
}

} // namespace
