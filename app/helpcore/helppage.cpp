#include "helppage.h"

#include <QHash>
#include <QSet>
#include <QStringDecoder>
#include <climits>
#include <initializer_list>

namespace {

// Elements a page writes without their end tag, or that never have one: a
// parser closes them on its own, so they are left out of the counted depth.
// html, head and body belong here too: their tags are optional altogether.
bool isUncounted(const QString& name)
{
    static const QSet<QString> names = {
        QStringLiteral("p"),     QStringLiteral("li"),     QStringLiteral("dt"),
        QStringLiteral("dd"),    QStringLiteral("tr"),     QStringLiteral("td"),
        QStringLiteral("th"),    QStringLiteral("option"), QStringLiteral("thead"),
        QStringLiteral("tbody"), QStringLiteral("tfoot"),  QStringLiteral("colgroup"),
        QStringLiteral("br"),    QStringLiteral("img"),    QStringLiteral("hr"),
        QStringLiteral("meta"),  QStringLiteral("link"),   QStringLiteral("input"),
        QStringLiteral("col"),   QStringLiteral("area"),   QStringLiteral("base"),
        QStringLiteral("wbr"),   QStringLiteral("param"),  QStringLiteral("source"),
        QStringLiteral("embed"), QStringLiteral("track"),  QStringLiteral("html"),
        QStringLiteral("head"),  QStringLiteral("body"),
    };
    return names.contains(name);
}

// The only elements Qt's parser never lets hold anything. Every other void
// element of HTML is unknown to it and takes what follows as its children,
// so those stay open here as they do there.
bool isChildless(const QString& name)
{
    return name == QLatin1String("img") || name == QLatin1String("br") ||
           name == QLatin1String("hr") || name == QLatin1String("meta");
}

// Where a line of text may be broken: white space, and the scripts written
// without it, whose characters each allow a break.
bool allowsBreak(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || u == u'\t' || u == u'\n' || u == u'\r' || u == u'\f' || u == 0x200B ||
           (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xAC00 && u <= 0xD7AF) ||
           (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF);
}

// What laying a page out costs Qt, in microseconds of a middling machine,
// measured one kind of content at a time (Qt 6.4, Release): 2 MiB of plain
// text takes 0.1 s, of preformatted lines 1 s, of text in a table cell 3.3 s
// and twice that four tables deep; 2000 empty cells 0.2 s; a word of 50000
// letters 0.6 s, of 200000 letters 8 s; 300 rules for every element applied
// to 4000 elements 0.7 s.
constexpr double kElementCost = 15;
constexpr double kLetterCost = 0.05;
constexpr double kPreformattedLetterCost = 0.5;
constexpr double kTableLetterCost = 1.6;
constexpr double kCellCost = 100;
constexpr double kNestedTableFactor = 1.5; // each table deeper costs this much more
constexpr double kLongWordCost = 0.00023;  // times the letters squared
constexpr double kStyleMatchCost = 0.55;   // for each rule and element

double nestedTableFactor(int tables)
{
    double factor = 1;
    for (int i = 1; i < qMin(tables, 64); ++i)
        factor *= kNestedTableFactor;
    return factor;
}

// Reads tags the way Qt's HTML parser does: every '<' opens a tag, words are
// quoted or end at a space, '<', '=', '>' or "/>", a tag ends at the first
// '>' after its attributes. Reading them alike keeps the two from ever
// disagreeing about where a tag ends, which would let markup hide from the
// count.
class TagReader {
public:
    explicit TagReader(QStringView text) : m_text(text) {}

    qsizetype pos() const { return m_pos; }
    bool atEnd() const { return m_pos >= m_text.size(); }
    bool at(char16_t c, qsizetype ahead = 0) const
    {
        return m_pos + ahead < m_text.size() && m_text[m_pos + ahead] == c;
    }
    void advance(qsizetype n = 1) { m_pos = qMin(m_pos + n, m_text.size()); }

