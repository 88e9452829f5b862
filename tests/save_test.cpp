#include "readerfixture.h"
#include "tutorfilegenerator.h"

#include "ansicodec.h"
#include "failingfileoperations.h"
#include "monitorsave.h"
#include "reload.h"
#include "textvalues.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QRandomGenerator>
#include <QSysInfo>

#include <gtest/gtest.h>

#include <sys/stat.h>

using namespace monitorfile;

namespace {

const QString kDate = QStringLiteral("08-Dec-2026");

class SaveTest : public testing::Test, public ReaderFixture
{
protected:
    // What the form shows after start-up: the model's values, decoded.
    MonitorFormValues shownValues() const
    {
        MonitorFormValues values;
        for (int i = 0; i < kFlagCount; ++i)
            values.flags[i] = decodeAnsi(data.record.flags[i]);
        values.comments = decodeAnsi(data.record.monitor_comments);
        values.commentDate = kDate;
        for (const StudentRecord &s : data.record.students) {
            values.students.push_back({decodeAnsi(s.student_personal_id), decodeAnsi(s.marking),
                                       decodeAnsi(s.pt3_commenting),
                                       decodeAnsi(s.script_commenting)});
        }
        return values;
    }

    void start(const QByteArray &bytes)
    {
        put(bytes);
        read();
        messages.texts.clear();
    }

    bool save(const MonitorFormValues &values)
    {
        return SaveMonitorForm(filePath(), values, data.NumberScriptsText, files, messages);
    }

    bool save(const MonitorFormValues &values, FileOperations &operations)
    {
        return SaveMonitorForm(filePath(), values, data.NumberScriptsText, operations, messages);
    }

    // The bytes a save is expected to leave, made by hand from the bytes before it.
    static QByteArray withStudentValues(QByteArray text, const QByteArray &id,
                                        const QByteArray &marking, const QByteArray &summary,
                                        const QByteArray &script)
    {
        const qsizetype idAt = text.indexOf("<student_personal_id>" + id + "<");
        const qsizetype from = text.indexOf("</student_completed>", idAt) + 20;
        const qsizetype to = text.indexOf("</student_monitoring_details>", from);
        return text.replace(from, to - from,
                            "<marking>" + marking + "</marking><pt3_commenting>" + summary +
                                "</pt3_commenting><script_commenting>" + script +
                                "</script_commenting>");
    }

    // Every student block as the save writes it back unchanged: its three values in the
    // order the save writes them.
    QByteArray withStudentsAsShown(QByteArray text) const
    {
        for (const StudentRecord &s : data.record.students) {
            text = withStudentValues(text, s.student_personal_id, s.marking, s.pt3_commenting,
                                     s.script_commenting);
        }
        return text;
    }
};

TEST_F(SaveTest, WritesTheEntriesAndLeavesEveryOtherByteAlone)
{
    const QByteArray original = generateTutorFile({3, 2, true});
    start(original);
    MonitorFormValues values = shownValues();
    values.flags[0] = QStringLiteral("  E ");
    values.flags[14] = QStringLiteral("Fine\u00e9");
    values.comments = QStringLiteral("  Marks <5> & notes  ");
    values.students[1].marking = QStringLiteral(" Severe ");
    values.students[1].summaryFeedback = QStringLiteral("Good (G)");
    values.students[1].scriptComments = QStringLiteral("");

    ASSERT_TRUE(save(values));
    EXPECT_TRUE(messages.texts.isEmpty()) << messages.texts.join(u'\n').toStdString();

    QByteArray expected = edited(original, "<flag1></flag1>", "<flag1>E</flag1>");
    expected = edited(expected, "<flag15></flag15>", "<flag15>Fine\xe9</flag15>");
    expected = edited(expected, "<monitor_comments></monitor_comments>",
                      "<monitor_comments>Marks \x02"
                      "5\x03 \x12 notes</monitor_comments>");
    expected = edited(expected, "<monitor_comment_date></monitor_comment_date>",
                      "<monitor_comment_date>08-Dec-2026</monitor_comment_date>");
    for (int i = 0; i < 3; ++i) {
        const StudentRecord &s = data.record.students[i];
        expected =
            i == 1 ? withStudentValues(expected, s.student_personal_id, "Severe", "Good (G)", "")
                   : withStudentValues(expected, s.student_personal_id, s.marking, s.pt3_commenting,
                                       s.script_commenting);
    }
    EXPECT_EQ(fileBytes(), expected);
    EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("monitor.fhi")});
}

