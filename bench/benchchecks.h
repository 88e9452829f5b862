#pragma once

#include <benchmark/benchmark.h>

#include <QString>

class RecordingMessages;
class ScratchFolder;

// A figure is only worth reporting when the work really happened: these stop the benchmark
// with an error instead, so a broken run shows no figure. Each returns false when it failed.

// Stops the benchmark with reason.
bool fail(benchmark::State &state, const QString &reason);

// Fails when the scratch folder could not be made.
bool folderReady(benchmark::State &state, const ScratchFolder &folder);

// Fails when any message was shown, naming the first.
bool noMessages(benchmark::State &state, const RecordingMessages &messages);