    void skipTo(char16_t c)
    {
        const qsizetype found = m_text.indexOf(QChar(c), m_pos);
        m_pos = found < 0 ? m_text.size() : found;
    }
    void skipPast(QStringView s)
    {
        const qsizetype found = m_text.indexOf(s, m_pos);
        m_pos = found < 0 ? m_text.size() : found + s.size();
    }
    void skipSpace()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace() &&
               m_text[m_pos] != QChar::ParagraphSeparator)
            ++m_pos;
    }

    // A word as it stands in the page, and its quote: character references
    // are left as written (the parser replaces them in all but single-quoted
    // words, but never where a word ends).
    struct Word {
        QStringView text;
        char16_t quote = 0;
        QString value() const
        {
            return quote == u'\'' ? text.toString() : DecodeHtmlEntities(text);
        }
    };
    Word word()
    {
        const qsizetype size = m_text.size();
        if (at(u'"')) {
            const qsizetype start = ++m_pos;
            skipTo(u'"');
            const QStringView w = m_text.sliced(start, m_pos - start);
            advance();
            return {w, u'"'};
        }
        if (at(u'\'')) {
            // A quote after a backslash does not end the word.
            const qsizetype start = ++m_pos;
            while (m_pos < size) {
                const QChar c = m_text[m_pos++];
                if (c == u'\'' && m_text[m_pos - 2] != u'\\')
                    return {m_text.sliced(start, m_pos - 1 - start), u'\''};
            }
            return {m_text.sliced(start), u'\''};
        }
        const qsizetype start = m_pos;
        while (m_pos < size) {
            const QChar c = m_text[m_pos];
            if (c == u'>' || (c == u'/' && at(u'>', 1)) || c == u'<' || c == u'=' || c.isSpace())
                break;
            ++m_pos;
        }
        return {m_text.sliced(start, m_pos - start)};
    }

    // Reads the attributes and the rest of an opening tag, handing each
    // attribute with a value to `attribute`; true when the tag closes itself
    // with a '/'.
    template <typename Attribute> bool finishOpeningTag(Attribute attribute)
    {
        if (m_pos < m_text.size() && m_text[m_pos].isSpace()) {
            while (!atEnd()) {
                skipSpace();
                if (at(u'>') || at(u'/'))
                    break;
                const Word key = word();
                if (key.text.isEmpty())
                    break;
                skipSpace();
                if (at(u'=')) {
                    advance();
                    skipSpace();
                    attribute(key, word());
                }
            }
        }
        bool closed = false;
        while (!atEnd() && !at(u'>')) {
            closed = closed || at(u'/');
            advance();
        }
        advance();
        return closed;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

// How many columns a cell's span attribute asks for, as the parser reads it;
// a value that may read differently to it counts as the most it allows.
int spanOf(const TagReader::Word& word, int current)
{
    constexpr int kMostSpan = 20480;
    const QString value = word.value();
    if (word.quote != u'\'' && value.contains(QLatin1Char('&')))
        return kMostSpan;
    bool ok = false;
    const int span = value.toInt(&ok);
    return ok ? qBound(1, span, kMostSpan) : current;
}

// The elements open at the current point of the page, innermost last, and
// the tables among them.
class OpenElements {
public:
    explicit OpenElements(HtmlMeasure& measure) : m_measure(measure) {}

    int counted() const { return m_counted; }
    double cellWork() const { return m_cellWork; }
    int all() const { return static_cast<int>(m_names.size()); }
    int tables() const { return static_cast<int>(m_tables.size()); }
    bool topIs(QStringView name) const { return !m_names.isEmpty() && m_names.last() == name; }
    // Where the innermost open element of that name stands, or -1.
    qsizetype innermost(const QString& name) const
    {
        const auto found = m_open.constFind(name);
        return found == m_open.cend() || found->isEmpty() ? -1 : found->last();
    }
    // Marks the page's tables as broken: Qt repairs them in ways that no
    // count made here can follow.
    void breakTables() { m_measure.brokenTables = 1; }

    void push(const QString& name)
    {
        m_open[name].append(m_names.size());
        m_names.append(name);
        m_counted += isUncounted(name) ? 0 : 1;
        if (name == QLatin1String("table"))
            m_tables.append(Table{qint64(1) << qMin<qsizetype>(m_tables.size(), 40),
                                  kCellCost * nestedTableFactor(tables() + 1)});
        else if (name == QLatin1String("tr") && !m_tables.isEmpty())
            grow(m_tables.last(), 1, -m_tables.last().rowWidth);
    }
    // Closes the elements above position `at`, and that one too if
    // `inclusive`. Closing a table that way breaks the tables.
    void popTo(qsizetype at, bool inclusive)
    {
        while (m_names.size() > at + (inclusive ? 0 : 1)) {
            const QString name = m_names.takeLast();
            m_open[name].removeLast();
            m_counted -= isUncounted(name) ? 0 : 1;
            if (name == QLatin1String("table")) {
                m_tables.removeLast();
                if (m_names.size() > at)
                    breakTables();
            }
        }
    }
    void close(const QString& name)
    {
        const qsizetype at = innermost(name);
        if (at >= 0)
            popTo(at, true); // a stray end tag closes nothing
    }

    // A cell of the innermost table. Its cells are rows times the widest row,
    // widened by every cell that spans rows, since such a cell pushes the
    // cells of the rows below it to the right. Qt lays a nested table out
    // again for every pass over the cell that holds it, so a cell counts
    // twice for each table around its own.
    void addCell(int columns, bool spansRows)
    {
        if (m_tables.isEmpty())
            return;
        Table& table = m_tables.last();
        grow(table, table.rows == 0 ? 1 : 0, columns);
        if (spansRows) {
            table.spanning += columns;
            grow(table, 0, 0);
        }
    }

private:
    struct Table {
        qint64 weight = 1;
        double cellCost = kCellCost;
        qint64 rows = 0;
        qint64 rowWidth = 0;
        qint64 widest = 0;
        qint64 spanning = 0;
        qint64 cells = 0;
    };
    void grow(Table& table, qint64 rows, qint64 width)
    {
        table.rows += rows;
        table.rowWidth += width;
        table.widest = qMax(table.widest, table.rowWidth);
        const qint64 cells = table.rows * (table.widest + table.spanning);
        m_cells = qMin(m_cells + (cells - table.cells) * table.weight, qint64(1) << 40);
        m_cellWork += double(cells - table.cells) * table.cellCost;
        table.cells = cells;
        m_measure.tableCells = static_cast<int>(qMin<qint64>(m_cells, INT_MAX));
    }

    HtmlMeasure& m_measure;
    QStringList m_names;
    QHash<QString, QList<qsizetype>> m_open; // where each name is open, innermost last
    QList<Table> m_tables;
    qint64 m_cells = 0;
    double m_cellWork = 0;
    int m_counted = 0;
};

// Where a new element goes. Tables must be whole: rows inside tables, cells
// inside rows, a table inside a cell, each closed by its own end tag or its
// table's; whatever Qt would have to repair breaks them. Elsewhere only the
// repairs that close elements for certain are made; where the parser might
// nest instead, the element nests, so nothing measured is ever less than what
// the parser builds.
void openElement(OpenElements& open, const QString& name)
{
    const auto is = [&](const char* n) { return name == QLatin1String(n); };
    const qsizetype table = open.innermost(QStringLiteral("table"));
    if (is("td") || is("th")) {
        const qsizetype row = open.innermost(QStringLiteral("tr"));
        if (row > table && table >= 0)
            open.popTo(row, false);
        else
            open.breakTables();
    } else if (is("tr")) {
        qsizetype group = table;
        for (const char* g : {"thead", "tbody", "tfoot"})
            group = qMax(group, open.innermost(QString::fromLatin1(g)));
        if (table >= 0)
            open.popTo(group, false);
        else
            open.breakTables();
    } else if (is("thead") || is("tbody") || is("tfoot") || is("caption")) {
        if (table >= 0)
            open.popTo(table, false);
        else
            open.breakTables();
    } else if (is("table")) {
        if (table >= 0 && qMax(open.innermost(QStringLiteral("td")),
                               open.innermost(QStringLiteral("th"))) < table)
            open.breakTables(); // a table in a table, but in none of its cells
    } else if (is("dt") || is("dd")) {
        const qsizetype list = open.innermost(QStringLiteral("dl"));
        if (list >= 0 && list >= table)
            open.popTo(list, false);
    } else if (is("p") || is("li")) {
        // Neither nests directly in itself.
        if (open.topIs(name))
            open.popTo(open.all() - 1, true);
    } else if (is("body")) {
        while (open.topIs(u"head"))
            open.popTo(open.all() - 1, true);
    }
}

bool exceeds(const HtmlMeasure& m, const HtmlLimits& l)
{
    return m.depth > l.depth || m.elementDepth > l.elementDepth || m.elements > l.elements ||
           m.tableDepth > l.tableDepth || m.tableCells > l.tableCells || m.pictures > l.pictures ||
           m.wordLength > l.wordLength || m.styleRules > l.styleRules ||
           m.layoutWork > l.layoutWork || m.brokenTables != 0;
}

} // namespace

