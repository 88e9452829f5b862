#include "saveratio.h"

#include <ostream>

#include <unistd.h>

// In colour on a terminal only, as the library's own report.
SaveRatioReporter::SaveRatioReporter() : ConsoleReporter(isatty(STDOUT_FILENO) ? OO_Color : OO_None)
{
}

void SaveRatioReporter::ReportRuns(const std::vector<Run> &reports)
{
    ConsoleReporter::ReportRuns(reports);
    for (const Run &run : reports) {
        const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
        if (run.error_occurred || (run.run_type == Run::RT_Aggregate && !median))
            continue;
        const std::string name = run.run_name.function_name + '/' + run.run_name.args;
        // A median replaces the repetitions it sums up.
        if (median || !m_fromMedian[name]) {
            m_realTimes[name] = run.GetAdjustedRealTime();
            m_fromMedian[name] = median;
        }
    }
}

void SaveRatioReporter::Finalize()
{
    ConsoleReporter::Finalize();
    for (const auto &[name, saveTime] : m_realTimes) {
        if (name.rfind("Save/", 0) != 0)
            continue;
        const std::string args = name.substr(5);
        const auto rewrite = m_realTimes.find("SafeRewrite/" + args);
        if (rewrite == m_realTimes.end() || rewrite->second <= 0)
            continue;
        GetOutputStream() << "Save/" << args << " / SafeRewrite/" << args << " (wall"
                          << (m_fromMedian[name] ? ", medians" : "")
                          << "): " << saveTime / rewrite->second << '\n';
    }
}
