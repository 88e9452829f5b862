#include "pdftext.h"

#include <QProcess>

QByteArray pdfText(const QString &pdfPath)
{
    QProcess pdftotext;
    pdftotext.start(QStringLiteral("pdftotext"),
                    {QStringLiteral("-fixed"), QStringLiteral("6"), QStringLiteral("-enc"),
                     QStringLiteral("UTF-8"), pdfPath, QStringLiteral("-")});
    if (!pdftotext.waitForFinished(60000) || pdftotext.exitStatus() != QProcess::NormalExit ||
        pdftotext.exitCode() != 0)
        return {};
    return pdftotext.readAllStandardOutput();
}

QList<QStringList> pdfPages(const QString &pdfPath)
{
    const QByteArray text = pdfText(pdfPath);
    if (text.isNull())
        return {};
    QStringList pageTexts = QString::fromUtf8(text).split(u'\f');
    // Every page ends with a form feed, the last one too.
    if (!pageTexts.isEmpty() && pageTexts.constLast().isEmpty())
        pageTexts.removeLast();
    QList<QStringList> pages;
    for (const QString &page : pageTexts)
        pages.append(visibleLines(page.split(u'\n')));
    return pages;
}

QStringList visibleLines(const QStringList &lines)
{
    QStringList visible;
    for (const QString &line : lines) {
        qsizetype end = line.size();
        while (end > 0 && line[end - 1].isSpace())
            --end;
        visible.append(line.left(end));
    }
    while (!visible.isEmpty() && visible.constFirst().isEmpty())
        visible.removeFirst();
    while (!visible.isEmpty() && visible.constLast().isEmpty())
        visible.removeLast();
    return visible;
}