QString DecodeHelpText(const QByteArray& bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromLatin1(bytes);
}

int StyleRuleCount(QStringView css)
{
    return static_cast<int>(css.count(u'{') + css.count(u'@'));
}

HtmlMeasure MeasureHtml(QStringView html, const HtmlLimits& limits)
{
    HtmlMeasure measure;
    TagReader reader(html);
    OpenElements open(measure);
    qint64 word = 0;
    double work = 0; // all but the cells, the style and the word still running
    auto account = [&] {
        const double total = work + kLongWordCost * double(word) * double(word) + open.cellWork() +
                             kStyleMatchCost * measure.styleRules * measure.elements;
        measure.layoutWork = static_cast<int>(qMin(total, double(INT_MAX)));
    };
    while (!reader.atEnd() && !exceeds(measure, limits)) {
        const qsizetype textStart = reader.pos();
        reader.skipTo(u'<');
        const QStringView text = html.sliced(textStart, reader.pos() - textStart);
        if (open.topIs(u"style")) {
            // A character reference may stand for a brace as well.
            measure.styleRules += StyleRuleCount(text) + static_cast<int>(text.count(u'&'));
        } else if (!open.topIs(u"script")) {
            const int tables = open.tables();
            const bool preformatted = open.innermost(QStringLiteral("pre")) >= 0 ||
                                      open.innermost(QStringLiteral("nobr")) >= 0;
            work += double(text.size()) *
                    qMax(preformatted ? kPreformattedLetterCost : kLetterCost,
                         tables > 0 ? kTableLetterCost * nestedTableFactor(tables) : 0.0);
            // Tags do not break a word: <b>, </b> and the like run on inside
            // it. Lines that are never wrapped have no words to break.
            auto longest = [&] {
                measure.wordLength =
                    int(qMin<qint64>(qMax<qint64>(measure.wordLength, word), INT_MAX));
            };
            for (const QChar c : text) {
                if (preformatted || allowsBreak(c)) {
                    longest();
                    work += kLongWordCost * double(word) * double(word);
                    word = 0;
                } else {
                    ++word;
                }
            }
            longest();
        }
        account();
        if (reader.atEnd())
            break;
        reader.advance();
        reader.skipSpace();
        if (reader.at(u'!')) {
            // A comment, or a declaration such as <!DOCTYPE ...>.
            reader.advance();
            if (reader.at(u'-') && reader.at(u'-', 1)) {
                reader.advance(2);
                reader.skipPast(u"-->");
            } else {
                reader.skipPast(u">");
            }
            continue;
        }
        if (reader.at(u'/')) {
            reader.advance();
            const QString name = reader.word().text.toString().toLower().trimmed();
            reader.skipPast(u">");
            // A name with a character reference in it may read differently
            // to the parser; closing nothing for it can only count higher.
            if (!name.isEmpty() && !name.contains(QLatin1Char('&')))
                open.close(name);
            continue;
        }
        const QString name = reader.word().text.toString().toLower();
        int columns = 1;
        bool spansRows = false;
        const bool closesItself =
            reader.finishOpeningTag([&](const TagReader::Word& key, const TagReader::Word& value) {
                // Most attributes are none of these; only a name with a
                // reference in it needs reading out.
                const QString decoded = key.text.contains(u'&') ? key.value() : QString();
                const QStringView k = decoded.isNull() ? key.text : QStringView(decoded);
                auto is = [&](const char* n) {
                    return k.compare(QLatin1String(n), Qt::CaseInsensitive) == 0;
                };
                if (is("colspan"))
                    columns = spanOf(value, columns);
                else if (is("rowspan"))
                    spansRows = spanOf(value, spansRows ? 2 : 1) > 1;
                else if (is("background") && !value.text.isEmpty())
                    ++measure.pictures;
            });
        ++measure.elements;
        openElement(open, name);
        if (name == QLatin1String("td") || name == QLatin1String("th"))
            open.addCell(columns, spansRows);
        else if (name == QLatin1String("img"))
            ++measure.pictures;
        if (!closesItself && !isChildless(name))
            open.push(name);
        measure.depth = qMax(measure.depth, open.counted());
        measure.elementDepth = qMax(measure.elementDepth, open.all());
        measure.tableDepth = qMax(measure.tableDepth, open.tables());
        work += kElementCost;
        account();
    }
    return measure;
}

