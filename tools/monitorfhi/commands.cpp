#include "commands.h"

#include "consolemessages.h"
#include "jsonwriter.h"

#include "ansicodec.h"
#include "fileoperations.h"
#include "monitorsave.h"
#include "suitepath.h"
#include "textvalues.h"
#include "tutorfilereader.h"

#include <QDirIterator>
#include <QFileInfo>
#include <QTextStream>

#include <cstdio>
#include <map>

using namespace monitorfile;

namespace {

const QString kTitle = QStringLiteral("\\monitor.fhi");

// The reader takes a folder and a title; a file of any name is passed as its folder and
// "\" + its name, which the reader joins again.
struct FileName
{
    QString folder;
    QString title;
    QString path;
};

FileName splitFileName(const QString &file)
{
    const QFileInfo info(file);
    return {info.path(), QLatin1Char('\\') + info.fileName(), file};
}

bool checkReadableFile(const QString &file)
{
    const QFileInfo info(file);
    if (!info.exists() || info.isDir()) {
        printError(QStringLiteral("monitorfhi: not a file: %1").arg(file));
        return false;
    }
    // Reading a pipe would wait for a writer for ever.
    if (!info.isFile()) {
        printError(QStringLiteral("monitorfhi: not a regular file: %1").arg(file));
        return false;
    }
    return true;
}

QString text(const FieldValue &value)
{
    if (const auto *bytes = std::get_if<QByteArray>(&value))
        return decodeAnsi(*bytes);
    return std::get<QString>(value);
}

void writeFields(JsonWriter &json, const QList<NamedField> &fields)
{
    for (const NamedField &field : fields) {
        if (const int *number = std::get_if<int>(&field.value))
            json.value(field.name.constData(), *number);
        else
            json.value(field.name.constData(), text(field.value));
    }
}

QByteArray modelJson(const TutorData &data, const QStringList &messages)
{
    JsonWriter json;
    json.beginObject();
    json.beginObject("tutor");
    writeFields(json, tutorFields(data.record));
    json.endObject();
    json.beginArray("students");
    for (const StudentRecord &student : data.record.students) {
        json.beginObject();
        writeFields(json, studentFields(student));
        json.endObject();
    }
    json.endArray();
    json.beginArray("messages");
    for (const QString &message : messages)
        json.value(nullptr, message);
    json.endArray();
    json.endObject();
    return json.result();
}

int usageError(const QString &problem)
{
    printError(QStringLiteral("monitorfhi: ") + problem);
    QTextStream(stderr) << usageText();
    return kExitUsage;
}

// The characters the form refuses in a criterion's rating, and the markup characters, which
// would break the file's elements if they were written unencoded into a student's values.
const QString kRefusedInRatings = QStringLiteral("\"<>\\/'&");
const QString kRefusedInGrid = QStringLiteral("<>");

bool holdsAnyOf(const QString &text, const QString &characters)
{
    return std::any_of(characters.begin(), characters.end(),
                       [&](QChar c) { return text.contains(c); });
}

// What `set` changes, as given on its command line.
struct SetRequest
{
    QString file;
    std::map<int, QString> flags; // flag number -> text
    std::optional<QString> comments;
    std::optional<QString> date;
    std::map<QString, StudentGrading> students; // trimmed id -> values
};

bool parseSet(const QStringList &args, SetRequest &request, QString &problem)
{
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args[i];
        const bool takesValue = arg == QLatin1String("--flag") ||
                                arg == QLatin1String("--comments") ||
                                arg == QLatin1String("--student") || arg == QLatin1String("--date");
        if (!takesValue) {
            if (arg.startsWith(QLatin1String("--")) || !request.file.isEmpty()) {
                problem = QStringLiteral("unexpected argument: %1").arg(arg);
                return false;
            }
            request.file = arg;
            continue;
        }
        if (i + 1 >= args.size()) {
            problem = QStringLiteral("%1 needs a value").arg(arg);
            return false;
        }
        const QString value = args[++i];
        if (arg == QLatin1String("--comments")) {
            request.comments = value;
        } else if (arg == QLatin1String("--date")) {
            request.date = value;
        } else if (arg == QLatin1String("--flag")) {
            const qsizetype eq = value.indexOf(QLatin1Char('='));
            bool ok = false;
            const int n = eq > 0 ? value.left(eq).toInt(&ok) : 0;
            if (!ok || n < 1 || n > kFlagCount) {
                problem = QStringLiteral("--flag wants N=TEXT with N from 1 to 15: %1").arg(value);
                return false;
            }
            const QString flag = value.mid(eq + 1);
            if (holdsAnyOf(flag, kRefusedInRatings)) {
                problem = QStringLiteral("a rating cannot hold any of %1: %2")
                              .arg(kRefusedInRatings, value);
                return false;
            }
            request.flags[n] = flag;
        } else {
            const qsizetype eq = value.indexOf(QLatin1Char('='));
            const QStringList parts = value.mid(eq + 1).split(QLatin1Char('|'));
            if (eq <= 0 || parts.size() != 3) {
                problem =
                    QStringLiteral("--student wants ID=MARKING|SUMMARY|SCRIPT: %1").arg(value);
                return false;
            }
            if (holdsAnyOf(value, kRefusedInGrid)) {
                problem = QStringLiteral("a student's values cannot hold %1: %2")
                              .arg(kRefusedInGrid, value);
                return false;
            }
            const QString id = trimBlanks(value.left(eq));
            request.students[id] = {id, parts[0], parts[1], parts[2]};
        }
    }
    if (request.file.isEmpty()) {
        problem = QStringLiteral("set needs a FILE");
        return false;
    }
    return true;
}

