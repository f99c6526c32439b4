#pragma once

#include "options.h"

#include <QStringList>

class BufferedWriter;

// Makes options.count names that no name list of the data folder holds, in
// the manner of the one list that --nationality, --gender and --part choose,
// and writes them in the chosen format. Returns the exit status.
int RunInvent(const BatchOptions& options, BufferedWriter& out);

// Every name list once, in the order of the nationalities.
QStringList NameLists();
