#pragma once

#include "windowmessages.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

// Window messages for tests: the windows that exist are the titles in `existing`; every post and
// send to one of them is recorded, with the title it was found by, and succeeds. A handle stays
// tied to its title, so a window taken out of `existing` after it was found is gone.
class FakeWindowMessages : public suite::WindowMessages
{
public:
    enum class Kind { Posted, Sent };

    struct Message
    {
        Kind kind;
        QString title;
        quint32 message;
        qint64 wParam;
        qint64 lParam;

        bool operator==(const Message &other) const
        {
            return kind == other.kind && title == other.title && message == other.message &&
                   wParam == other.wParam && lParam == other.lParam;
        }
    };

    suite::WindowHandle findWindow(const QString &title) override
    {
        searched.append(title);
        if (!existing.contains(title))
            return 0;
        if (!m_titles.contains(title))
            m_titles.append(title);
        return suite::WindowHandle(m_titles.indexOf(title) + 1);
    }

    bool post(suite::WindowHandle w, quint32 message, qint64 wParam, qint64 lParam) override
    {
        return record(Kind::Posted, w, message, wParam, lParam);
    }

    bool send(suite::WindowHandle w, quint32 message, qint64 wParam, qint64 lParam) override
    {
        return record(Kind::Sent, w, message, wParam, lParam);
    }

    void restoreAndRaise(suite::WindowHandle w) override
    {
        const QString title = titleOf(w);
        if (!title.isEmpty())
            raised.append(title);
    }

    // The messages of one kind and number that reached the window of `title`.
    QList<Message> to(const QString &title, Kind kind, quint32 message) const
    {
        QList<Message> found;
        for (const Message &m : messages) {
            if (m.kind == kind && m.message == message && m.title == title)
                found.append(m);
        }
        return found;
    }

    QSet<QString> existing;  // titles of the windows that exist now
    QList<Message> messages; // every post and send that reached a window, in order
    QStringList searched;    // every title given to findWindow
    QStringList raised;      // every window restored and raised
    int failedCalls = 0;     // posts and sends to 0 or to a window that is gone

private:
    QString titleOf(suite::WindowHandle w) const
    {
        const qsizetype index = qsizetype(w) - 1;
        if (w == 0 || index >= m_titles.size() || !existing.contains(m_titles.at(index)))
            return QString();
        return m_titles.at(index);
    }

    bool record(Kind kind, suite::WindowHandle w, quint32 message, qint64 wParam, qint64 lParam)
    {
        const QString title = titleOf(w);
        if (title.isEmpty()) {
            ++failedCalls;
            return false;
        }
        messages.append({kind, title, message, wParam, lParam});
        return true;
    }

    QStringList m_titles; // handle - 1 is the index
};
