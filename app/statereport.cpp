#include "statereport.h"

#include "monformentry.h"

#include "monitorgrid.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QScrollBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSaveFile>
#include <QTimer>

namespace {

bool quitAfterReport()
{
    return qEnvironmentVariable("MONITOR_FORM_QUIT_AFTER_REPORT") == QLatin1String("1");
}

// "none", "horizontal", "vertical" or both: a grid that needs scroll bars hides some of its cells.
QString scrollBarsShown(const MonitorGrid &grid)
{
    QStringList shown;
    if (grid.horizontalScrollBar()->isVisible())
        shown << QStringLiteral("horizontal");
    if (grid.verticalScrollBar()->isVisible())
        shown << QStringLiteral("vertical");
    return shown.isEmpty() ? QStringLiteral("none") : shown.join(QLatin1Char(','));
}

QString rowText(const MonitorGrid &grid, int row)
{
    QStringList cells;
    for (int col = 0; col < grid.cols(); ++col)
        cells << grid.textMatrix(row, col);
    return cells.join(QLatin1Char('|'));
}

QStringList shownState(const MonFormEntry &form)
{
    QStringList lines = {QStringLiteral("title=") + form.windowTitle()};
    for (const char *name : {"lbTutor", "lbRegion", "lbCourseData"}) {
        const auto *label = form.findChild<QLabel *>(QLatin1String(name));
        lines << QLatin1String(name) + QLatin1Char('=') + (label ? label->text() : QString());
    }
    const auto *grid = form.findChild<MonitorGrid *>(QStringLiteral("MonFlex1"));
    for (int row = 1; grid && row < grid->rows(); ++row)
        lines << QStringLiteral("student=") + rowText(*grid, row);
    const auto *criteria = form.findChild<MonitorGrid *>(QStringLiteral("MonFlex2"));
    for (int row = 1; criteria && row < criteria->rows(); ++row)
        lines << QStringLiteral("criteria=") + rowText(*criteria, row);
    for (const MonitorGrid *shownGrid : {grid, criteria}) {
        if (shownGrid)
            lines << QStringLiteral("scrollBars.") + shownGrid->objectName() + QLatin1Char('=') +
                         scrollBarsShown(*shownGrid);
    }
    if (const auto *fontSize = form.findChild<QComboBox *>(QStringLiteral("cmbFontSize")))
        lines << QStringLiteral("fontSize=") + fontSize->currentText();
    // Each control's part that the window shows: none while the layout has left it out.
    for (const char *name :
         {"Frame1", "lbTutor", "lbCourseData", "lbRegion", "MonFlex1", "Label24", "MonFlex2",
          "Label18", "Label1", "cmbFontSize", "TxtMonitorComments"}) {
        const auto *control = form.findChild<QWidget *>(QLatin1String(name));
        const QRect shown = control ? control->visibleRegion().boundingRect() : QRect();
        lines << QStringLiteral("visible.%1=%2 %3")
                     .arg(QLatin1String(name))
                     .arg(shown.width())
                     .arg(shown.height());
    }
    const QRect frame = form.outerFrame();
    lines << QStringLiteral("frame=%1 %2 %3 %4")
                 .arg(frame.x())
                 .arg(frame.y())
                 .arg(frame.width())
                 .arg(frame.height());
    lines << QStringLiteral("frameCorrections=%1").arg(form.frameCorrections());
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
