#include "printdocument.h"

namespace {

constexpr int kCommentWidth = 95;

// Items placed by column, as a line printer with a movable print position does it.
class LineBuilder
{
public:
    void place(int column, const QString &text)
    {
        if (m_position > column)
            endLine();
        m_current.append({column, text});
        m_position = column + int(text.size());
    }
    void endLine()
    {
        m_lines.append(m_current);
        m_current.clear();
        m_position = 1;
    }
    void emptyLines(int count)
    {
        for (int i = 0; i < count; ++i)
            endLine();
    }
    QList<PrintLine> take() { return std::move(m_lines); }

private:
    QList<PrintLine> m_lines;
    PrintLine m_current;
    int m_position = 1;
};

void placeCriteria(LineBuilder &out, const PrintSource &source, int firstRow, int lastRow,
                   int textCol)
{
    for (int row = firstRow; row <= lastRow; ++row) {
        out.place(1, source.criteria[row][textCol].trimmed());
        out.place(65, source.criteria[row][textCol + 1]);
        out.endLine();
    }
}

} // namespace

QList<PrintLine> layOutPrintDocument(const PrintSource &source)
{
    static constexpr int studentColumns[4] = {1, 30, 45, 67};
    LineBuilder out;
    out.emptyLines(1);
    // A long name would run off the page: the line wraps as the comments do.
    for (const QString &piece : wrapComments(source.tutor)) {
        out.place(1, piece);
        out.endLine();
    }
    out.emptyLines(1);
    out.place(1, source.region.trimmed());
    out.place(20, source.course.trimmed());
    out.endLine();
    out.emptyLines(1);

    const std::array<QString, 4> heading = source.studentRows.value(0);
    for (int c = 0; c < 4; ++c)
        out.place(studentColumns[c], heading[c]);
    out.endLine();
    out.emptyLines(1);
    // No line break between the students' rows: placing the next name at column 1 starts one.
    for (qsizetype row = 1; row < source.studentRows.size(); ++row) {
        for (int c = 0; c < 4; ++c)
            out.place(studentColumns[c], source.studentRows[row][c]);
    }
    out.endLine();
    out.emptyLines(1);

    placeCriteria(out, source, 0, 0, 0);
    out.emptyLines(2);
    placeCriteria(out, source, 1, 6, 0);
    out.emptyLines(2);
    placeCriteria(out, source, 0, 0, 2);
    out.emptyLines(1);
    placeCriteria(out, source, 1, 9, 2);
    out.emptyLines(2);

    for (const QString &piece : wrapComments(source.comments)) {
        out.place(2, piece);
        out.endLine();
    }
    out.emptyLines(1);
    return out.take();
}

QStringList wrapComments(const QString &comments)
{
    static const QString pair = QStringLiteral("\r\n");
    QStringList pieces;
    QString remainder = comments;
    for (;;) {
        const qsizetype end = remainder.indexOf(pair);
        QString line = end < 0 ? remainder : remainder.left(end);
        remainder = end < 0 ? QString() : remainder.mid(end + pair.size());
        while (line.size() > kCommentWidth) {
            const qsizetype space = line.lastIndexOf(u' ', kCommentWidth - 1);
            const qsizetype breakAt = space < 0 ? kCommentWidth : space + 1;
            pieces.append(line.left(breakAt));
            line.remove(0, breakAt);
        }
        pieces.append(line);
        if (end < 0)
            return pieces;
    }
}

QString toWindowsLineEnds(const QString &text)
{
    QString result;
    result.reserve(text.size() + text.count(u'\n'));
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\n' && (i == 0 || text[i - 1] != u'\r'))
            result += u'\r';
        result += text[i];
    }
    return result;
}

QStringList renderPrintLines(const QList<PrintLine> &lines)
{
    QStringList rendered;
    for (const PrintLine &line : lines) {
        QString text;
        for (const PrintItem &item : line) {
            if (item.text.isEmpty())
                continue;
            if (text.size() < item.column - 1)
                text += QString(item.column - 1 - text.size(), u' ');
            text += item.text;
        }
        rendered.append(text);
    }
    return rendered;
}
