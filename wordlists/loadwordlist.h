#pragma once

#include <QString>

class WordListModel;

// Appends every line of one word-list file, named by its relative path
// ("\data\nouns-ect.quillmere"), to the end of `list`. Never clears the list:
// callers clear first. A file that cannot be read leaves the entries read
// before the failure, is closed, and is recorded with Problems.
void LoadWordList(WordListModel& list, const QString& relativePath);
