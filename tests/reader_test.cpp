#include "readerfixture.h"
#include "tutorfilegenerator.h"

#include "failingfileoperations.h"
#include "memoryfileoperations.h"

#include <QFile>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace monitorfile;

namespace {

QString missing(const char *tag)
{
    return QStringLiteral("Missing ") + QString::fromLatin1(tag) +
           QStringLiteral(" from xml file.");
}

QByteArray compactFile(int students = 2)
{
    return generateTutorFile({students, 1, true});
}

class ReaderTest : public testing::Test, public ReaderFixture
{
};

TEST_F(ReaderTest, ReadsEveryValueOfATidyFileWithoutRewriting)
{
    const QByteArray original = compactFile(3);
    put(original);
    const ReadReport report = read();

    EXPECT_TRUE(report.fileFound);
    EXPECT_FALSE(report.normalised);
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(u'\n').toStdString();
    EXPECT_EQ(fileBytes(), original);

    const TutorRecord &r = data.record;
    EXPECT_EQ(r.tutor_name, "Marchetti, Alex");
    EXPECT_EQ(r.staff_id, "00561234");
    EXPECT_EQ(r.number_scripts, 3);
    EXPECT_EQ(data.NumberScriptsText, "3");
    EXPECT_EQ(r.zip_filename, "M101_05B_02.zip");
    EXPECT_EQ(r.monitoring_type, "Standard");
    EXPECT_EQ(r.monitor_collect_date, "02-Dec-2026");
    EXPECT_EQ(r.basic_monitor_form_path, "C:\\Quillet\\Forms");
    EXPECT_EQ(r.file_title, QStringLiteral("\\monitor.fhi"));
    EXPECT_EQ(r.file_path, folder.path());
    ASSERT_EQ(r.students.size(), 3u);
    EXPECT_EQ(r.students[1].student_name, "Surname1, Forename1");
    EXPECT_EQ(r.students[1].student_personal_id, generatedStudentId(1));
    EXPECT_EQ(r.students[1].marking, "Appropriate");
    EXPECT_EQ(r.students[1].script_commenting, "Good (G)");
    EXPECT_EQ(r.students[2].tarnwick_received_date, "20-Nov-2026");
}

TEST_F(ReaderTest, TidiesALaidOutFileOnceAsTheSuiteExpectsIt)
{
    put(fixture(QStringLiteral("laid_out.fhi")));
    const ReadReport first = read();
    EXPECT_TRUE(first.normalised);
    EXPECT_TRUE(first.rewritten);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(fileBytes(), fixture(QStringLiteral("laid_out.normalised.fhi")));
    EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("monitor.fhi")});

    data = {};
    const ReadReport second = read();
    EXPECT_FALSE(second.normalised);
    EXPECT_FALSE(second.rewritten);
    EXPECT_EQ(fileBytes(), fixture(QStringLiteral("laid_out.normalised.fhi")));
}

TEST_F(ReaderTest, LaidOutFileValues)
{
    put(fixture(QStringLiteral("laid_out.fhi")));
    read();
    const TutorRecord &r = data.record;
    EXPECT_EQ(r.tutor_forenames, "Margaret Ann ");
    EXPECT_EQ(r.tutor_name, "Okonkwo-Reilly, Margaret Ann");
    EXPECT_EQ(r.monitor_comments,
              "Clear, encouraging summaries. Please relate the PT3 comments to the marks in Q3 & "
              "Q4, and say what would have earned the missing marks (< half of them).");
    EXPECT_EQ(r.flags[2], "");
    EXPECT_EQ(r.flags[14], "I");
    ASSERT_EQ(r.students.size(), 4u);
    EXPECT_EQ(r.students[0].student_forenames, "Siobh\xe1n");
    EXPECT_EQ(r.students[1].script_commenting, "");
    EXPECT_EQ(r.students[3].pt3_commenting, "Good (G)");
}

TEST_F(ReaderTest, WithoutReadOnlyOptionKeepsTheFileAndOffersTheTidiedText)
{
    const QByteArray original = fixture(QStringLiteral("laid_out.fhi"));
    put(original);
    const ReadReport report = read(ReadOptions{false});
    EXPECT_TRUE(report.normalised);
    EXPECT_FALSE(report.rewritten);
    EXPECT_EQ(fileBytes(), original);
    EXPECT_EQ(report.normalisedText, fixture(QStringLiteral("laid_out.normalised.fhi")));
}