TEST_F(SaveTest, LaidOutSampleMatchesTheSavedGoldenFile)
{
    start(fixture(QStringLiteral("laid_out.fhi")));
    MonitorFormValues values = shownValues();
    values.flags[2] = QStringLiteral("E");
    values.comments = QStringLiteral("Thorough <b>marking</b> & good feedback.");
    values.students[2] = {QStringLiteral("C2468013"), QStringLiteral("Inconsistent"),
                          QStringLiteral("Scope For Improvement (I)"), QStringLiteral("Good (G)")};
    ASSERT_TRUE(save(values));
    EXPECT_EQ(fileBytes(), fixture(QStringLiteral("laid_out.saved.fhi")));
}

TEST_F(SaveTest, SavedValuesReadBackTheSame)
{
    start(generateTutorFile({4, 1, false}));
    QRandomGenerator random(20261208);
    const QString alphabet = QStringLiteral("abcXYZ019 <>&'\"\u00e9\u20ac\u2019\u00a3\t");
    auto randomText = [&](int length) {
        QString text;
        for (int i = 0; i < length; ++i)
            text += alphabet.at(random.bounded(int(alphabet.size())));
        return text;
    };
    for (int round = 0; round < 25; ++round) {
        MonitorFormValues values = shownValues();
        for (QString &flag : values.flags)
            flag = randomText(3).remove(u'<').remove(u'>').remove(u'&');
        values.comments = randomText(60);
        for (StudentGrading &row : values.students)
            row.marking = randomText(8).remove(u'<').remove(u'>').remove(u'&');
        ASSERT_TRUE(save(values)) << messages.texts.join(u'\n').toStdString();

        TutorData reread;
        ReadTutorXMLFile(folder.path(), QStringLiteral("\\monitor.fhi"), reread, messages, files);
        ASSERT_TRUE(messages.texts.isEmpty()) << messages.texts.join(u'\n').toStdString();
        for (int i = 0; i < kFlagCount; ++i)
            EXPECT_EQ(decodeAnsi(reread.record.flags[i]), trimBlanks(values.flags[i]));
        EXPECT_EQ(decodeAnsi(reread.record.monitor_comments), trimBlanks(values.comments));
        for (size_t s = 0; s < values.students.size(); ++s) {
            EXPECT_EQ(decodeAnsi(reread.record.students[s].marking),
                      trimBlanks(values.students[s].marking));
        }
    }
}

TEST_F(SaveTest, EveryByteOutsideTheSavedElementsSurvives)
{
    QByteArray everyByte;
    for (int b = 0; b < 256; ++b)
        everyByte.append(static_cast<char>(b));
    const QByteArray original =
        edited(generateTutorFile({2, 1, true}), "<locn_code>04</locn_code>",
               "<locn_code>" + everyByte + "</locn_code>\n\r\n" + everyByte);
    start(original);
    ASSERT_TRUE(save(shownValues()));
    const QByteArray expected =
        withStudentsAsShown(edited(original, "<monitor_comment_date></monitor_comment_date>",
                                   "<monitor_comment_date>08-Dec-2026</monitor_comment_date>"));
    EXPECT_EQ(fileBytes(), expected);
}

// Wherever the single elements stand, and whatever their values hold, the save writes what
// replacing them one by one writes: each value in its place and nothing else changed.
TEST_F(SaveTest, ValuesLandInPlaceWhereverTheElementsStand)
{
    const QByteArray file = edited(generateTutorFile({2, 1, true}), "<flag15></flag15>", "");
    const struct
    {
        QByteArray from, to, flag15;
    } layouts[] = {
        {"<student_list>", "<flag15></flag15><student_list>", "G"}, // touching the list
        {"<student_list>", "<flag15></flag15><student_list>", "G<"},
        {"</student_list>", "</student_list><flag15></flag15>", "G"}, // behind the list
        {"<tutor_monitoring_file>", "<flag15></flag15><tutor_monitoring_file>", "G"}, // first
        {"<flag2></flag2>", "<flag2>a<b</flag2><flag15></flag15>", "G"},              // an old '<'
    };
    for (const auto &layout : layouts) {
        start(edited(file, layout.from, layout.to));
        const QByteArray before = fileBytes();
        MonitorFormValues values = shownValues();
        values.flags[0] = QStringLiteral("E");
        values.flags[14] = QString::fromLatin1(layout.flag15);
        ASSERT_TRUE(save(values)) << layout.to.toStdString();
        QByteArray expected = edited(before, "<flag1></flag1>", "<flag1>E</flag1>");
        expected = edited(expected, "<flag15></flag15>", "<flag15>" + layout.flag15 + "</flag15>");
        expected = edited(expected, "<monitor_comment_date></monitor_comment_date>",
                          "<monitor_comment_date>08-Dec-2026</monitor_comment_date>");
        EXPECT_EQ(fileBytes(), withStudentsAsShown(expected)) << layout.to.toStdString();
    }
}

