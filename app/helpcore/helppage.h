#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringView>
#include <QUrl>

// What the help window refuses to lay out. Qt's rich text engine recurses
// once per nesting level, and slows down far faster than the page grows on
// deep nesting, nested tables, big tables, long lists, words too long for a
// line, many pictures and many style rules: a page of 20 nested tables takes
// 14 s, one of 10000 list items 5 s, one word of 200000 letters 8 s. Each
// limit below keeps its worst case well under a second, and a real manual
// stays far below every one of them.
struct HtmlLimits {
    qint64 bytes = 2 * 1024 * 1024;
    // Leaves out the elements pages write by the hundred (see MeasureHtml).
    int depth = 100;
    // The same count with every element: 100 nested lists make 200 levels
    // this way.
    int elementDepth = 500;
    int elements = 4000;
    int tableDepth = 4;
    // Rows times columns of every table, a cell spanning columns counted
    // once for each, and twice for each table around its own.
    int tableCells = 2000;
    int pictures = 300;
    // Letters in a row that a line cannot be broken between.
    int wordLength = 20000;
    // Rules of the page's own style sheets and of those it links, together.
    int styleRules = 300;
    // All of it together, as the microseconds Qt would take to lay the page
    // out (see MeasureHtml): what stays inside every other limit may still
    // add up, a hundred long words or a table full of text.
    int layoutWork = 1000000;
};
inline constexpr HtmlLimits kHelpPageLimits{};

// Text of an HTML page or sitemap stored in the file: the encoding its
// byte-order mark or <meta> charset names, UTF-8 otherwise.
QString DecodeHelpText(const QByteArray& bytes);

// What a page holds once an HTML parser has built it. The tags are read as
// Qt's own HTML parser reads them, and wherever the two could disagree the
// figures come out higher, never lower. Measuring stops at the tag or text
// where a figure first passes its limit, and the time taken is linear in the
// length of the page.
struct HtmlMeasure {
    // Nesting depth without void elements (br, img ...) and without those
    // whose end tag is optional and usually omitted (p, li, td ...).
    int depth = 0;
    int elementDepth = 0;
    int elements = 0;
    int tableDepth = 0;
    int tableCells = 0;
    int pictures = 0;
    int wordLength = 0;
    int styleRules = 0;
    int layoutWork = 0;
    // 1 when the tables need repairs from the parser: a row or a cell
    // outside its table, a table closed by another element's end tag. Qt's
    // repairs build tables no count made here can follow, and no hand-written
    // page needs them.
    int brokenTables = 0;
};
HtmlMeasure MeasureHtml(QStringView html, const HtmlLimits& limits = kHelpPageLimits);

// Why a page so measured is not shown, ending the sentence "The page ... is
// not shown: ..."; empty when it may be.
QString HtmlRefusal(const HtmlMeasure& measure, const HtmlLimits& limits = kHelpPageLimits);

// A page ready for the viewer with the style rules it spends of its budget,
// or the reason it is refused.
struct HelpPage {
    QString html;
    HtmlMeasure measure;
    QString refusal;
};
HelpPage CheckHelpPage(const QByteArray& bytes);
// Whether a style sheet of `rules` rules may still apply to the page, whose
// measure then counts them: sheets the page links are met only once it is
// laid out.
bool SpendStyleRules(HtmlMeasure& page, int rules);
// The refusal of a page too large to be read at all.
QString HelpPageSizeRefusal();

// How many rules a style sheet can hold, counted high: every '{', and every
// '@' since an at-rule may load another sheet.
int StyleRuleCount(QStringView css);

// One entry of a table of contents: its title, the page it opens (an
// absolute object path, empty for a heading without a page) and its depth in
// the tree, 0 for the top level and never more than one below the entry
// before it.
struct HelpTopic {
    QString name;
    QString local;
    int depth = 0;

    bool operator==(const HelpTopic&) const = default;
};

// Reads the sitemap of a contents file (.hhc): its entries in document
// order, stopping after `maxEntries` + 1 of them.
QList<HelpTopic> ParseContents(const QString& sitemap, int maxEntries = 10000);

// The table of contents ready for the viewer, or the reason it is refused,
// which ends the sentence "The contents of this help file are not shown: ...".
struct HelpContents {
    QList<HelpTopic> topics;
    QString refusal;
};
HelpContents CheckContents(const QByteArray& bytes);
inline constexpr int kMaxContentsDepth = 16;
inline constexpr int kMaxContentsEntries = 10000;
// The refusal of contents too large to be read at all.
QString HelpContentsSizeRefusal();

// Only web pages and e-mail addresses may leave the help for the desktop's
// own programs; any other link out of the file (files, other programs'
// schemes, scripts, inline data) is not followed.
bool MayOpenOutsideHelp(const QUrl& url);

// Replaces the character references of an attribute value (&amp; &lt;
// &#233; &#xE9; ...) by the characters they stand for.
QString DecodeHtmlEntities(QStringView text);