QString HtmlRefusal(const HtmlMeasure& m, const HtmlLimits& l)
{
    const QString needs = QStringLiteral(", more than any help page needs");
    if (m.depth > l.depth)
        return QStringLiteral("its elements nest more than %1 deep").arg(l.depth) + needs;
    if (m.elementDepth > l.elementDepth)
        return QStringLiteral("its elements, paragraphs, list items and table cells included, "
                              "nest more than %1 deep")
                   .arg(l.elementDepth) +
               needs;
    if (m.elements > l.elements)
        return QStringLiteral("it holds more than %1 elements").arg(l.elements) + needs;
    if (m.brokenTables)
        return QStringLiteral("its table markup is broken: a row or cell outside its table, or a "
                              "table closed by another element's end tag");
    if (m.tableDepth > l.tableDepth)
        return QStringLiteral("its tables nest more than %1 deep").arg(l.tableDepth) + needs;
    if (m.tableCells > l.tableCells)
        return QStringLiteral("its tables hold more than %1 cells, a cell counting twice for "
                              "each table it is nested in")
                   .arg(l.tableCells) +
               needs;
    if (m.pictures > l.pictures)
        return QStringLiteral("it shows more than %1 pictures").arg(l.pictures) + needs;
    if (m.wordLength > l.wordLength)
        return QStringLiteral("it has a word longer than %1 letters").arg(l.wordLength) + needs;
    if (m.styleRules > l.styleRules)
        return QStringLiteral("its style sheets hold more than %1 rules").arg(l.styleRules) + needs;
    if (m.layoutWork > l.layoutWork)
        return QStringLiteral("laying it out would keep the help window busy for more than "
                              "%1 s")
            .arg(l.layoutWork / 1000000.0);
    return {};
}