TEST_F(SaveTest, MissingFlagIsInsertedBeforePreferences)
{
    start(edited(generateTutorFile({1, 1, true}), "<flag7></flag7>", ""));
    MonitorFormValues values = shownValues();
    values.flags[6] = QStringLiteral("G");
    ASSERT_TRUE(save(values));
    EXPECT_TRUE(fileBytes().contains("<flag7>G</flag7></preferences>"));
}

TEST_F(SaveTest, EmptyFormLeftByAnotherProgramIsFilledInPlace)
{
    start(generateTutorFile({1, 1, true}));
    put(edited(fileBytes(), "<flag7></flag7>", "<flag7/>"));
    MonitorFormValues values = shownValues();
    values.flags[6] = QStringLiteral("G");
    ASSERT_TRUE(save(values));
    EXPECT_EQ(fileBytes().count("<flag7>"), 1);
    EXPECT_TRUE(fileBytes().contains("<flag6></flag6>\r\n    <flag7>G</flag7>"));
}

TEST_F(SaveTest, StudentBlockKeepsOnlyTheThreeSavedElements)
{
    start(edited(generateTutorFile({1, 1, true}), "<pt3_commenting></pt3_commenting>",
                 "<pt3_commenting></pt3_commenting><extra>x</extra>"));
    ASSERT_TRUE(save(shownValues()));
    EXPECT_FALSE(fileBytes().contains("<extra>"));
    EXPECT_TRUE(fileBytes().contains("</student_completed><marking></marking><pt3_commenting>"
                                     "</pt3_commenting><script_commenting></script_commenting>"
                                     "</student_monitoring_details>"));
}

TEST_F(SaveTest, BlocksWithoutARowAndBeyondTheCountStayUnchanged)
{
    const QByteArray file = generateTutorFile({3, 1, true});
    start(edited(file, "<number_scripts>3<", "<number_scripts>2<"));
    const QByteArray before = fileBytes();
    MonitorFormValues values = shownValues();
    values.students[0].personalId = QStringLiteral("nobody");
    values.students[1].marking = QStringLiteral("Lenient");
    ASSERT_TRUE(save(values));
    QByteArray expected = edited(before, "<monitor_comment_date></monitor_comment_date>",
                                 "<monitor_comment_date>08-Dec-2026</monitor_comment_date>");
    expected = withStudentValues(expected, generatedStudentId(1), "Lenient", "", "Good (G)");
    EXPECT_EQ(fileBytes(), expected);
}

TEST_F(SaveTest, UnreadableStudentCountNeverEmptiesTheList)
{
    for (const QByteArray &count : {QByteArray("0"), QByteArray("many")}) {
        start(edited(generateTutorFile({2, 1, true}), "<number_scripts>2<",
                     "<number_scripts>" + count + "<"));
        const QByteArray before = fileBytes();
        ASSERT_TRUE(save(shownValues()));
        EXPECT_EQ(fileBytes(), edited(before, "<monitor_comment_date></monitor_comment_date>",
                                      "<monitor_comment_date>08-Dec-2026</monitor_comment_date>"));
    }
}

