// libFuzzer target for what the help viewer reads out of a help file's own
// objects before anything is shown: each input is tried as the #SYSTEM
// object and as a contents or index file, and a broken invariant aborts with
// the reason.
#include "helpformat.h"

namespace {

// qFatal aborts, which the fuzzer reports with the reason.
void check(bool holds, const char* what)
{
    if (!holds)
        qFatal("broken: %s", what);
}

bool isObjectPath(const QString& path)
{
    return path.isEmpty() || path.startsWith(QLatin1Char('/'));
}

void system(const QByteArray& bytes)
{
    const HelpFileInfo info = ParseSystemObject(bytes);
    check(isObjectPath(info.defaultTopic) && isObjectPath(info.contentsFile) &&
              isObjectPath(info.indexFile),
          "a page named without its leading slash");
    check(info.title.size() <= 200, "a title longer than a caption");
    for (const QChar c : info.title)
        check(c.unicode() >= 0x20 && c.unicode() != 0x7f, "a control character in the title");
}

void sitemap(const QString& html)
{
    int before = -1;
    for (const HelpTopic& topic : ParseSitemap(html)) {
        check(topic.depth >= 0 && topic.depth <= before + 1, "an entry nested too deep");
        check(!topic.name.isEmpty() && topic.name == topic.name.simplified(), "an unnamed entry");
        check(isObjectPath(topic.local), "an entry's page not an object path");
        before = topic.depth;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const auto bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), qsizetype(size));
    system(bytes);
    sitemap(QString::fromUtf8(bytes));
    sitemap(QString::fromLatin1(bytes));
    return 0;
}