bool SpendStyleRules(HtmlMeasure& page, int rules)
{
    const double work = page.layoutWork + kStyleMatchCost * double(rules) * double(page.elements);
    if (rules < 0 || page.styleRules + qint64(rules) > kHelpPageLimits.styleRules ||
        work > kHelpPageLimits.layoutWork)
        return false;
    page.styleRules += rules;
    page.layoutWork = static_cast<int>(work);
    return true;
}

QString HelpPageSizeRefusal()
{
    return QStringLiteral("it is larger than %1 MiB, more than any help page needs")
        .arg(kHelpPageLimits.bytes / (1024 * 1024));
}

HelpPage CheckHelpPage(const QByteArray& bytes)
{
    if (bytes.size() > kHelpPageLimits.bytes)
        return {{}, {}, HelpPageSizeRefusal()};
    QString html = DecodeHelpText(bytes);
    const HtmlMeasure measure = MeasureHtml(html);
    if (QString refusal = HtmlRefusal(measure); !refusal.isEmpty())
        return {{}, measure, std::move(refusal)};
    return {std::move(html), measure, {}};
}

QString DecodeHtmlEntities(QStringView text)
{
    QString out;
    out.reserve(text.size());
    qsizetype pos = 0;
    while (pos < text.size()) {
        const qsizetype amp = text.indexOf(u'&', pos);
        if (amp < 0) {
            out.append(text.sliced(pos));
            break;
        }
        out.append(text.sliced(pos, amp - pos));
        pos = amp + 1;
        const qsizetype semicolon = text.indexOf(u';', pos);
        // Character references are short; a far-off ';' ends something else.
        if (semicolon < 0 || semicolon - pos > 10) {
            out.append(QLatin1Char('&'));
            continue;
        }
        const QStringView name = text.sliced(pos, semicolon - pos);
        char32_t code = 0;
        if (name.startsWith(u'#')) {
            bool ok = false;
            const bool hex = name.size() > 1 && (name[1] == u'x' || name[1] == u'X');
            const uint value = name.sliced(hex ? 2 : 1).toUInt(&ok, hex ? 16 : 10);
            if (ok && value > 0 && value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF))
                code = value;
        } else {
            static const QHash<QString, char32_t> named = {
                {QStringLiteral("amp"), U'&'},   {QStringLiteral("lt"), U'<'},
                {QStringLiteral("gt"), U'>'},    {QStringLiteral("quot"), U'"'},
                {QStringLiteral("apos"), U'\''}, {QStringLiteral("nbsp"), U'\u00A0'},
            };
            code = named.value(name.toString(), 0);
        }
        if (code == 0) {
            out.append(QLatin1Char('&'));
            continue;
        }
        out.append(QStringView(QChar::fromUcs4(code)));
        pos = semicolon + 1;
    }
    return out;
}