TEST_F(SaveTest, RepeatedIdsEachKeepTheirOwnBlockAndRow)
{
    QByteArray file = generateTutorFile({2, 1, true});
    file = file.replace(generatedStudentId(1), generatedStudentId(0));
    start(file);
    MonitorFormValues values = shownValues();
    values.students[0].marking = QStringLiteral("Lenient");
    values.students[1].marking = QStringLiteral("Severe");
    ASSERT_TRUE(save(values));
    const QByteArray after = fileBytes();
    EXPECT_EQ(after.count("<student_details>"), 2);
    EXPECT_LT(after.indexOf("<marking>Lenient</marking>"),
              after.indexOf("<marking>Severe</marking>"));
    EXPECT_GE(after.indexOf("<marking>Lenient</marking>"), 0);
}

TEST_F(SaveTest, MissingPersonalIdIsReportedAndTheSaveGoesOn)
{
    start(edited(generateTutorFile({2, 1, true}),
                 "<student_personal_id>" + generatedStudentId(0) + "</student_personal_id>", ""));
    bool locked = false; // another writer would wait on the monitor
    messages.onShow = [&] { locked |= QFileInfo::exists(filePath() + QStringLiteral(".lock")); };
    ASSERT_TRUE(save(shownValues()));
    EXPECT_FALSE(locked);
    EXPECT_EQ(messages.texts,
              QStringList{QStringLiteral("Missing <student_personal_id> from xml file.")});
}

struct RefusedCase
{
    const char *name;
    QByteArray from;
    QByteArray to;
    QString missingTag;
    QByteArray alsoFrom = {};
};

class RefusedSaveTest : public SaveTest, public testing::WithParamInterface<RefusedCase>
{
};

// A file the save cannot take apart soundly is left exactly as it is, phase one included.
TEST_P(RefusedSaveTest, WritesNothingAndNamesTheElement)
{
    const RefusedCase &c = GetParam();
    start(generateTutorFile({2, 1, true}));
    QByteArray damaged = edited(fileBytes(), c.from, c.to);
    if (!c.alsoFrom.isEmpty())
        damaged = edited(damaged, c.alsoFrom, "");
    put(damaged);
    MonitorFormValues values = shownValues();
    values.flags[0] = QStringLiteral("E");
    EXPECT_FALSE(save(values));
    EXPECT_EQ(fileBytes(), damaged);
    EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("monitor.fhi")});
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].startsWith(QStringLiteral("Missing ") + c.missingTag +
                                             QStringLiteral(" from xml file.")))
        << messages.texts[0].toStdString();
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RefusedSaveTest,
    testing::Values(RefusedCase{"flagWithoutPreferences", "<flag7></flag7>", "",
                                QStringLiteral("<flag7>"), "</preferences>"},
                    RefusedCase{"flagStartTagOnly", "</flag7>", "", QStringLiteral("</flag7>")},
                    RefusedCase{"flagEndTagOnly", "<flag7>", "", QStringLiteral("<flag7>")},
                    RefusedCase{"studentListMissing", "<student_list>", "",
                                QStringLiteral("<student_list>")},
                    RefusedCase{"studentListUnclosed", "</student_list>", "",
                                QStringLiteral("</student_list>")},
                    RefusedCase{"tooFewBlocks", "</student_details><student_details>",
                                "</student_details>", QStringLiteral("<student_details>")},
                    RefusedCase{"completedUnclosed", "N</student_completed>", "N",
                                QStringLiteral("</student_completed>")},
                    RefusedCase{"monitoringUnclosed", "</student_monitoring_details>", "",
                                QStringLiteral("</student_monitoring_details>")}),
    [](const testing::TestParamInfo<RefusedCase> &info) { return std::string(info.param.name); });

TEST_F(SaveTest, EntriesThatWouldNotReadBackAreRefused)
{
    // An element inserted in front of a "</preferences>" inside the student list, and a flag
    // that encloses others, would both lose entries.
    const QByteArray preferencesInList =
        edited(edited(generateTutorFile({1, 1, true}), "<flag7></flag7>", ""), "</student_list>",
               "</preferences></student_list>");
    QByteArray flagSpanningOthers =
        edited(generateTutorFile({1, 1, true}), "<flag13></flag13>", "");
    flagSpanningOthers = edited(flagSpanningOthers, "<flag1></flag1>", "<flag1></flag1><flag13>");
    flagSpanningOthers = edited(flagSpanningOthers, "<flag4></flag4>", "</flag13><flag4></flag4>");
    for (const QByteArray &damaged : {preferencesInList, flagSpanningOthers}) {
        start(generateTutorFile({1, 1, true}));
        put(damaged);
        MonitorFormValues values = shownValues();
        values.flags[1] = QStringLiteral("G");
        values.flags[6] = QStringLiteral("E");
        EXPECT_FALSE(save(values));
        EXPECT_EQ(fileBytes(), damaged);
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("damaged around <flag")));
    }
}

