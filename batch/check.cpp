#include "check.h"

#include "invent.h"
#include "paths.h"
#include "twoword.h"
#include "wordlistfile.h"
#include "writer.h"

#include <QHash>
#include <QSet>
#include <algorithm>
#include <array>
#include <climits>

namespace {

// Every list the program reads, each once, in the order the modes use them.
QStringList allLists()
{
    QStringList files;
    for (const TwoWordFiles& mode : kTwoWordModes)
        files << QLatin1String(mode.primary) << QLatin1String(mode.secondary);
    return files + NameLists();
}

// An entry as a report line shows it: quoted, control characters visible,
// and no longer than a line.
QString shown(const QString& entry)
{
    QString text;
    for (const QChar c : QStringView(entry).left(60))
        text += c.unicode() < 0x20 ? QStringLiteral("\\x%1").arg(c.unicode(), 2, 16, QChar(u'0'))
                                   : QString(c);
    return u'"' + text + (entry.size() > 60 ? QStringLiteral("...\"") : QStringLiteral("\""));
}

// By WordListLine::End.
constexpr const char* kEndNames[] = {"", "CR LF", "LF", "CR"};

// Each finding on a line of its own, counted with the files it names.
struct Report {
    void finding(const QString& path, qsizetype line, const QString& text)
    {
        out.append((line > 0 ? QStringLiteral("%1:%2: %3").arg(path).arg(line).arg(text)
                             : QStringLiteral("%1: %2").arg(path, text))
                       .toUtf8() +
                   '\n');
        ++findings;
        files.insert(path);
    }
    BufferedWriter& out;
    int findings = 0;
    QSet<QString> files;
};

// The line ends most lines use are the file's; the first line that ends
// otherwise is named.
void checkLineEnds(const QString& path, const QList<WordListLine>& layout, Report& report)
{
    std::array<qsizetype, std::size(kEndNames)> ends{}; // by WordListLine::End
    for (const WordListLine& line : layout)
        ++ends[int(line.end)];
    ends[0] = 0; // a last line without an end
    QStringList counts;
    for (std::size_t end = 1; end < ends.size(); ++end)
        if (ends[end] > 0)
            counts << QStringLiteral("%1 %2").arg(ends[end]).arg(QLatin1String(kEndNames[end]));
    const auto usual = std::max_element(ends.begin(), ends.end()) - ends.begin();
    for (qsizetype i = 0; i < layout.size() && counts.size() > 1; ++i) {
        if (int(layout[i].end) != usual && layout[i].end != WordListLine::End::None) {
            report.finding(path, i + 1,
                           QStringLiteral("mixed line ends (%1); this is the first line to end "
                                          "with %2")
                               .arg(counts.join(QLatin1String(", ")),
                                    QLatin1String(kEndNames[int(layout[i].end)])));
            return;
        }
    }
}

// What one entry holds that an author would want to fix, by itself.
void checkEntry(const QString& path, qsizetype line, const QString& entry, Report& report)
{
    if (entry.isEmpty()) {
        report.finding(path, line, QStringLiteral("blank entry"));
        return;
    }
    if (entry.front().isSpace())
        report.finding(path, line, QStringLiteral("%1 begins with a space").arg(shown(entry)));
    if (entry.back().isSpace())
        report.finding(path, line, QStringLiteral("%1 ends with a space").arg(shown(entry)));
    if (!QStringView(entry).isValidUtf16())
        report.finding(path, line,
                       QStringLiteral("%1 holds half of a UTF-16 surrogate pair, which is no "
                                      "character; it prints as \"?\"")
                           .arg(shown(entry)));
    if (entry.size() > kMaxResultLength)
        report.finding(path, line,
                       QStringLiteral("%1 is %2 characters long, longer than a result (%3); "
                                      "results with it are cut short")
                           .arg(shown(entry))
                           .arg(entry.size())
                           .arg(kMaxResultLength));
}

// What one file holds that an author would want to fix. Returns its entries
// (all of them, beyond the cap too) for the checks across lists.
QStringList checkFile(const QString& path, Report& report)
{
    // All the lines, to tell how many lie beyond the cap.
    const WordListRead read = ReadWordListFile(path, {.maxLines = INT_MAX, .layout = true});
    if (!read.error.isEmpty())
        report.finding(path, 0,
                       read.truncated ? read.error
                                      : QStringLiteral("cannot be read: %1").arg(read.error));
    if (read.encoding != QLatin1String("UTF-8") && !read.encoding.isEmpty())
        report.finding(path, 0,
                       QStringLiteral("is written in %1, not UTF-8; it reads correctly here, but "
                                      "other tools may not")
                           .arg(read.encoding));
    checkLineEnds(path, read.layout, report);

    QHash<QString, qsizetype> exact;
    QHash<QString, qsizetype> folded;
    for (qsizetype i = 0; i < read.lines.size(); ++i) {
        const QString& entry = read.lines[i];
        const qsizetype line = i + 1;
        if (i == kMaxWordListEntries)
            report.finding(path, line,
                           QStringLiteral("this line and the %1 after it are beyond the %2 "
                                          "entries a list holds; they are never used")
                               .arg(read.lines.size() - line)
                               .arg(kMaxWordListEntries));
        if (i < read.layout.size() && read.layout[i].windows1252)
            report.finding(path, line,
                           QStringLiteral("%1 is not valid UTF-8; it was read as Windows-1252")
                               .arg(shown(entry)));
        checkEntry(path, line, entry, report);
        if (entry.isEmpty())
            continue;
        const QString fold = entry.toCaseFolded();
        if (const qsizetype first = exact.value(entry); first > 0)
            report.finding(path, line,
                           QStringLiteral("%1 repeats line %2").arg(shown(entry)).arg(first));
        else if (const qsizetype same = folded.value(fold); same > 0)
            report.finding(path, line,
                           QStringLiteral("%1 differs only in capitals from line %2 (%3)")
                               .arg(shown(entry))
                               .arg(same)
                               .arg(shown(read.lines[same - 1])));
        exact.insert(entry, exact.value(entry, line));
        folded.insert(fold, folded.value(fold, line));
    }
    return read.lines;
}

} // namespace

