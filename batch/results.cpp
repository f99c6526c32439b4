#include "results.h"

#include "formats.h"
#include "unique.h"
#include "writer.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <charconv>
#include <cstdio>
#include <utility>

using Format = BatchOptions::Format;

namespace {

// A table cell shows the text as it stands: a bar would end the cell, and
// the marks of emphasis, code, links and entities would be read as such.
QByteArray markdownCell(QByteArrayView text)
{
    QByteArray cell;
    for (const char c : text) {
        if (QByteArrayView("\\|*_`[]<&~").contains(c))
            cell.append('\\');
        cell.append(c);
    }
    return cell;
}

} // namespace

ResultWriter::ResultWriter(BufferedWriter& out, Format format, const QByteArrayList& columns,
                           const QString& title)
    : m_out(out), m_format(format), m_columns(columns), m_title(title)
{
}

// A header row names the columns of a CSV file. It waits for the first
// result or the end of the run, so that a run refused before it begins
// (nothing passes the filters) prints no header.
void ResultWriter::begin()
{
    if (std::exchange(m_begun, true) || m_format != Format::Csv)
        return;
    m_out.append(m_columns.join(',') + "\r\n");
}

bool ResultWriter::ok() const
{
    return m_out.ok();
}

void ResultWriter::phrase(QByteArrayView text, qsizetype split)
{
    const QByteArrayView parts[] = {
        text, text.first(split), split < text.size() ? text.sliced(split + 1) : QByteArrayView()};
    write(text, {parts, m_columns.size() == 1 ? 1u : 3u}, 3);
}

// The line and the numbers' digits are built in place: a run of millions of
// NPCs allocates nothing for each one.
void ResultWriter::npc(QByteArrayView name, const NpcValues& values)
{
    std::array<char, 12 * kStatRows.size()> digits;
    std::array<QByteArrayView, kStatRows.size() + 1> fields{name};
    m_line.resize(0);
    m_line.append("Name: ").append(name);
    char* at = digits.data();
    for (std::size_t i = 0; i < kStatRows.size(); ++i) {
        char* const end = std::to_chars(at, at + 12, values[i]).ptr;
        fields[i + 1] = QByteArrayView(at, end);
        m_line.append(", ").append(kStatRows[i].label).append(' ').append(fields[i + 1]);
        at = end;
    }
    write(m_line, fields, 1);
}

// Fields from `firstNumber` on are numbers, the others texts. A table keeps
// the line, which names the result in Foundry, and the cells of an NPC.
void ResultWriter::write(QByteArrayView line, std::span<const QByteArrayView> fields,
                         std::size_t firstNumber)
{
    begin();
    const bool csv = m_format == Format::Csv;
    switch (m_format) {
    case Format::Text:
        m_out.append(line);
        return m_out.append('\n');
    case Format::Csv:
    case Format::Json:
        for (std::size_t k = 0; k < fields.size(); ++k) {
            if (!csv) {
                m_out.append(k == 0 ? QByteArrayView("{\"") : QByteArrayView(",\""));
                m_out.append(m_columns[k]);
                m_out.append(QByteArrayView("\":"));
            } else if (k > 0)
                m_out.append(',');
            if (k >= firstNumber)
                m_out.append(fields[k]);
            else
                csv ? WriteCsvField(m_out, fields[k]) : WriteJsonString(m_out, fields[k]);
        }
        return m_out.append(csv ? QByteArrayView("\r\n") : QByteArrayView("}\n"));
    case Format::Markdown:
    case Format::Foundry:
        m_rows.append({line.toByteArray()});
        for (std::size_t k = 0; firstNumber == 1 && k < fields.size(); ++k)
            m_rows.last().append(fields[k].toByteArray());
    }
}

// A dN table: the die and a heading, a row that makes it a table, then the
// results numbered from 1. A Foundry RollTable: the same results as text
// results, each alone in its range of one, rolled with 1dN.
void ResultWriter::writeTable()
{
    const QByteArray dice = QByteArray::number(m_rows.size());
    if (m_format == Format::Foundry) {
        QJsonArray results;
        for (qsizetype i = 0; i < m_rows.size(); ++i)
            results.append(QJsonObject{{"type", "text"},
                                       {"text", QString::fromUtf8(m_rows[i].front())},
                                       {"range", QJsonArray{i + 1, i + 1}},
                                       {"weight", 1},
                                       {"drawn", false}});
        const QJsonObject table{{"name", m_title},          {"formula", "1d" + QString(dice)},
                                {"replacement", true},      {"displayRoll", true},
                                {"description", QString()}, {"results", results}};
        QByteArray json = QJsonDocument(table).toJson(QJsonDocument::Indented);
        return m_out.append(json.endsWith('\n') ? json : json + '\n');
    }
    const QByteArray& whole = m_columns.front();
    QByteArrayList head{"d" + dice, whole.left(1).toUpper() + whole.mid(1)};
    if (m_columns.size() > 3)
        for (const StatRow& row : kStatRows)
            head.append(QByteArray(row.label).chopped(1)); // "Max Hp:"
    m_out.append("| " + head.join(" | ") + " |\n|" + QByteArray(" --- |").repeated(head.size()) +
                 '\n');
    for (qsizetype i = 0; i < m_rows.size(); ++i) {
        m_out.append("| " + QByteArray::number(i + 1));
        for (qsizetype k = m_rows[i].size() > 1 ? 1 : 0; k < m_rows[i].size() && m_out.ok(); ++k)
            m_out.append(" | " + markdownCell(m_rows[i][k]));
        m_out.append(" |\n");
    }
}

int ResultWriter::finish(qint64 made, qint64 asked, const QString& shortfall)
{
    begin();
    if (m_format == Format::Markdown || m_format == Format::Foundry)
        writeTable();
    const bool ended = m_out.ok() && made < asked;
    const int status = m_out.finish(0, "the results");
    if (status != 0 || !ended)
        return status;
    return TellFailure(shortfall);
}

int TellFailure(const QString& message)
{
    std::fprintf(stderr, "quillmere-batch: %s\n", qPrintable(message));
    return 1;
}

int TellTooManyToRemember(qint64 asked)
{
    return TellUsageError(
        QStringLiteral("--unique can remember at most %1 results to compare; %2 were asked for")
            .arg(kMaxRemembered)
            .arg(asked));
}