TEST_F(ReaderTest, EmptyElementFormOfATutorElementIsExpandedInPlace)
{
    const QByteArray original = compactFile();
    put(edited(original, "<staff_id>00561234</staff_id>", "<staff_id/>"));
    const ReadReport report = read();
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(data.record.staff_id, "");
    EXPECT_TRUE(report.rewritten);
    EXPECT_EQ(fileBytes(),
              edited(original, "<staff_id>00561234</staff_id>", "<staff_id></staff_id>"));
}

TEST_F(ReaderTest, EmptyFlagInsideTheMonitoringBlockIsExpanded)
{
    const QByteArray original = compactFile();
    put(edited(original, "<flag3></flag3>", "<flag3/>"));
    EXPECT_TRUE(read().rewritten);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_EQ(fileBytes(), original);
}

TEST_F(ReaderTest, CommentsShowTheMarkupCharacters)
{
    put(edited(compactFile(), "<monitor_comments></monitor_comments>",
               "<monitor_comments>fish \x12 chips \x02 1 \x03</monitor_comments>"));
    read();
    EXPECT_EQ(data.record.monitor_comments, "fish & chips < 1 >");
}

TEST_F(ReaderTest, MissingCommentDateIsNoProblem)
{
    put(edited(compactFile(), "<monitor_comment_date></monitor_comment_date>", ""));
    read();
    EXPECT_TRUE(messages.texts.isEmpty());
}

TEST_F(ReaderTest, OneMessagePerRunAndEveryPresentValueStillRead)
{
    // Two tutor elements missing: the run names only the first; what follows is still read.
    QByteArray text = edited(compactFile(), "<tutor_status>Active</tutor_status>", "");
    text = edited(text, "<new_tutor>No</new_tutor>", "");
    put(text);
    read();
    EXPECT_EQ(messages.texts, QStringList{missing("<tutor_status>")});
    EXPECT_EQ(data.record.locn_code, "04");
    EXPECT_EQ(data.record.number_scripts, 2);
    EXPECT_EQ(data.record.zip_date, "01-Dec-2026");
    EXPECT_EQ(data.record.students.size(), 2u);
}

TEST_F(ReaderTest, MissingMonitoringElementStillReadsStudentsAndSystem)
{
    put(edited(compactFile(), "<flag7></flag7>", ""));
    read();
    EXPECT_EQ(messages.texts, QStringList{missing("<flag7>")});
    EXPECT_EQ(data.record.students.size(), 2u);
    EXPECT_EQ(data.record.version_num, "4.2");
}

TEST_F(ReaderTest, MissingSurnameOfFirstStudentStillReadsTheRest)
{
    put(edited(compactFile(), "<student_surname>Surname0</student_surname>", ""));
    read();
    EXPECT_EQ(messages.texts, QStringList{missing("<student_surname>")});
    ASSERT_EQ(data.record.students.size(), 2u);
    const StudentRecord &first = data.record.students[0];
    EXPECT_EQ(first.student_name, ", Forename0");
    EXPECT_EQ(first.student_personal_id, generatedStudentId(0));
    EXPECT_EQ(first.tarnwick_received_date, "20-Nov-2026");
    EXPECT_EQ(first.annotated, "Y");
    EXPECT_EQ(data.record.students[1].student_personal_id, generatedStudentId(1));
}

TEST_F(ReaderTest, MissingStudentListStillReadsSystemDetails)
{
    QByteArray text = edited(compactFile(), "<student_list>", "");
    put(edited(text, "</student_list>", ""));
    const ReadReport report = read();
    EXPECT_EQ(messages.texts, QStringList{missing("<student_list>")});
    EXPECT_TRUE(data.record.students.empty());
    EXPECT_EQ(data.record.download_exe_name, "QuilletDownload.exe");
    EXPECT_TRUE(report.malformed);
}

struct DamagedCase
{
    const char *name;
    QByteArray from;
    QByteArray to;
    QStringList messages;
};

class DamagedFileTest : public testing::TestWithParam<DamagedCase>, public ReaderFixture
{
};

