#include "helpviewer.h"

#include <QAction>
#include <QDesktopServices>
#include <QImage>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kScheme = QStringLiteral("chm");

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

QString missingPage(const QString& path)
{
    return QStringLiteral("<html><body><p>This page is not in the help file: %1</p></body></html>")
        .arg(path.toHtmlEscaped());
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
    // stays in the file or leaves it.
    setOpenLinks(false);
    setOpenExternalLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::followLink);
}

void HelpBrowser::followLink(const QUrl& url)
{
    const QUrl target = url.isRelative() ? source().resolved(url) : url;
    if (target.scheme() == kScheme)
        setSource(target);
    else
        OpenExternalLink(target);
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    QUrl url = name;
    if (url.isRelative()) {
        const QUrl base = document()->baseUrl().isEmpty() ? source() : document()->baseUrl();
        url = base.resolved(name);
    }
    // Nothing from outside the file: no local files, no network.
    if (url.scheme() != kScheme || !m_file)
        return {};

    const QString path = url.path(QUrl::FullyDecoded);
    const std::optional<QByteArray> bytes = m_file->read(path);
    switch (type) {
    case QTextDocument::HtmlResource:
        return bytes ? DecodeHelpText(*bytes) : missingPage(path);
    case QTextDocument::StyleSheetResource:
        return bytes ? QVariant(QString::fromUtf8(*bytes)) : QVariant();
    case QTextDocument::ImageResource: {
        if (!bytes)
            return {};
        const QImage image = QImage::fromData(*bytes);
        return image.isNull() ? QVariant() : QVariant(image);
    }
    default:
        return bytes ? QVariant(*bytes) : QVariant();
    }
}

HelpViewer::HelpViewer(QWidget* owner) : QWidget(owner, Qt::Window)
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
    m_browser->setHelpFile(&m_file);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({250, 670});

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(bar);
    layout->addWidget(splitter, 1);

    connect(m_back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(m_forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, m_back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, m_forward, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this, &HelpViewer::markCurrentTopic);
    connect(m_contents, &QTreeWidget::itemClicked, this, &HelpViewer::showTopic);
    connect(m_contents, &QTreeWidget::itemActivated, this, &HelpViewer::showTopic);
}

void HelpViewer::openFile(const QByteArray& path8bit)
{
    // A fresh start each time: the file may have been rebuilt or replaced
    // since it was last shown.
    m_browser->clearHistory();
    m_browser->clear();
    m_contents->clear();
    if (!m_file.open(path8bit)) {
        setWindowTitle(QStringLiteral("Help"));
        m_contents->hide();
        m_browser->setPlainText(QStringLiteral("Could not open the help file \"%1\" because %2.")
                                    .arg(QString::fromLocal8Bit(path8bit), m_file.error()));
        m_back->setEnabled(false);
        m_forward->setEnabled(false);
        return;
    }
    setWindowTitle(m_file.title().isEmpty() ? QStringLiteral("Help") : m_file.title());
    fillContents();
    m_contents->setVisible(m_contents->topLevelItemCount() > 0);
    m_browser->setSource(HelpUrl(m_file.defaultTopic()), QTextDocument::HtmlResource);
    // The page shown before this request is no place to go back to.
    m_browser->clearHistory();
}

void HelpViewer::fillContents()
{
    const std::optional<QByteArray> sitemap = m_file.read(m_file.contentsFile());
    if (!sitemap)
        return;
    QList<QTreeWidgetItem*> parents; // parents[d] holds the last item at depth d
    for (const HelpTopic& topic : ParseContents(DecodeHelpText(*sitemap))) {
        const int depth = qMin(topic.depth, static_cast<int>(parents.size()));
        parents.resize(depth);
        auto* item =
            depth == 0 ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.last());
        item->setText(0, topic.name);
        if (!topic.local.isEmpty())
            item->setData(0, Qt::UserRole, HelpUrl(topic.local));
        parents.append(item);
    }
    m_contents->expandAll();
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