MonitorFormValues valuesFrom(const MonitorFormValues &asRead, const SetRequest &request)
{
    MonitorFormValues values = asRead;
    values.comments = request.comments.value_or(asRead.comments);
    values.commentDate = request.date.value_or(formatCommentDate(QDate::currentDate()));
    for (const auto &[n, flag] : request.flags)
        values.flags[n - 1] = flag;
    for (StudentGrading &row : values.students) {
        const auto change = request.students.find(trimBlanks(row.personalId));
        if (change != request.students.end()) {
            row.marking = change->second.marking;
            row.summaryFeedback = change->second.summaryFeedback;
            row.scriptComments = change->second.scriptComments;
        }
    }
    return values;
}

QStringList filesUnder(const QString &path)
{
    if (!QFileInfo(path).isDir())
        return {path};
    QStringList found;
    QDirIterator it(path, {QStringLiteral("monitor.fhi")}, QDir::Files | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        found.append(it.next());
    found.sort();
    return found;
}

} // namespace

QString usageText()
{
    return QStringLiteral(
        "usage:\n"
        "  monitorfhi show FILE [--write-normalised]\n"
        "  monitorfhi set FILE [--flag N=TEXT]... [--comments TEXT]\n"
        "                 [--student ID=MARKING|SUMMARY|SCRIPT]... [--date TEXT]\n"
        "  monitorfhi check PATH...\n"
        "  monitorfhi --version\n"
        "exit status: 0 no message, 1 messages were shown, 2 usage or I/O error\n");
}

int runShow(const QStringList &args)
{
    QString file;
    bool writeNormalised = false;
    for (const QString &arg : args) {
        if (arg == QLatin1String("--write-normalised"))
            writeNormalised = true;
        else if (arg.startsWith(QLatin1String("--")) || !file.isEmpty())
            return usageError(QStringLiteral("unexpected argument: %1").arg(arg));
        else
            file = arg;
    }
    if (file.isEmpty())
        return usageError(QStringLiteral("show needs a FILE"));
    if (!checkReadableFile(file))
        return kExitUsage;

    const FileName name = splitFileName(file);
    LocalFileOperations files;
    ConsoleMessages messages(false);
    TutorData data;
    const ReadReport report = ReadTutorXMLFile(name.folder, name.title, data, messages, files,
                                               ReadOptions{writeNormalised});
    if (report.readFailed) {
        printError(messages.texts.join(QLatin1Char(' ')));
        return kExitUsage;
    }
    const QByteArray json = modelJson(data, messages.texts);
    std::fwrite(json.constData(), 1, json.size(), stdout);
    return messages.texts.isEmpty() ? kExitClean : kExitMessages;
}

int runSet(const QStringList &args)
{
    SetRequest request;
    QString problem;
    if (!parseSet(args, request, problem))
        return usageError(problem);
    if (!checkReadableFile(request.file))
        return kExitUsage;

    // Read without writing first: an unknown student must leave the file untouched.
    const FileName name = splitFileName(request.file);
    LocalFileOperations files;
    ConsoleMessages messages(true);
    TutorData data;
    const ReadReport report =
        ReadTutorXMLFile(name.folder, name.title, data, messages, files, ReadOptions{false});
    if (report.readFailed)
        return kExitUsage;
    for (const auto &[id, grading] : request.students) {
        const bool known =
            std::any_of(data.record.students.begin(), data.record.students.end(),
                        [&id = id](const StudentRecord &s) {
                            return trimBlanks(decodeAnsi(s.student_personal_id)) == id;
                        });
        if (!known)
            return usageError(QStringLiteral("no student with the id %1 in %2").arg(id, name.path));
    }
    const QString path = suiteFilePath(name.folder, name.title);
    if (report.normalised && !report.malformed &&
        !WriteNormalisedText(path, report.readText, report.normalisedText, files, messages))
        return kExitUsage;
    // Only what the command line changes is ours: the rest stays as the file holds it at the save.
    const MonitorFormValues asRead = formValuesOf(data);
    if (!SaveMonitorForm(path, valuesFrom(asRead, request), data.NumberScriptsText, files, messages,
                         &asRead))
        return kExitUsage;
    return messages.texts.isEmpty() ? kExitClean : kExitMessages;
}

int runCheck(const QStringList &args)
{
    if (args.isEmpty())
        return usageError(QStringLiteral("check needs at least one PATH"));
    bool problems = false;
    QTextStream out(stdout);
    for (const QString &path : args) {
        if (!QFileInfo::exists(path)) {
            printError(QStringLiteral("monitorfhi: no such file or folder: %1").arg(path));
            return kExitUsage;
        }
        if (!QFileInfo(path).isDir() && !checkReadableFile(path))
            return kExitUsage;
        for (const QString &file : filesUnder(path)) {
            const FileName name = splitFileName(file);
            LocalFileOperations files;
            ConsoleMessages messages(false);
            TutorData data;
            const ReadReport report = ReadTutorXMLFile(name.folder, name.title, data, messages,
                                                       files, ReadOptions{false});
            for (const QString &message : messages.texts)
                out << file << ": " << QString(message).replace(QLatin1Char('\n'), QLatin1Char(' '))
                    << '\n';
            if (report.malformed)
                out << file << ": damaged: start-up will not tidy or rewrite it\n";
            else if (report.normalised)
                out << file << ": will be tidied and rewritten at start-up\n";
            if (messages.texts.isEmpty() && !report.malformed)
                out << file << ": ok\n";
            problems = problems || !messages.texts.isEmpty() || report.malformed;
        }
    }
    return problems ? kExitMessages : kExitClean;
}