namespace {

QString absoluteObjectPath(const QString& path)
{
    return path.startsWith(QLatin1Char('/')) ? path : QLatin1Char('/') + path;
}

// The attributes of one tag, names in lower case, values with their
// character references replaced.
QList<std::pair<QString, QString>> tagAttributes(QStringView text)
{
    QList<std::pair<QString, QString>> found;
    qsizetype pos = 0;
    const qsizetype size = text.size();
    auto skipSpace = [&] {
        while (pos < size && text[pos].isSpace())
            ++pos;
    };
    while (pos < size) {
        skipSpace();
        const qsizetype keyStart = pos;
        while (pos < size && !text[pos].isSpace() && text[pos] != u'=')
            ++pos;
        const QString key = text.sliced(keyStart, pos - keyStart).toString().toLower();
        skipSpace();
        if (pos >= size || text[pos] != u'=') {
            if (key.isEmpty())
                ++pos;
            continue;
        }
        ++pos;
        skipSpace();
        QStringView value;
        if (pos < size && (text[pos] == u'"' || text[pos] == u'\'')) {
            const QChar quote = text[pos++];
            qsizetype end = text.indexOf(quote, pos);
            if (end < 0)
                end = size;
            value = text.sliced(pos, end - pos);
            pos = end + 1;
        } else {
            const qsizetype start = pos;
            while (pos < size && !text[pos].isSpace())
                ++pos;
            value = text.sliced(start, pos - start);
        }
        if (!key.isEmpty())
            found.append({key, DecodeHtmlEntities(value)});
    }
    return found;
}

} // namespace