TEST_F(SaveTest, CommentCharactersTheFileCannotHoldAreRefusedByName)
{
    start(generateTutorFile({1, 1, true}));
    const QByteArray before = fileBytes();
    MonitorFormValues values = shownValues();
    values.comments = QStringLiteral("Dzi\u0119kuj\u0119 \u015bwietnie \U0001F600 \u20ac");
    EXPECT_FALSE(save(values));
    EXPECT_EQ(fileBytes(), before);
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(QStringLiteral("\u0119 \u015b \U0001F600")));
}

TEST_F(SaveTest, VanishedFileIsReportedAndNothingIsCreated)
{
    start(generateTutorFile({1, 1, true}));
    ASSERT_TRUE(QFile::remove(filePath()));
    EXPECT_FALSE(save(shownValues()));
    EXPECT_TRUE(folder.entries().isEmpty());
    ASSERT_EQ(messages.texts.size(), 1);
    EXPECT_TRUE(messages.texts[0].contains(filePath()));
}

// The lock or any step of the one rewrite failing in turn: the save reports that nothing was
// saved and names the file, which holds exactly the text before the save (the new text once it
// is in place); no temporary or lock file is left behind.
TEST_F(SaveTest, FailureAtAnyStepOfTheRewriteIsReported)
{
    using Step = FailingFileOperations::Step;
    const Step steps[] = {Step::Lock,  Step::Read,        Step::CopyToBackup, Step::CreateTemporary,
                          Step::Write, Step::FlushToDisk, Step::Replace,      Step::FlushFolder};
    const QByteArray original = generateTutorFile({2, 1, true});
    for (const Step step : steps) {
        start(original);
        MonitorFormValues values = shownValues();
        values.flags[0] = QStringLiteral("E");
        values.students[0].marking = QStringLiteral("Severe");
        FailingFileOperations failing(step);
        EXPECT_FALSE(save(values, failing)) << int(step);
        ASSERT_EQ(messages.texts.size(), 1) << int(step);
        EXPECT_TRUE(messages.texts[0].contains(filePath()));

        const bool replaced = step == Step::FlushFolder;
        EXPECT_EQ(messages.texts[0].contains(QStringLiteral("Nothing was saved")), !replaced);
        if (replaced) {
            EXPECT_TRUE(fileBytes().contains("<flag1>E</flag1>") &&
                        fileBytes().contains("<marking>Severe</marking>"));
        } else {
            EXPECT_EQ(fileBytes(), original) << int(step);
        }
        for (const QString &entry : folder.entries())
            EXPECT_FALSE(entry.endsWith(QStringLiteral(".tmp")) ||
                         entry.endsWith(QStringLiteral(".lock")))
                << entry.toStdString();
    }
}

// The process stopping dead at any step of the rewrite: the file holds exactly the text before
// or after the save, the ".BAK" the text before it once it was made, and the next save finishes
// the work and leaves no temporary file behind.
TEST_F(SaveTest, AbruptStopAtAnyStepLeavesAWholeFileAndTheNextSaveCleansUp)
{
    using Step = FailingFileOperations::Step;
    using Failure = FailingFileOperations::Failure;
    start(generateTutorFile({2, 1, true}));
    const QByteArray original = fileBytes();
    MonitorFormValues values = shownValues();
    values.flags[0] = QStringLiteral("E");
    values.students[0].marking = QStringLiteral("Severe");
    FailingFileOperations recording;
    ASSERT_TRUE(save(values, recording));
    EXPECT_EQ(recording.calls.count(Step::Replace), 1); // written once
    const QByteArray saved = fileBytes();

    const Step steps[] = {Step::Read,        Step::CopyToBackup, Step::CreateTemporary,
                          Step::Write,       Step::FlushToDisk,  Step::Replace,
                          Step::FlushFolder, Step::RemoveFile};
    for (const Step step : steps) {
        start(original);
        FailingFileOperations stopping(step, 1, Failure::AbruptStop);
        EXPECT_THROW(save(values, stopping), FailingFileOperations::AbruptStop) << int(step);

        const bool replaced = step == Step::FlushFolder || step == Step::RemoveFile;
        EXPECT_EQ(fileBytes(), replaced ? saved : original) << int(step);
        if (step != Step::Read && step != Step::CopyToBackup) {
            EXPECT_EQ(folder.read(QStringLiteral("monitor.fhi.BAK")), original) << int(step);
        }

        EXPECT_TRUE(save(values)) << int(step);
        EXPECT_EQ(fileBytes(), saved) << int(step);
        EXPECT_EQ(folder.entries(), QStringList{QStringLiteral("monitor.fhi")}) << int(step);
    }
}

