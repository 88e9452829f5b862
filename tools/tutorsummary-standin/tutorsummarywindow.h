#pragma once

#include "messageendpoint.h"
#include "windowmessages.h"

#include <QWidget>

#include <memory>

class QListWidget;
class QPushButton;
class QThread;

// The line logged and printed for every message received.
QString receivedLine(quint32 message, qint64 wParam, qint64 lParam);

// A small window under the Tutor Summary's exact title: lists what it receives and sends or posts
// the suite's messages to the form's window.
class TutorSummaryWindow : public QWidget
{
public:
    explicit TutorSummaryWindow(QWidget *parent = nullptr);
    ~TutorSummaryWindow() override;

    // False, with a line in the log, when another window holds the title.
    bool startReceiving();

private:
    void addSendButton(quint32 message, qint64 wParam);
    void addPostButton(quint32 message, qint64 wParam);
    // On a thread of its own: the form may send to this window while handling the message.
    void sendToForm(quint32 message, qint64 wParam);
    void postToForm(quint32 message, qint64 wParam);
    void log(const QString &line);

    QListWidget *m_log;
    QWidget *m_buttons;
    std::unique_ptr<suite::MessageEndpoint> m_endpoint;
    std::unique_ptr<suite::WindowMessages> m_messages; // posts, on this thread
    QThread *m_sending = nullptr;
};
