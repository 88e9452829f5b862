#include "statereport.h"

#include "monformentry.h"

#include "monitorgrid.h"

#include <QApplication>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimer>

namespace {

bool quitAfterReport()
{
    return qEnvironmentVariable("MONITOR_FORM_QUIT_AFTER_REPORT") == QLatin1String("1");
}

QStringList shownState(const MonFormEntry &form)
{
    QStringList lines = {QStringLiteral("title=") + form.windowTitle()};
    for (const char *name : {"lbTutor", "lbRegion", "lbCourseData"}) {
        const auto *label = form.findChild<QLabel *>(QLatin1String(name));
        lines << QLatin1String(name) + QLatin1Char('=') + (label ? label->text() : QString());
    }
    const auto *grid = form.findChild<MonitorGrid *>(QStringLiteral("MonFlex1"));
    for (int row = 1; grid && row < grid->rows(); ++row) {
        QStringList cells;
        for (int col = 0; col < grid->cols(); ++col)
            cells << grid->textMatrix(row, col);
        lines << QStringLiteral("student=") + cells.join(QLatin1Char('|'));
    }
    const auto *comments = form.findChild<QPlainTextEdit *>(QStringLiteral("TxtMonitorComments"));
    lines << QStringLiteral("comments=") +
                 (comments ? comments->toPlainText().replace(u'\n', u' ') : QString());
    // Where the box stands on the screen, so that a test can click into it.
    if (comments) {
        const QRect box(comments->mapToGlobal(QPoint(0, 0)), comments->size());
        lines << QStringLiteral("commentsBox=%1 %2 %3 %4")
                     .arg(box.x())
                     .arg(box.y())
                     .arg(box.width())
                     .arg(box.height());
    }
    return lines;
}

} // namespace

void reportStateWhenAsked(MonFormEntry &form)
{
    const QString statePath = qEnvironmentVariable("MONITOR_FORM_STATE_FILE");
    const QString screenshotPath = qEnvironmentVariable("MONITOR_FORM_SCREENSHOT");
    if (statePath.isEmpty() && screenshotPath.isEmpty())
        return;
    // A moment after showing, so that the window has been laid out and painted.
    QTimer::singleShot(500, &form, [&form, statePath, screenshotPath] {
        if (!screenshotPath.isEmpty())
            form.grab().save(screenshotPath, "PNG");
        if (!statePath.isEmpty()) {
            QSaveFile file(statePath);
            if (file.open(QIODevice::WriteOnly)) {
                file.write((shownState(form).join(u'\n') + u'\n').toUtf8());
                file.commit();
            }
        }
        if (quitAfterReport())
            QApplication::exit(0);
    });
}