int RunCheck(BufferedWriter& out)
{
    Report report{out, 0, {}};
    const QStringList lists = allLists();
    QHash<QString, QStringList> entries;
    for (const QString& list : lists)
        entries.insert(list, checkFile(FullPath(list), report));

    // A word in both lists of a two-word mode can be paired with itself.
    for (const TwoWordFiles& mode : kTwoWordModes) {
        QHash<QString, qsizetype> firsts;
        const QStringList& primary = entries[QLatin1String(mode.primary)];
        for (qsizetype i = primary.size() - 1; i >= 0; --i)
            if (!primary[i].isEmpty())
                firsts.insert(primary[i].toCaseFolded(), i + 1);
        const QStringList& secondary = entries[QLatin1String(mode.secondary)];
        for (qsizetype i = 0; i < secondary.size(); ++i) {
            if (const qsizetype line = firsts.value(secondary[i].toCaseFolded()); line > 0)
                report.finding(FullPath(QLatin1String(mode.secondary)), i + 1,
                               QStringLiteral("%1 stands in %2 too (line %3), so a result can "
                                              "repeat it")
                                   .arg(shown(secondary[i]), FullPath(QLatin1String(mode.primary)))
                                   .arg(line));
        }
    }

    out.append((report.findings == 0
                    ? QStringLiteral("checked %1 word lists: nothing to fix\n").arg(lists.size())
                    : QStringLiteral("checked %1 word lists: %2 finding%3 in %4 of them\n")
                          .arg(lists.size())
                          .arg(report.findings)
                          .arg(report.findings == 1 ? "" : "s")
                          .arg(report.files.size()))
                   .toUtf8());
    return out.finish(report.findings == 0 ? 0 : 1, "the report");
}
