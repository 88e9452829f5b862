#include "previousformswindow.h"

#include "previousforms.h"
#include "shell.h"
#include "suitepath.h"
#include "twipsconvert.h"

#include <QEvent>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>

namespace {

const char *const kCaption = "View Previous Monitor Form's - Norvale Quillet Monitor File Handler";

} // namespace

frmViewPreviousMonitorForms::frmViewPreviousMonitorForms(const QString &tutorFolderPath,
                                                         Shell &shell, QWidget *parent)
    : QWidget(parent, Qt::Window), m_shell(shell), m_lstTable(new QListWidget(this)),
      m_cmdOpen(new QPushButton(tr("&Open"), this)),
      m_cmdOpenWith(new QPushButton(tr("Op&en With"), this)),
      m_cmdCancel(new QPushButton(tr("&Cancel"), this))
{
    setObjectName(QStringLiteral("frmViewPreviousMonitorForms"));
    setWindowTitle(QString::fromLatin1(kCaption));
    setAttribute(Qt::WA_DeleteOnClose);

    // Designed in twips like the suite's other windows, converted at this screen's DPI.
    const auto place = [this](QWidget *control, int left, int top, int width, int height) {
        control->setGeometry(twipsToPixels(left, logicalDpiX()), twipsToPixels(top, logicalDpiY()),
                             twipsToPixels(width, logicalDpiX()),
                             twipsToPixels(height, logicalDpiY()));
    };
    resize(twipsToPixels(6750, logicalDpiX()), twipsToPixels(2145, logicalDpiY()));
    m_lstTable->setObjectName(QStringLiteral("lstTable"));
    m_cmdOpen->setObjectName(QStringLiteral("cmdOpen"));
    m_cmdOpenWith->setObjectName(QStringLiteral("cmdOpenWith"));
    m_cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    place(m_lstTable, 60, 60, 4905, 2010);
    place(m_cmdOpen, 5610, 75, 975, 345);
    place(m_cmdOpenWith, 5610, 530, 975, 345);
    place(m_cmdCancel, 5610, 1740, 975, 345);
    widenButtonsForCaptions();
    setTabOrder(m_lstTable, m_cmdOpen);
    setTabOrder(m_cmdOpen, m_cmdOpenWith);
    setTabOrder(m_cmdOpenWith, m_cmdCancel);
    m_cmdOpen->setEnabled(false);
    m_cmdOpenWith->setEnabled(false);
    m_lstTable->setSelectionMode(QAbstractItemView::SingleSelection);

    connect(m_lstTable, &QListWidget::itemSelectionChanged, this,
            &frmViewPreviousMonitorForms::lstTable_Click);
    connect(m_lstTable, &QListWidget::itemDoubleClicked, this,
            &frmViewPreviousMonitorForms::cmdOpen_Click);
    connect(m_cmdOpen, &QPushButton::clicked, this, &frmViewPreviousMonitorForms::cmdOpen_Click);
    connect(m_cmdOpenWith, &QPushButton::clicked, this,
            &frmViewPreviousMonitorForms::cmdOpenWith_Click);
    connect(m_cmdCancel, &QPushButton::clicked, this, &QWidget::close);
    // Escape cancels, as in a dialog.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, m_cmdCancel,
            &QPushButton::click);
    // The right button asks for the chooser without moving the selection.
    m_lstTable->viewport()->installEventFilter(this);

    Form_Load(tutorFolderPath);
}

// The buttons take the width their captions need in the font in use, margins included, where
// the design's is too narrow; the window starts that much wider, and the resize rule below
// leaves the difference to them, so the list keeps its designed size.
void frmViewPreviousMonitorForms::widenButtonsForCaptions()
{
    int needed = 0;
    for (const QPushButton *button : {m_cmdOpen, m_cmdOpenWith, m_cmdCancel}) {
        const QString caption = QString(button->text()).remove(u'&');
        const QStyle *style = button->style();
        needed =
            qMax(needed, button->fontMetrics().horizontalAdvance(caption) +
                             2 * style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button) +
                             2 * style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, button));
    }
    m_buttonGrowth = qMax(0, needed - m_cmdOpen->width());
    for (QPushButton *button : {m_cmdOpen, m_cmdOpenWith, m_cmdCancel})
        button->resize(button->width() + m_buttonGrowth, button->height());
    resize(width() + m_buttonGrowth, height());
}

void frmViewPreviousMonitorForms::Form_Load(const QString &tutorFolderPath)
{
    move(0, 0);
    m_companionFolderPath = tutorFolderPath + u'\\';
    m_lstTable->addItems(listPreviousMonitorForms(fullPath(QString())));
}

QString frmViewPreviousMonitorForms::fullPath(const QString &name) const
{
    // Only the folder's separators are the suite's; a name is kept as the folder listing gave it.
    return monitorfile::suiteFilePath(m_companionFolderPath, QString()) + name;
}

void frmViewPreviousMonitorForms::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

void frmViewPreviousMonitorForms::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    Form_Resize();
}

// The list takes what the buttons leave free; the buttons keep to the right edge and Cancel to
// the list's bottom. The window's outer size counts, frame included.
void frmViewPreviousMonitorForms::Form_Resize()
{
    const int dpiX = logicalDpiX();
    const int dpiY = logicalDpiY();
    const QRect outer = frameGeometry();
    const int width = pixelsToTwips(outer.width(), dpiX);
    const int height = pixelsToTwips(outer.height(), dpiY);
    // Wider buttons count as that much less window.
    const int growth = pixelsToTwips(m_buttonGrowth, dpiX);
    QRect list = m_lstTable->geometry();
    if (width - growth > 1200)
        list.setWidth(twipsToPixels(width - 1200, dpiX) - m_buttonGrowth);
    if (height > 570)
        list.setHeight(twipsToPixels(height - 570, dpiY));
    m_lstTable->setGeometry(list);
    const int buttonsLeft = twipsToPixels(width - 1100, dpiX) - m_buttonGrowth;
    for (QPushButton *button : {m_cmdOpen, m_cmdOpenWith, m_cmdCancel})
        button->move(buttonsLeft, button->y());
    m_cmdCancel->move(buttonsLeft, list.y() + list.height() - m_cmdCancel->height());
}

void frmViewPreviousMonitorForms::lstTable_Click()
{
    if (m_lstTable->selectedItems().isEmpty())
        return;
    m_cmdOpen->setEnabled(true);
    m_cmdOpenWith->setEnabled(true);
}

QString frmViewPreviousMonitorForms::selectedPath() const
{
    const QList<QListWidgetItem *> selected = m_lstTable->selectedItems();
    return selected.isEmpty() ? QString() : fullPath(selected.first()->text());
}

// Without a selected line there is nothing to open (the folder itself is not offered).
void frmViewPreviousMonitorForms::cmdOpen_Click()
{
    const QString path = selectedPath();
    if (!path.isEmpty())
        m_shell.openFile(path, this);
}

void frmViewPreviousMonitorForms::cmdOpenWith_Click()
{
    const QString path = selectedPath();
    if (!path.isEmpty())
        m_shell.openWith(path, this);
}

bool frmViewPreviousMonitorForms::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_lstTable->viewport() && event->type() == QEvent::MouseButtonPress &&
        static_cast<QMouseEvent *>(event)->button() == Qt::RightButton) {
        cmdOpenWith_Click();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
