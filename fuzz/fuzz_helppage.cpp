// libFuzzer target for everything the help window reads before it lays
// anything out: each input is tried as the reader's reply, as a page, as a
// table of contents and as a link, and a broken invariant aborts with the
// reason.
#include "helpmanual.h"
#include "helppage.h"

#include <QUrl>
#include <climits>

namespace {

// qFatal aborts, which the fuzzer reports with the reason.
void check(bool holds, const char* what)
{
    if (!holds)
        qFatal("broken: %s", what);
}

void reply(const QByteArray& bytes)
{
    const HelpReply parsed = ParseHelpReply(bytes);
    const HelpManual& manual = parsed.manual;
    if (parsed.failure != HelpFailure::None)
        return check(manual == HelpManual{}, "a failed reply carries a manual");
    const QString& home = manual.defaultTopic;
    check(manual.objects.contains(home) || manual.oversized.contains(home), "no default topic");
    check(manual.objects.size() + manual.oversized.size() <= kMaxHelpObjects, "too many objects");
    qint64 total = 0;
    for (auto it = manual.objects.cbegin(); it != manual.objects.cend(); total += it++->size())
        check(IsHelpObjectPath(it.key()) && it->size() <= kMaxHelpObjectBytes, "a bad object");
    check(total <= kMaxHelpTotalBytes, "objects over the total cap");
    for (auto it = manual.oversized.cbegin(); it != manual.oversized.cend(); ++it)
        check(IsHelpObjectPath(it.key()) && *it > kMaxHelpObjectBytes, "a bad oversized object");
    check(ParseHelpReply(EncodeHelpReply(parsed)).manual == manual, "encoding changes the manual");
    // What the viewer would lay out first.
    CheckHelpPage(manual.objects.value(home));
    CheckContents(manual.objects.value(manual.contentsFile));
}

void page(const QByteArray& bytes, const uint8_t* data, size_t size)
{
    const HelpPage got = CheckHelpPage(bytes);
    const QString html = DecodeHelpText(bytes);
    // A page shows as it is, or not at all.
    check(got.refusal.isEmpty() ? got.html == html : got.html.isEmpty(), "a page was altered");
    // Small limits taken from the input, so that every one of them is reached:
    // measuring stops where the first is passed, which changes no verdict.
    auto limit = [&](size_t i) { return i < size ? 1 + data[i] % 24 : 8; };
    const HtmlLimits small{1 << 20,  limit(0), limit(1), limit(2), limit(3),
                           limit(4), limit(5), limit(6), limit(7), 40 * limit(9)};
    const int m = INT_MAX;
    const HtmlLimits none{m, m, m, m, m, m, m, m, m, m};
    check(HtmlRefusal(MeasureHtml(html, small), small).isEmpty() ==
              HtmlRefusal(MeasureHtml(html, none), small).isEmpty(),
          "stopping early changed the verdict");
}

void contents(const QByteArray& bytes, int most)
{
    const HelpContents checked = CheckContents(bytes);
    check(checked.refusal.isEmpty() || checked.topics.isEmpty(), "refused contents have entries");
    check(checked.topics.size() <= kMaxContentsEntries, "too many entries accepted");
    int before = -1;
    for (const HelpTopic& topic : checked.topics) {
        check(topic.depth >= 0 && topic.depth < kMaxContentsDepth && topic.depth <= before + 1 &&
                  (topic.local.isEmpty() || topic.local.startsWith(QLatin1Char('/'))),
              "an entry too deep, or its page not an object path");
        before = topic.depth;
    }
    check(ParseContents(DecodeHelpText(bytes), most).size() <= most + 1, "entries past the stop");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    reply(bytes);
    page(bytes, data, size);
    contents(bytes, size > 8 ? data[8] % 16 : 3);
    const QString text = QString::fromUtf8(bytes);
    check(DecodeHtmlEntities(text).size() <= text.size(), "references grew the text");
    const QUrl url(text);
    check(!MayOpenOutsideHelp(url) || QStringList{"http", "https", "mailto"}.contains(url.scheme()),
          "a link of another kind may leave the help");
    return 0;
}