QList<HelpTopic> ParseContents(const QString& sitemap, int maxEntries)
{
    QList<HelpTopic> topics;
    int depth = -1; // before the first <ul>
    bool inEntry = false;
    HelpTopic entry;
    int entryLevel = 0;
    QList<int> levels; // the list depths of the entries the next one may belong under
    const QStringView text(sitemap);
    qsizetype pos = 0;
    while (topics.size() <= maxEntries) {
        const qsizetype open = text.indexOf(u'<', pos);
        const qsizetype end = open < 0 ? -1 : text.indexOf(u'>', open + 1);
        if (end < 0)
            break;
        pos = end + 1;
        QStringView tag = text.sliced(open + 1, end - open - 1).trimmed();
        const bool closing = tag.startsWith(u'/');
        if (closing)
            tag = tag.sliced(1).trimmed();
        qsizetype nameEnd = 0;
        while (nameEnd < tag.size() && tag[nameEnd].isLetterOrNumber())
            ++nameEnd;
        const QString name = tag.first(nameEnd).toString().toLower();
        const QStringView rest = tag.sliced(nameEnd);

        if (name == QLatin1String("ul")) {
            depth = closing ? qMax(depth - 1, -1) : depth + 1;
        } else if (name == QLatin1String("object") && !closing) {
            inEntry = false;
            for (const auto& [key, value] : tagAttributes(rest))
                inEntry = inEntry ||
                          (key == QLatin1String("type") &&
                           value.compare(QLatin1String("text/sitemap"), Qt::CaseInsensitive) == 0);
            // An entry belongs under the last one written in a shallower
            // list, however many lists open in between.
            while (!levels.isEmpty() && levels.last() >= depth)
                levels.removeLast();
            entry = HelpTopic{{}, {}, static_cast<int>(levels.size())};
            entryLevel = depth;
        } else if (name == QLatin1String("object")) {
            if (inEntry && !entry.name.isEmpty()) {
                topics.append(entry);
                levels.append(entryLevel);
            }
            inEntry = false;
        } else if (name == QLatin1String("param") && inEntry) {
            QString key;
            QString value;
            for (const auto& [k, v] : tagAttributes(rest)) {
                if (k == QLatin1String("name"))
                    key = v.toLower();
                else if (k == QLatin1String("value"))
                    value = v;
            }
            if (key == QLatin1String("name") && entry.name.isEmpty())
                entry.name = value.simplified();
            else if (key == QLatin1String("local") && entry.local.isEmpty() && !value.isEmpty())
                entry.local = absoluteObjectPath(value);
        }
    }
    return topics;
}

namespace {
QString contentsRefusal(const QString& what)
{
    return QStringLiteral("they %1, more than any manual needs").arg(what);
}
} // namespace

QString HelpContentsSizeRefusal()
{
    return contentsRefusal(
        QStringLiteral("are larger than %1 MiB").arg(kHelpPageLimits.bytes / (1024 * 1024)));
}

HelpContents CheckContents(const QByteArray& bytes)
{
    if (bytes.size() > kHelpPageLimits.bytes)
        return {{}, HelpContentsSizeRefusal()};
    QList<HelpTopic> topics = ParseContents(DecodeHelpText(bytes));
    if (topics.size() > kMaxContentsEntries)
        return {
            {},
            contentsRefusal(QStringLiteral("hold more than %1 entries").arg(kMaxContentsEntries))};
    for (const HelpTopic& topic : topics)
        if (topic.depth >= kMaxContentsDepth)
            return {{},
                    contentsRefusal(
                        QStringLiteral("nest more than %1 levels deep").arg(kMaxContentsDepth))};
    return {std::move(topics), {}};
}

bool MayOpenOutsideHelp(const QUrl& url)
{
    if (!url.isValid())
        return false;
    const QString scheme = url.scheme();
    if (scheme == QLatin1String("mailto"))
        return !url.path().isEmpty();
    return (scheme == QLatin1String("http") || scheme == QLatin1String("https")) &&
           !url.host().isEmpty();
}
