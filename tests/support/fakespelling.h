#pragma once

#include "spellingcomponent.h"

#include <QMap>
#include <QStringList>

#include <functional>

class QPlainTextEdit;

// Records what the form asks of the spelling component. `failAt` names a call ("mainWordLists",
// "userWordLists", "textControl", "start", "option") that throws; `duringCheck` plays the
// monitor's part in the dialog.
class FakeSpelling : public spelling::SpellingComponent
{
public:
    void setMainWordLists(const QString &names) override
    {
        record(QStringLiteral("mainWordLists"), names);
    }
    void setUserWordLists(const QString &names) override
    {
        record(QStringLiteral("userWordLists"), names);
    }
    void setTextControl(QPlainTextEdit *control) override
    {
        record(QStringLiteral("textControl"), QString());
        this->control = control;
    }
    void setOption(const QString &name, bool value) override
    {
        record(QStringLiteral("option"), name);
        options.insert(name, value);
    }
    bool option(const QString &name) const override
    {
        if (failAt == QLatin1String("option"))
            throw spelling::SpellingError(QStringLiteral("failing on purpose"));
        return options.value(name);
    }
    void start() override
    {
        record(QStringLiteral("start"), QString());
        if (duringCheck)
            duringCheck(*this);
    }
    void underlineAsYouType(QPlainTextEdit *) override {}

    QStringList calls;
    QMap<QString, bool> options;
    QPlainTextEdit *control = nullptr;
    QString failAt;
    std::function<void(FakeSpelling &)> duringCheck;

private:
    void record(const QString &call, const QString &argument)
    {
        if (call == failAt)
            throw spelling::SpellingError(QStringLiteral("failing on purpose"));
        calls.append(argument.isEmpty() ? call : call + u'=' + argument);
    }
};
