// Reads the input's file as start-up does, saves the monitor's entries into it as the window
// does, then throws the changes away by reloading.
#include "countingmessages.h"
#include "fuzzpaths.h"
#include "invariants.h"
#include "memoryfileoperations.h"
#include "monitorsave.h"
#include "reload.h"
#include "saveinput.h"
#include "tutorfilereader.h"

#include <cstddef>
#include <cstdint>

using namespace monitorfile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const SaveInput input(data, size);
    const QString path = fuzzFilePath();
    MemoryFileOperations files;
    files.setFile(path, input.file);
    CountingMessages messages;

    TutorData model;
    ReadOptions options;
    options.rewriteNormalised = !input.readWithoutRewrite;
    ReadTutorXMLFile(fuzzFolder(), fuzzTitle(), model, messages, files, options);
    requireCleanFolder(files, path);

    const MonitorFormValues values = input.valuesFor(model);
    const QByteArray before = files.bytesOf(path);
    // As the form saves: values it left as read stay as the file holds them.
    const MonitorFormValues asRead = formValuesOf(model);
    const bool saved =
        SaveMonitorForm(path, values, model.NumberScriptsText, files, messages, &asRead);
    requireFileKept(files, path);
    if (saved)
        require(!input.unencodableComment, "a comment the code page cannot hold was saved");
    else
        require(files.bytesOf(path) == before, "a refused save changed the file");
    // No step fails in memory, so a refusal comes before the first write and leaves no ".BAK".
    requireCleanFolder(files, path);

    const QByteArray afterSave = files.bytesOf(path);
    ReloadMonitoringData(path, model, files, messages);
    requireCleanFolder(files, path);
    require(files.bytesOf(path) == afterSave, "reloading changed the file");
    return 0;
}
