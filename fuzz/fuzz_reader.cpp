// Reads the input as the bytes of a tutor monitoring file, once only looking and once as
// start-up does, writing the tidied text back.
#include "countingmessages.h"
#include "fuzzpaths.h"
#include "invariants.h"
#include "memoryfileoperations.h"
#include "tutorfilereader.h"

#include <cstddef>
#include <cstdint>

using namespace monitorfile;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QString path = fuzzFilePath();
    const QByteArray original(reinterpret_cast<const char *>(data), qsizetype(size));

    // Only looking: the file stays as it is, the tidied text comes back instead.
    MemoryFileOperations lookFiles;
    lookFiles.setFile(path, original);
    CountingMessages lookMessages;
    TutorData looked;
    ReadOptions lookOnly;
    lookOnly.rewriteNormalised = false;
    const ReadReport look =
        ReadTutorXMLFile(fuzzFolder(), fuzzTitle(), looked, lookMessages, lookFiles, lookOnly);
    requireCleanFolder(lookFiles, path);
    require(lookFiles.bytesOf(path) == original, "a read without rewriting changed the file");
    require(look.fileFound && !look.readFailed && !look.rewritten, "unexpected read report");
    require(looked.fileFound, "the model says no file was found");
    require(look.normalisedText.isEmpty() || (look.normalised && !look.malformed),
            "tidied text handed back for a file that must not be rewritten");

    // As start-up: a well formed file whose tidying changed its length is rewritten.
    MemoryFileOperations startFiles;
    startFiles.setFile(path, original);
    CountingMessages startMessages;
    TutorData started;
    const ReadReport start =
        ReadTutorXMLFile(fuzzFolder(), fuzzTitle(), started, startMessages, startFiles);
    requireCleanFolder(startFiles, path);
    require(start.normalised == look.normalised && start.malformed == look.malformed,
            "the two reads judged the file differently");
    require(start.rewritten == (start.normalised && !start.malformed),
            "a tidied, well formed file was not rewritten, or another one was");
    require(startFiles.bytesOf(path) == (start.rewritten ? look.normalisedText : original),
            "the rewritten file is not the tidied text");
    require(startMessages.count() == lookMessages.count(),
            "the two reads told the monitor different things");
    require(started.record.students.size() == looked.record.students.size(),
            "the two reads found different students");
    return 0;
}
