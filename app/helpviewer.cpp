#include "helpviewer.h"

#include "helppage.h"

#include <QAction>
#include <QBuffer>
#include <QDesktopServices>
#include <QImage>
#include <QImageReader>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStatusBar>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kScheme = QStringLiteral("chm");

// Screenshots in a manual are a few hundred pixels across; a picture that
// claims to be larger is not decoded at all, and one page decodes no more
// than this many pixels in all (64 MiB).
constexpr int kMaxPictureSide = 4096;
constexpr qint64 kMaxPagePixels = 16 * 1024 * 1024;
// A style sheet is parsed whole for every page that links it.
constexpr qsizetype kMaxStyleSheetBytes = 256 * 1024;

ExternalLinkOpener& externalOpener()
{
    static ExternalLinkOpener opener;
    return opener;
}

QUrl withoutFragment(QUrl url)
{
    url.setFragment(QString());
    return url;
}

QString paragraphPage(const QString& text, const QString& more = {})
{
    return QStringLiteral("<html><body><p>%1</p>%2</body></html>").arg(text.toHtmlEscaped(), more);
}

QString missingPage(const QString& path)
{
    return paragraphPage(QStringLiteral("This page is not in the help file: %1").arg(path));
}

QString refusedPage(const QString& path, const QString& reason)
{
    return paragraphPage(QStringLiteral("The page \"%1\" is not shown: %2.").arg(path, reason));
}

// What stands in for a picture that is missing or refused. An empty answer
// would make the page ask again every time it is laid out, which slows a
// page with many of them down to a crawl; an answer is kept.
QImage noPicture()
{
    QImage image(1, 1, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    return image;
}

QImage picture(const QByteArray& bytes, qint64& pixelsLeft)
{
    QBuffer buffer;
    buffer.setData(bytes);
    QImageReader reader(&buffer);
    const QSize size = reader.size();
    if (!size.isValid() || size.width() > kMaxPictureSide || size.height() > kMaxPictureSide ||
        qint64(size.width()) * size.height() > pixelsLeft)
        return noPicture();
    const QImage image = reader.read();
    if (image.isNull())
        return noPicture();
    pixelsLeft -= qint64(image.width()) * image.height();
    return image;
}

} // namespace

void SetExternalLinkOpener(ExternalLinkOpener opener)
{
    externalOpener() = std::move(opener);
}

bool OpenExternalLink(const QUrl& url)
{
    if (externalOpener())
        return externalOpener()(url);
    return QDesktopServices::openUrl(url);
}

QUrl HelpUrl(const QString& objectPath)
{
    const qsizetype hash = objectPath.indexOf(QLatin1Char('#'));
    QUrl url;
    url.setScheme(kScheme);
    url.setPath(hash < 0 ? objectPath : objectPath.left(hash), QUrl::DecodedMode);
    if (hash >= 0)
        url.setFragment(objectPath.mid(hash + 1));
    return url;
}

HelpBrowser::HelpBrowser(QWidget* parent) : QTextBrowser(parent)
{
    // Every click comes to followLink, which alone decides whether a link
    // stays in the file, leaves it, or goes nowhere.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

void HelpBrowser::followLink(const QUrl& url)
{
    const QUrl target = url.isRelative() ? source().resolved(url) : url;
    if (target.scheme() == kScheme)
        setSource(target);
    else if (MayOpenOutsideHelp(target))
        OpenExternalLink(target);
    else
        emit linkRefused(QStringLiteral("This link leads outside the help and is not opened: %1")
                             .arg(target.toDisplayString()));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    QUrl url = name;
    if (url.isRelative()) {
        const QUrl base = document()->baseUrl().isEmpty() ? source() : document()->baseUrl();
        url = base.resolved(name);
    }
    // Nothing from outside the file: no local files, no network.
    if (url.scheme() != kScheme || !m_manual)
        return {};

    const QString path = url.path(QUrl::FullyDecoded);
    const auto found = m_manual->objects.constFind(path);
    const bool present = found != m_manual->objects.cend();
    switch (type) {
    case QTextDocument::HtmlResource: {
        // A new page: its style sheets and pictures start a budget of their
        // own, and a refused page gets none.
        m_page = HtmlMeasure{};
        m_page.styleRules = kHelpPageLimits.styleRules;
        m_pixelsLeft = kMaxPagePixels;
        if (m_manual->oversized.contains(path))
            return refusedPage(path, HelpPageSizeRefusal());
        if (!present)
            return missingPage(path);
        HelpPage page = CheckHelpPage(*found);
        if (!page.refusal.isEmpty())
            return refusedPage(path, page.refusal);
        m_page = page.measure;
        return page.html;
    }
    case QTextDocument::StyleSheetResource: {
        // Sheets linked or imported beyond the page's budget are left out;
        // the page still shows, plainer.
        if (!present || found->size() > kMaxStyleSheetBytes)
            return {};
        QString css = DecodeHelpText(*found);
        if (!SpendStyleRules(m_page, StyleRuleCount(css)))
            return {};
        return css;
    }
    case QTextDocument::ImageResource:
        return present ? picture(*found, m_pixelsLeft) : noPicture();
    default:
        return present ? QVariant(*found) : QVariant();
    }
}

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window), m_loader(new HelpLoader(this))
{
    setObjectName(QStringLiteral("helpViewer"));
    setWindowTitle(QStringLiteral("Help"));
    resize(920, 620);

    auto* bar = new QToolBar(this);
    bar->setObjectName(QStringLiteral("helpToolbar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    m_back = bar->addAction(style()->standardIcon(QStyle::SP_ArrowBack), QStringLiteral("Back"));
    m_back->setObjectName(QStringLiteral("back"));
    m_back->setShortcut(QKeySequence::Back);
    m_forward =
        bar->addAction(style()->standardIcon(QStyle::SP_ArrowForward), QStringLiteral("Forward"));
    m_forward->setObjectName(QStringLiteral("forward"));
    m_forward->setShortcut(QKeySequence::Forward);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    auto* splitter = new QSplitter(this);
    m_contents = new QTreeWidget(splitter);
    m_contents->setObjectName(QStringLiteral("helpContents"));
    m_contents->setHeaderHidden(true);
    m_contents->setColumnCount(1);
    m_browser = new HelpBrowser(splitter);
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 670});

    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("helpStatus"));
    m_status->setSizeGripEnabled(false);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);
    layout->addWidget(m_status);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpViewer::markCurrentTopic);
    connect(m_browser, &QTextBrowser::sourceChanged, m_status, &QStatusBar::clearMessage);
    connect(m_browser, &HelpBrowser::linkRefused, m_status,
            [this](const QString& message) { m_status->showMessage(message); });
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpViewer::showTopic);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpViewer::showTopic);
    connect(m_loader, &HelpLoader::finished, this, &HelpViewer::showManual);
}

