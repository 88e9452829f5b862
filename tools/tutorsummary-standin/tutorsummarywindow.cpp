#include "tutorsummarywindow.h"

#include "suitewindows.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTextStream>
#include <QThread>
#include <QVBoxLayout>

namespace {

enum class SendOutcome { NoWindow, Handled, NotHandled };

} // namespace

QString receivedLine(quint32 message, qint64 wParam, qint64 lParam)
{
    return QStringLiteral("received %1 %2 %3").arg(message).arg(wParam).arg(lParam);
}

TutorSummaryWindow::TutorSummaryWindow(QWidget *parent)
    : QWidget(parent), m_log(new QListWidget(this)), m_buttons(new QWidget(this)),
      m_endpoint(suite::createPlatformEndpoint(winId())),
      m_messages(suite::createPlatformMessages())
{
    setWindowTitle(suite::windowTitle(suite::SuiteWindow::TutorSummary));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Stand-in of the suite's Tutor Summary window, for demos and "
                                    "tests; messages to and from the Monitor Entry Form."),
                                 this));
    layout->addWidget(m_log);
    layout->addWidget(m_buttons);
    new QGridLayout(m_buttons);

    addSendButton(suite::message::kSave, 1);
    addSendButton(suite::message::kSave, 2);
    addSendButton(suite::message::kSave, 0);
    addSendButton(suite::message::kClose, 0);
    addPostButton(suite::message::kChangesPending, 0);
    addPostButton(suite::message::kChangesCleared, 0);
    resize(520, 360);
}

TutorSummaryWindow::~TutorSummaryWindow()
{
    m_endpoint->close();
    if (m_sending) { // bounded by the send's own bound
        m_sending->wait();
        delete m_sending;
    }
}

bool TutorSummaryWindow::startReceiving()
{
    const bool open =
        m_endpoint->open(windowTitle(), [this](quint32 message, qint64 wParam, qint64 lParam) {
            const QString line = receivedLine(message, wParam, lParam);
            log(line);
            QTextStream(stdout) << line << Qt::endl;
        });
    if (!open)
        log(tr("Cannot receive: another window is titled \"%1\".").arg(windowTitle()));
    return open;
}

void TutorSummaryWindow::addSendButton(quint32 message, qint64 wParam)
{
    auto *grid = static_cast<QGridLayout *>(m_buttons->layout());
    auto *button = new QPushButton(tr("Send %1, wParam %2").arg(message).arg(wParam), m_buttons);
    grid->addWidget(button, grid->count() / 3, grid->count() % 3);
    connect(button, &QPushButton::clicked, this,
            [this, message, wParam] { sendToForm(message, wParam); });
}

void TutorSummaryWindow::addPostButton(quint32 message, qint64 wParam)
{
    auto *grid = static_cast<QGridLayout *>(m_buttons->layout());
    auto *button = new QPushButton(tr("Post %1, wParam %2").arg(message).arg(wParam), m_buttons);
    grid->addWidget(button, grid->count() / 3, grid->count() % 3);
    connect(button, &QPushButton::clicked, this,
            [this, message, wParam] { postToForm(message, wParam); });
}

void TutorSummaryWindow::sendToForm(quint32 message, qint64 wParam)
{
    if (m_sending)
        return;
    m_buttons->setEnabled(false);
    log(tr("sending %1 %2 ...").arg(message).arg(wParam));
    const QString formTitle = suite::windowTitle(suite::SuiteWindow::MonitorForm);
    auto outcome = std::make_shared<SendOutcome>(SendOutcome::NoWindow);
    m_sending = QThread::create([formTitle, message, wParam, outcome] {
        const auto messages = suite::createPlatformMessages();
        const suite::WindowHandle form = messages->findWindow(formTitle);
        if (form != 0)
            *outcome = messages->send(form, message, wParam, 0) ? SendOutcome::Handled
                                                                : SendOutcome::NotHandled;
    });
    connect(m_sending, &QThread::finished, this, [this, message, wParam, outcome] {
        switch (*outcome) {
        case SendOutcome::NoWindow:
            log(tr("sent %1 %2: the form's window is not there").arg(message).arg(wParam));
            break;
        case SendOutcome::Handled:
            log(tr("sent %1 %2: handled").arg(message).arg(wParam));
            break;
        case SendOutcome::NotHandled:
            log(tr("sent %1 %2: not handled in time").arg(message).arg(wParam));
            break;
        }
        m_sending->deleteLater();
        m_sending = nullptr;
        m_buttons->setEnabled(true);
    });
    m_sending->start();
}

void TutorSummaryWindow::postToForm(quint32 message, qint64 wParam)
{
    const suite::WindowHandle form =
        m_messages->findWindow(suite::windowTitle(suite::SuiteWindow::MonitorForm));
    const bool posted = m_messages->post(form, message, wParam, 0);
    log(posted ? tr("posted %1 %2").arg(message).arg(wParam)
               : tr("posted %1 %2: the form's window is not there").arg(message).arg(wParam));
}

void TutorSummaryWindow::log(const QString &line)
{
    m_log->addItem(line);
    m_log->scrollToBottom();
}
