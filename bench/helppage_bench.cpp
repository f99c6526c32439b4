// The pages and contents that once froze or crashed the help window, put
// through the checks that now stand before the layout: how long each takes
// to be refused, and why.
#include "helppage.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

void measure(const char* what, const QByteArray& bytes, bool contents = false)
{
    QElapsedTimer clock;
    clock.start();
    const QString refusal = contents ? CheckContents(bytes).refusal : CheckHelpPage(bytes).refusal;
    std::printf("  %-30s %9lld bytes %8.1f ms  %s\n", what, static_cast<long long>(bytes.size()),
                static_cast<double>(clock.nsecsElapsed()) / 1e6,
                refusal.isEmpty() ? "shown" : qPrintable(refusal));
}

QByteArray page(const QByteArray& body)
{
    return "<html><body>" + body + "</body></html>";
}

} // namespace

int main()
{
    const QByteArray topic = "<object type=text/sitemap><param name=Name value=T></object>";
    measure("3,000 nested tables", page(QByteArray("<table><tr><td>").repeated(3000)));
    measure("30,000 nested b, i, span", page(QByteArray("<b><i><span>").repeated(10000)));
    measure("20,000 nested lists", page(QByteArray("<ul><li>").repeated(20000)));
    measure("a 35 MB page", page("<p>" + QByteArray("word ").repeated(7000000)));
    measure("contents 20,000 levels deep", page(("<ul><li>" + topic).repeated(20000)), true);
    measure("contents 17 levels deep", page(("<ul><li>" + topic).repeated(17)), true);
    measure("contents of 20,000 entries", page("<ul>" + ("<li>" + topic).repeated(20000) + "</ul>"),
            true);
    return 0;
}
