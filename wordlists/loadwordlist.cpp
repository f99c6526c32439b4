#include "loadwordlist.h"

#include "paths.h"
#include "problems.h"
#include "wordlist.h"
#include "wordlistfile.h"

void LoadWordList(WordListModel& list, const QString& relativePath)
{
    const QString fullPath = FullPath(relativePath);
    const WordListRead read = ReadWordListFile(fullPath, {.maxLines = list.room()});
    list.append(read.lines);
    if (!read.error.isEmpty())
        Problems::Record(fullPath, read.error,
                         read.truncated ? Problems::Kind::Truncated : Problems::Kind::Unreadable);
}