// Whatever stands at the lock's name (its content or kind, its age, the message): a living
// writer's lock (process 1, however old) fails the save once the wait is over, naming it, with
// nothing written; one left by a writer that ended (its id perhaps given again to a later
// process: this test's own), an empty one older than 2 s and one of another computer older than
// 30 s are broken, and the freed lock is taken at once whatever the wait; anything but a lock
// file fails the save at once, naming the path and what is there.
TEST_F(SaveTest, AnotherWritersLockIsWaitedForOrBroken)
{
    const QByteArray here = QSysInfo::machineHostName().toUtf8();
    const QByteArray ended = "999999\nmonitorfhi\n" + here + "\n";
    const QByteArray elsewhere = "1\nmonitorfhi\nelsewhere.invalid\n";
    const std::tuple<QByteArray, int, QString> rows[] = {
        {"1\nmonitorfhi\n" + here + "\n", 31, QStringLiteral("process 1 on ")},
        {QByteArray::number(QCoreApplication::applicationPid()) + "\nmonitorfhi\n" + here + "\n",
         3600,
         {}},
        {ended, 0, {}},
        {"", 3, {}},
        {"", 0, QStringLiteral("its lock file")},
        {elsewhere, 31, {}},
        {elsewhere, 10, QStringLiteral("process 1 on elsewhere.invalid")},
        {"fifo", 0, QStringLiteral("a pipe (FIFO) stands at its name")},
        {"folder", 0, QStringLiteral("a folder stands at its name")},
        {"link", 0, QStringLiteral("a link stands at its name")},
        {"break", 0, QStringLiteral(".lock.break cannot be taken: a pipe (FIFO)")},
    };
    start(generateTutorFile({1, 1, true}));
    const QByteArray before = fileBytes();
    MonitorFormValues values = shownValues();
    values.flags[0] = QStringLiteral("E");
    LocalFileOperations impatient(std::chrono::milliseconds(30));
    const QString lock = filePath() + QStringLiteral(".lock");
    for (const auto &[planted, age, said] : rows) {
        put(before);
        messages.texts.clear();
        const QByteArray fifo = QFile::encodeName(lock) + (planted == "break" ? ".break" : "");
        if (planted == "fifo" || planted == "break") {
            ASSERT_EQ(::mkfifo(fifo.constData(), 0600), 0);
        }
        if (planted == "folder" || planted == "link") {
            ASSERT_TRUE(planted == "link" ? QFile::link(folder.path(QStringLiteral("no")), lock)
                                          : QDir().mkdir(lock));
        }
        if (!QFileInfo(lock).isSymLink() && !QFileInfo::exists(lock)) {
            folder.write(QStringLiteral("monitor.fhi.lock"), planted == "break" ? ended : planted);
            QFile file(lock);
            ASSERT_TRUE(file.open(QIODevice::ReadWrite) &&
                        file.setFileTime(QDateTime::currentDateTime().addSecs(-age),
                                         QFileDevice::FileModificationTime));
        }
        EXPECT_EQ(save(values, impatient), said.isEmpty()) << planted.constData();
        EXPECT_EQ(fileBytes().contains("<flag1>E</flag1>"), said.isEmpty());
        EXPECT_EQ(messages.texts.size(), said.isEmpty() ? 0 : 1);
        EXPECT_TRUE(messages.texts.join(u' ').contains(said))
            << messages.texts.join(u' ').toStdString();
        for (const QString &name : folder.entries())
            QDir().rmdir(folder.path(name)) || name == QStringLiteral("monitor.fhi") ||
                QFile::remove(folder.path(name));
    }
}