// A damaged file is reported and read as far as it goes, but never rewritten, even when
// tidying would change it.
TEST_P(DamagedFileTest, ReportedAndNeverRewritten)
{
    const DamagedCase &c = GetParam();
    const QByteArray damaged = edited(fixture(QStringLiteral("laid_out.fhi")), c.from, c.to);
    put(damaged);
    const ReadReport report = read();
    EXPECT_TRUE(report.malformed);
    EXPECT_FALSE(report.rewritten);
    EXPECT_EQ(fileBytes(), damaged);
    EXPECT_EQ(messages.texts, c.messages);
    EXPECT_EQ(data.record.staff_id, "00417263");
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedFileTest,
    testing::Values(
        DamagedCase{"zipBlockMissing", "<zip_details>", "", {missing("<zip_details>")}},
        DamagedCase{"zipBlockUnclosed", "</zip_details>", "", {missing("</zip_details>")}},
        DamagedCase{"monitoringBlockUnclosed",
                    "</monitoring_details>",
                    "",
                    {missing("</monitoring_details>")}},
        DamagedCase{"tooFewStudentBlocks",
                    "<number_scripts>4<",
                    "<number_scripts>5<",
                    {missing("<student_details>")}},
        DamagedCase{"studentMonitoringBlockMissing",
                    "<student_monitoring_details>\r\n        <annotated>N",
                    "<annotated>N",
                    {missing("<student_monitoring_details>")}},
        DamagedCase{"fileListMissing",
                    "</file_list>\r\n    </student_details>\r\n    <student_details>\r\n      "
                    "<student_forenames>Dev",
                    "</student_details>\r\n    <student_details>\r\n      <student_forenames>Dev",
                    {missing("</file_list>")}},
        DamagedCase{"fileDetailsUnclosed",
                    "<file_annotated>N</file_annotated></file_details>",
                    "<file_annotated>N</file_annotated>",
                    {missing("</file_details>")}},
        DamagedCase{"systemBlockUnclosed", "</system_details>", "", {missing("</system_details>")}},
        DamagedCase{"elementUnclosed",
                    "13-Nov-2026</tutor_received_date>",
                    "13-Nov-2026",
                    {missing("</tutor_received_date>")}}),
    [](const testing::TestParamInfo<DamagedCase> &info) { return std::string(info.param.name); });

TEST_F(ReaderTest, MissingBlockIsNamedEvenAfterTheRunReportedAnotherElement)
{
    QByteArray text = edited(compactFile(), "<new_tutor>No</new_tutor>", "");
    put(edited(text, "</zip_details>", ""));
    read();
    EXPECT_EQ(messages.texts, (QStringList{missing("<new_tutor>"), missing("</zip_details>")}));
}

TEST_F(ReaderTest, StudentBlocksBeyondTheCountAreKeptUnchanged)
{
    const QByteArray laidOut = generateTutorFile({3, 1, false});
    put(edited(laidOut, "<number_scripts>3<", "<number_scripts>1<"));
    const ReadReport report = read();
    EXPECT_TRUE(report.rewritten);
    ASSERT_EQ(data.record.students.size(), 1u);
    const QByteArray after = fileBytes();
    EXPECT_EQ(after.count("<student_details>"), 3);
    // The blocks behind the first keep their own layout, line breaks included.
    const qsizetype second =
        after.indexOf("<student_details>", after.indexOf("</student_details>"));
    EXPECT_TRUE(
        after.mid(second).startsWith("<student_details>\r\n    <student_forenames>Forename1"));
}

TEST_F(ReaderTest, MissingFileReadsNothingAndSaysNothing)
{
    const ReadReport report = read();
    EXPECT_FALSE(report.fileFound);
    EXPECT_FALSE(data.fileFound);
    EXPECT_TRUE(messages.texts.isEmpty());
    EXPECT_TRUE(folder.entries().isEmpty());
}

TEST_F(ReaderTest, OversizedFileIsRefusedBeforeItIsRead)
{
    QFile file(put(compactFile()));
    ASSERT_TRUE(file.resize(kMaxFileBytes + 1));
    const ReadReport report = read();
    EXPECT_TRUE(report.readFailed);
    EXPECT_FALSE(data.fileFound);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("too large")));
    EXPECT_TRUE(messages.texts[0].contains(filePath()));
}

// A pipe at the name would make the read wait for a writer for ever.
TEST_F(ReaderTest, PipeAtTheNameIsRefusedWithoutWaiting)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(filePath()).constData(), 0600), 0);
    EXPECT_TRUE(read().readFailed);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("not a regular file")));
}

