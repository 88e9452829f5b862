#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <string>

// The console report with, at its end, each save's time as a multiple of one safe rewrite of the
// same number of students in the same run (wall time; the medians when repeated): a save is one
// safe rewrite plus the read, the lock and the building of the text.
class SaveRatioReporter : public benchmark::ConsoleReporter
{
public:
    SaveRatioReporter();
    void ReportRuns(const std::vector<Run> &reports) override;
    void Finalize() override;

private:
    std::map<std::string, double> m_realTimes; // by "Save/students:30" and the like
    std::map<std::string, bool> m_fromMedian;
};