void HelpViewer::openFile(const QByteArray& path8bit)
{
    // A fresh start each time: the file may have been rebuilt or replaced
    // since it was last shown.
    setWindowTitle(QStringLiteral("Help"));
    m_browser->setManual(nullptr);
    m_browser->clearHistory();
    m_browser->setPlainText(
        QStringLiteral("Loading the help file \"%1\"...").arg(QString::fromLocal8Bit(path8bit)));
    m_back->setEnabled(false);
    m_forward->setEnabled(false);
    m_contents->clear();
    m_contents->hide();
    m_status->clearMessage();
    m_loader->load(path8bit);
}

void HelpViewer::showManual(const HelpLoad& load)
{
    if (!load.manual) {
        m_browser->setPlainText(load.message);
        return;
    }
    const HelpManual& manual = *load.manual;
    m_browser->setManual(load.manual);
    setWindowTitle(manual.title.isEmpty() ? QStringLiteral("Help") : manual.title);
    const QString refusal = fillContents(manual);
    m_contents->setVisible(m_contents->topLevelItemCount() > 0);
    if (refusal.isEmpty()) {
        m_browser->setSource(HelpUrl(manual.defaultTopic), QTextDocument::HtmlResource);
    } else {
        // The pages are still there; the way in is the first one.
        m_browser->setHtml(paragraphPage(
            QStringLiteral("The contents of this help file are not shown: %1.").arg(refusal),
            QStringLiteral("<p><a href=\"%1\">Go to the first page</a></p>")
                .arg(HelpUrl(manual.defaultTopic).toString(QUrl::FullyEncoded).toHtmlEscaped())));
    }
    // The page shown before this request is no place to go back to.
    m_browser->clearHistory();
}

QString HelpViewer::fillContents(const HelpManual& manual)
{
    if (manual.oversized.contains(manual.contentsFile))
        return HelpContentsSizeRefusal();
    const auto sitemap = manual.objects.constFind(manual.contentsFile);
    if (sitemap == manual.objects.cend())
        return {};
    const HelpContents contents = CheckContents(*sitemap);
    if (!contents.refusal.isEmpty())
        return contents.refusal;
    // Built apart from the view and handed over at once: a view that takes
    // its items one by one redraws for every one.
    QList<QTreeWidgetItem*> topLevel;
    QList<QTreeWidgetItem*> parents; // parents[d] holds the last item at depth d
    for (const HelpTopic& topic : contents.topics) {
        const qsizetype depth = qMin<qsizetype>(topic.depth, parents.size());
        parents.resize(depth);
        auto* item = new QTreeWidgetItem(QStringList{topic.name});
        if (!topic.local.isEmpty())
            item->setData(0, Qt::UserRole, HelpUrl(topic.local));
        if (depth == 0)
            topLevel.append(item);
        else
            parents.last()->addChild(item);
        parents.append(item);
    }
    m_contents->addTopLevelItems(topLevel);
    m_contents->expandAll();
    return {};
}

void HelpViewer::showTopic(QTreeWidgetItem* item)
{
    const QUrl url = item ? item->data(0, Qt::UserRole).toUrl() : QUrl();
    if (url.isValid())
        m_browser->setSource(url, QTextDocument::HtmlResource);
}

void HelpViewer::markCurrentTopic(const QUrl& url)
{
    const QUrl page = withoutFragment(url);
    const QSignalBlocker blocker(m_contents);
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        if (withoutFragment((*it)->data(0, Qt::UserRole).toUrl()) == page) {
            m_contents->setCurrentItem(*it);
            return;
        }
    }
    m_contents->setCurrentItem(nullptr);
}
