#pragma once

#include "textprinter.h"

#include <QList>

#include <optional>

// A printer the test watches: it records every step and what was printed, answers the dialog
// with `chosen` (or a cancel), fails at `failAt`, and can pass every step on to a real printer.
class FakePrinter : public TextPrinter
{
public:
    enum class Step { Dialog, Copies, Orientation, Font, Lines, End };

    void setDocumentName(const QString &name) override
    {
        documentName = name;
        if (forwardTo)
            forwardTo->setDocumentName(name);
    }
    DialogOutcome chooseInDialog(QWidget *parent, PrintChoices &choices) override
    {
        if (!record(Step::Dialog))
            return DialogOutcome::Failed;
        if (cancelDialog)
            return DialogOutcome::Cancelled;
        choices = chosen;
        PrintChoices passed = chosen;
        return forwardTo ? forwardTo->chooseInDialog(parent, passed) : DialogOutcome::Accepted;
    }
    bool setCopies(int n) override
    {
        copies = n;
        return record(Step::Copies) && (!forwardTo || forwardTo->setCopies(n));
    }
    bool setOrientation(QPageLayout::Orientation o) override
    {
        orientation = o;
        return record(Step::Orientation) && (!forwardTo || forwardTo->setOrientation(o));
    }
    bool setFont(const QString &family, int points) override
    {
        fontFamily = family;
        fontPoints = points;
        return record(Step::Font) && (!forwardTo || forwardTo->setFont(family, points));
    }
    bool printLines(const QList<PrintLine> &printed) override
    {
        lines += printed;
        return record(Step::Lines) && (!forwardTo || forwardTo->printLines(printed));
    }
    bool endDocument() override
    {
        return record(Step::End) && (!forwardTo || forwardTo->endDocument());
    }
    QString pausedPrinter() const override
    {
        return forwardTo ? forwardTo->pausedPrinter() : paused;
    }

    QString documentName;
    QList<Step> steps;
    std::optional<Step> failAt;
    bool cancelDialog = false;
    QString paused; // the printer that holds the documents
    PrintChoices chosen;

    int copies = 0;
    std::optional<QPageLayout::Orientation> orientation;
    QString fontFamily;
    int fontPoints = 0;
    QList<PrintLine> lines;
    TextPrinter *forwardTo = nullptr; // not owned

private:
    bool record(Step step)
    {
        steps.append(step);
        return failAt != step;
    }
};
