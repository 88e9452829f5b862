#include "benchchecks.h"

#include "recordingmessages.h"
#include "scratchfolder.h"

bool fail(benchmark::State &state, const QString &reason)
{
    state.SkipWithError(reason.toLocal8Bit().constData());
    return false;
}

bool folderReady(benchmark::State &state, const ScratchFolder &folder)
{
    if (folder.isValid())
        return true;
    return fail(state, QStringLiteral("cannot make a scratch folder in %1: %2")
                           .arg(ScratchFolder::parentFolder(), folder.errorString()));
}

bool noMessages(benchmark::State &state, const RecordingMessages &messages)
{
    if (messages.texts.isEmpty())
        return true;
    return fail(state, QStringLiteral("message shown: ") + messages.texts.first());
}
