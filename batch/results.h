#pragma once

#include "npcstats.h"
#include "options.h"

#include <QByteArrayList>
#include <array>
#include <span>

class BufferedWriter;

using NpcValues = std::array<int, kStatRows.size()>;

// Writes the results of one run in its format. Lines go out as they come;
// a roll table (markdown, foundry) is kept until finish(), since its size
// heads it.
class ResultWriter {
public:
    // `columns` name the fields of CSV and JSON: a whole result and, for a
    // result of two entries, its parts; `title` names a table.
    ResultWriter(BufferedWriter& out, BatchOptions::Format format, const QByteArrayList& columns,
                 const QString& title);

    // A result whose first entry ends at `split` (the text's size for one
    // entry alone).
    void phrase(QByteArrayView text, qsizetype split);
    void npc(QByteArrayView name, const NpcValues& values);
    bool ok() const;
    // Writes a kept table, flushes, and gives the exit status. When fewer
    // results were made than asked for, `shortfall` is told and the status
    // is 1.
    int finish(qint64 made, qint64 asked, const QString& shortfall);

private:
    void write(QByteArrayView line, std::span<const QByteArrayView> fields,
               std::size_t firstNumber);
    void begin();
    void writeTable();
    BufferedWriter& m_out;
    BatchOptions::Format m_format;
    QByteArrayList m_columns;
    QString m_title;
    bool m_begun = false;
    QList<QByteArrayList> m_rows; // a table's cells, the text of a result first
    QByteArray m_line;            // an NPC's line, kept for its room
};

// Tells a message on standard error, after the program's name, and gives 1.
int TellFailure(const QString& message);

// Tells that --unique was asked to remember more results than it can, as a
// mistake of the command line, and gives its exit status.
int TellTooManyToRemember(qint64 asked);
