#pragma once

#include "messageendpoint.h"

// The main window's endpoint in tests: records opening and closing; deliver() plays a message
// from another window of the suite.
class FakeEndpoint : public suite::MessageEndpoint
{
public:
    bool open(const QString &title, Handler handler) override
    {
        if (refuse != Refusal::None)
            return false;
        openedAs = title;
        m_handler = std::move(handler);
        ++opens;
        return true;
    }
    void close() override
    {
        if (m_handler)
            ++closes;
        m_handler = nullptr;
    }
    bool isOpen() const override { return bool(m_handler); }
    bool heldElsewhere() const override { return refuse == Refusal::HeldElsewhere; }
    QString errorString() const override { return QStringLiteral("refused in the test"); }

    // False when the endpoint is closed and the message reaches nobody.
    bool deliver(quint32 message, qint64 wParam = 0, qint64 lParam = 0)
    {
        if (!m_handler)
            return false;
        const Handler handler = m_handler; // the handler may close the endpoint
        handler(message, wParam, lParam);
        return true;
    }

    // open() fails: another window of ours holds the title, or nothing can be received.
    enum class Refusal { None, HeldElsewhere, CannotReceive };
    Refusal refuse = Refusal::None;
    QString openedAs;
    int opens = 0;
    int closes = 0;

private:
    Handler m_handler;
};