// The rewrite failing, or its lock held by another writer, or a pipe at the lock's name (never
// waited on): the values are read all the same.
TEST_F(ReaderTest, FailedRewriteIsReportedAndLeavesTheFileAsItWas)
{
    const QByteArray original = fixture(QStringLiteral("laid_out.fhi"));
    for (const auto step : {FailingFileOperations::Step::Replace, FailingFileOperations::Step::Lock,
                            FailingFileOperations::Step::None}) {
        put(original);
        const bool pipe = step == FailingFileOperations::Step::None;
        ASSERT_TRUE(!pipe || ::mkfifo(QFile::encodeName(filePath()) + ".lock", 0600) == 0);
        messages.texts.clear();
        data = {};
        FailingFileOperations failing(step);
        const ReadReport report = ReadTutorXMLFile(folder.path(), QStringLiteral("\\monitor.fhi"),
                                                   data, messages, failing);
        EXPECT_FALSE(report.rewritten);
        EXPECT_EQ(fileBytes(), original);
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(messages.texts[0].contains(filePath()));
        EXPECT_TRUE(messages.texts[0].contains(
            QString::fromLatin1(pipe ? "a pipe (FIFO)" : FailingFileOperations::kReason)));
        EXPECT_EQ(data.record.students.size(), 4u);
    }
}

// The process stopping dead during the tidying rewrite: the file is whole, old or tidied, and
// the next start tidies it and leaves no temporary file behind.
TEST_F(ReaderTest, AbruptStopDuringTheTidyingRewriteLeavesAWholeFile)
{
    using Step = FailingFileOperations::Step;
    const QByteArray original = fixture(QStringLiteral("laid_out.fhi"));
    const QByteArray tidied = fixture(QStringLiteral("laid_out.normalised.fhi"));
    for (const Step step :
         {Step::CopyToBackup, Step::CreateTemporary, Step::Write, Step::FlushToDisk, Step::Replace,
          Step::FlushFolder, Step::RemoveFile}) {
        put(original);
        FailingFileOperations stopping(step, 1, FailingFileOperations::Failure::AbruptStop);
        EXPECT_THROW(ReadTutorXMLFile(folder.path(), QStringLiteral("\\monitor.fhi"), data,
                                      messages, stopping),
                     FailingFileOperations::AbruptStop);
        const bool replaced = step == Step::FlushFolder || step == Step::RemoveFile;
        EXPECT_EQ(fileBytes(), replaced ? tidied : original) << int(step);

        data = {};
        read();
        EXPECT_EQ(fileBytes(), tidied) << int(step);
        // A ".BAK" left by the stop holds the text before it until the next rewrite replaces it.
        QStringList entries = folder.entries();
        if (entries.removeOne(QStringLiteral("monitor.fhi.BAK"))) {
            EXPECT_EQ(folder.read(QStringLiteral("monitor.fhi.BAK")), original) << int(step);
        }
        EXPECT_EQ(entries, QStringList{QStringLiteral("monitor.fhi")}) << int(step);
    }
}

// Real-looking damage at every byte: the file cut short there, or that one byte changed. Every
// read ends without rewriting anything, and a file cut before the end of what is read is always
// reported.
TEST(DamagedBytes, FileCutOrChangedAtAnyByteIsReadAndTheCutReported)
{
    const QByteArray original = fixture(QStringLiteral("laid_out.normalised.fhi"));
    const QByteArray lastRead = "</system_details>";
    const qsizetype readEnd = original.indexOf(lastRead) + lastRead.size();
    const QString path = QStringLiteral("/tutor/monitor.fhi");
    ReadOptions lookOnly;
    lookOnly.rewriteNormalised = false;
    const auto readBytes = [&](const QByteArray &bytes, RecordingMessages &messages) {
        MemoryFileOperations files;
        files.setFile(path, bytes);
        TutorData data;
        ReadTutorXMLFile(QStringLiteral("/tutor"), QStringLiteral("\\monitor.fhi"), data, messages,
                         files, lookOnly);
        return files.bytesOf(path) == bytes && files.paths() == QStringList{path};
    };
    for (qsizetype length = 0; length < original.size(); ++length) {
        RecordingMessages messages;
        ASSERT_TRUE(readBytes(original.left(length), messages)) << "cut at " << length;
        if (length < readEnd) {
            EXPECT_FALSE(messages.texts.isEmpty()) << "cut at " << length << " without a word";
        }
    }
    for (qsizetype at = 0; at < original.size(); ++at) {
        for (const char change : {'<', '\xff'}) {
            QByteArray changed = original;
            changed[at] = change;
            RecordingMessages messages;
            ASSERT_TRUE(readBytes(changed, messages)) << "byte " << at << " changed";
        }
    }
}

} // namespace
