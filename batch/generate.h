#pragma once

#include "options.h"

class Output;
class WordListModel;

// Makes options.count results of a generating command and writes them in
// the chosen format. Returns the exit status.
int RunGenerator(const BatchOptions& options, Output& out);

// How many different texts "first entry, space, second entry" the two lists
// can give. Entries with spaces can make two pairs give the same text ("Iron"
// + "Plate Mail" and "Iron Plate" + "Mail"); those count once. An empty list
// counts as one empty entry, as the pick reads it.
qint64 DistinctPhrases(const WordListModel& prim, const WordListModel& second);
