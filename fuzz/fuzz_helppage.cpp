// libFuzzer target for everything the help window reads before it lays
// anything out: the reader process's reply, a page's measure and refusal,
// the table of contents, character references and the links that may leave
// the help. Each input is tried as all of them, and a broken invariant
// aborts with the reason.
#include "helpmanual.h"
#include "helppage.h"

#include <QByteArray>
#include <QUrl>
#include <climits>
#include <cstdio>
#include <cstdlib>

namespace {

void check(bool holds, const char* what)
{
    if (!holds) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

QList<int> figures(const HtmlMeasure& m)
{
    return {m.depth,    m.elementDepth, m.elements,   m.tableDepth, m.tableCells,
            m.pictures, m.wordLength,   m.styleRules, m.layoutWork, m.brokenTables};
}

void reply(const QByteArray& bytes)
{
    const HelpReply parsed = ParseHelpReply(bytes);
    if (parsed.failure != HelpFailure::None) {
        check(parsed.manual == HelpManual{}, "a failed reply carries a manual");
        return;
    }
    const HelpManual& manual = parsed.manual;
    check(manual.objects.contains(manual.defaultTopic) ||
              manual.oversized.contains(manual.defaultTopic),
          "the default topic is not in the manual");
    check(manual.objects.size() + manual.oversized.size() <= kMaxHelpObjects, "too many objects");
    qint64 total = 0;
    for (auto it = manual.objects.cbegin(); it != manual.objects.cend(); ++it) {
        check(IsHelpObjectPath(it.key()), "an object path that is not one");
        check(it.value().size() <= kMaxHelpObjectBytes, "an object over its cap");
        total += it.value().size();
    }
    check(total <= kMaxHelpTotalBytes, "objects over the total cap");
    for (auto it = manual.oversized.cbegin(); it != manual.oversized.cend(); ++it)
        check(IsHelpObjectPath(it.key()) && it.value() > kMaxHelpObjectBytes,
              "an oversized object that is not");
    check(ParseHelpReply(EncodeHelpReply(parsed)).manual == manual,
          "the manual does not survive encoding");
    // What the viewer would lay out first.
    if (const auto page = manual.objects.constFind(manual.defaultTopic);
        page != manual.objects.cend())
        CheckHelpPage(*page);
    if (const auto contents = manual.objects.constFind(manual.contentsFile);
        contents != manual.objects.cend())
        CheckContents(*contents);
}

void page(const QByteArray& bytes, const uint8_t* data, size_t size)
{
    const HelpPage checked = CheckHelpPage(bytes);
    if (checked.refusal.isEmpty())
        check(checked.html == DecodeHelpText(bytes), "an accepted page changed on the way");
    else
        check(checked.html.isEmpty(), "a refused page still has its text");

    // Small limits taken from the input, so that every one of them is reached.
    auto limit = [&](size_t i) { return i < size ? 1 + data[i] % 24 : 8; };
    const HtmlLimits small{1 << 20,  limit(0), limit(1), limit(2), limit(3),
                           limit(4), limit(5), limit(6), limit(7), 40 * limit(9)};
    constexpr HtmlLimits unlimited{1 << 30, 1 << 30, 1 << 30, 1 << 30, 1 << 30,
                                   1 << 30, 1 << 30, 1 << 30, 1 << 30, INT_MAX};
    const QString html = DecodeHelpText(bytes);
    const HtmlMeasure measure = MeasureHtml(html, small);
    const HtmlMeasure whole = MeasureHtml(html, unlimited);
    const QList<int> stopped = figures(measure);
    const QList<int> all = figures(whole);
    const QList<int> limits = {
        small.depth,    small.elementDepth, small.elements,   small.tableDepth, small.tableCells,
        small.pictures, small.wordLength,   small.styleRules, small.layoutWork, 0};
    bool over = false;
    for (qsizetype i = 0; i < stopped.size(); ++i) {
        check(stopped[i] >= 0 && stopped[i] <= all[i], "stopping early measured more");
        over = over || stopped[i] > limits[i];
    }
    check(over == !HtmlRefusal(measure, small).isEmpty(), "refusal and limits disagree");
    check(!over || !HtmlRefusal(whole, small).isEmpty(),
          "the whole page passes where a part fails");
}

void contents(const QByteArray& bytes, const uint8_t* data, size_t size)
{
    const HelpContents checked = CheckContents(bytes);
    if (checked.refusal.isEmpty()) {
        check(checked.topics.size() <= kMaxContentsEntries, "too many entries accepted");
        int before = -1;
        for (const HelpTopic& topic : checked.topics) {
            check(topic.depth >= 0 && topic.depth < kMaxContentsDepth && topic.depth <= before + 1,
                  "an entry too deep");
            check(topic.local.isEmpty() || topic.local.startsWith(QLatin1Char('/')),
                  "a page that is not an object path");
            before = topic.depth;
        }
    } else {
        check(checked.topics.isEmpty(), "refused contents still have entries");
    }
    const int most = size > 8 ? data[8] % 16 : 3;
    check(ParseContents(DecodeHelpText(bytes), most).size() <= most + 1, "entries past the stop");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    reply(bytes);
    page(bytes, data, size);
    contents(bytes, data, size);
    const QString text = QString::fromUtf8(bytes);
    check(DecodeHtmlEntities(text).size() <= text.size(), "references grew the text");
    const QUrl url(text);
    if (MayOpenOutsideHelp(url)) {
        const QString scheme = url.scheme();
        check(scheme == QLatin1String("http") || scheme == QLatin1String("https") ||
                  scheme == QLatin1String("mailto"),
              "a link of another kind may leave the help");
    }
    return 0;
}
