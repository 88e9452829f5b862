// Speed of reading and saving the tutor monitoring file on the real disk. Besides the usual
// Google Benchmark flags, `--read-save-once=N` only reads and saves one file of N students,
// for measuring peak memory from outside (e.g. /usr/bin/time -v).
#include "readsaveonce.h"
#include "saveratio.h"
#include "scratchfolder.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace {

int failed(const QString &reason)
{
    std::fprintf(stderr, "monitor_bench: %s\n", qPrintable(reason));
    return 1;
}

int runOnce(const QByteArray &students)
{
    bool ok = false;
    const int count = students.toInt(&ok);
    if (!ok || count < 0 || count > 32767) {
        std::fprintf(stderr, "monitor_bench: --read-save-once wants 0 to 32767 students\n");
        return 2;
    }
    qint64 size = 0;
    const QString error = readAndSaveOnce(count, &size);
    if (!error.isEmpty())
        return failed(error);
    std::printf("read and saved %d students, %lld bytes\n%s\n", count, static_cast<long long>(size),
                memoryPeaks().constData());
    return 0;
}

} // namespace

int main(int argc, char **argv)
{
    const QByteArray onceFlag = "--read-save-once=";
    if (argc == 2 && QByteArray(argv[1]).startsWith(onceFlag))
        return runOnce(QByteArray(argv[1]).mid(onceFlag.size()));

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;
    // Google Benchmark 1.7 crashes when every run of a benchmark with complexity reporting
    // fails, so a folder or a core that fails every time is caught here, with its reason.
    const QString broken = readAndSaveOnce(3);
    if (!broken.isEmpty())
        return failed(broken);
    benchmark::AddCustomContext("scratch_folder", ScratchFolder::parentFolder().toStdString());
    SaveRatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