// Another program's doing while the save runs: the temporary file removed, its lock put in place
// of this writer's (held up past the stale age), a file of another course, presentation or
// assignment moved over this one. Nothing is written, the message is true, the other's lock stays.
TEST_F(SaveTest, AnotherProgramsDoingMidwayWritesNothing)
{
    using Step = FailingFileOperations::Step;
    const QByteArray other = "1\nmonitorfhi\nelsewhere.invalid\nnewer\n";
    const std::tuple<Step, QByteArray, QString> rows[] = {
        {Step::Replace, "tmp", QStringLiteral("was removed by another")},
        {Step::Read, "<course_code>M101<", QStringLiteral("another tutor or assignment")},
        {Step::Read, "<pres_code>05B<", QStringLiteral("another tutor or assignment")},
        {Step::Read, "<assgnmt_suffix>02<", QStringLiteral("another tutor or assignment")},
        {Step::FlushToDisk, "lock", QStringLiteral("took over the file's lock")},
    };
    start(generateTutorFile({2, 1, true}));
    const QByteArray before = fileBytes();
    const MonitorFormValues asRead = formValuesOf(data);
    MonitorFormValues values = shownValues();
    values.flags[0] = QStringLiteral("E");
    for (const auto &[at, doing, said] : rows) {
        const QByteArray left =
            doing.startsWith('<') ? edited(before, doing, doing.chopped(1) + "X<") : before;
        put(before);
        messages.texts.clear();
        FailingFileOperations interfering;
        interfering.onStep = [&, at = at, doing = doing](Step step) {
            // A breaker removes the lock, then makes its own.
            for (const QString &name : step == at ? folder.entries() : QStringList()) {
                if (name.endsWith(QLatin1String(doing == "tmp" ? ".tmp" : ".lock")) &&
                    !doing.startsWith('<'))
                    QFile::remove(folder.path(name));
            }
            if (step == at && doing != "tmp")
                doing == "lock" ? (void)folder.write(QStringLiteral("monitor.fhi.lock"), other)
                                : (void)put(left);
        };
        EXPECT_FALSE(SaveMonitorForm(filePath(), values, data.NumberScriptsText, interfering,
                                     messages, &asRead));
        EXPECT_EQ(fileBytes(), left);
        ASSERT_EQ(messages.texts.size(), 1);
        EXPECT_TRUE(messages.texts[0].contains(said) &&
                    messages.texts[0].contains(QStringLiteral("Nothing was saved")) &&
                    !messages.texts[0].contains(QStringLiteral("No such file")))
            << messages.texts[0].toStdString();
    }
    EXPECT_EQ(folder.read(QStringLiteral("monitor.fhi.lock")), other);
}

// A line break typed in the comments is stored as CR LF; comments the monitor left alone keep
// the line breaks the file holds, while another program's change to them is kept.
TEST_F(SaveTest, CommentLineBreaksAreStoredAsCrLfAndKeptWhenUnchanged)
{
    start(edited(generateTutorFile({1, 1, true}), "<monitor_comments></monitor_comments>",
                 "<monitor_comments>one\ntwo\r\nthree</monitor_comments>"));
    const MonitorFormValues asRead = shownValues();
    MonitorFormValues values = asRead;
    values.comments = QStringLiteral("one\ntwo\nthree"); // as the box gives them back
    values.flags[0] = QStringLiteral("E");
    ASSERT_TRUE(
        SaveMonitorForm(filePath(), values, data.NumberScriptsText, files, messages, &asRead));
    EXPECT_TRUE(fileBytes().contains("<monitor_comments>one\ntwo\r\nthree</monitor_comments>"));

    put(edited(fileBytes(), "<flag2></flag2>", "<flag2>G</flag2>")); // another writer
    values.comments = QStringLiteral("one\ntwo");
    ASSERT_TRUE(
        SaveMonitorForm(filePath(), values, data.NumberScriptsText, files, messages, &asRead));
    EXPECT_TRUE(fileBytes().contains("<monitor_comments>one\r\ntwo</monitor_comments>"));
    EXPECT_TRUE(fileBytes().contains("<flag1>E</flag1>"));
    EXPECT_TRUE(fileBytes().contains("<flag2>G</flag2>"));
}

} // namespace
