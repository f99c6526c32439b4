#include "helpwindow.h"

#include <QAction>
#include <QDesktopServices>
#include <QLineEdit>
#include <QListWidget>
#include <QRegularExpression>
#include <QScreen>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QStringDecoder>
#include <QStyle>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString kScheme = QStringLiteral("chm");
constexpr int kUrlRole = Qt::UserRole;

// A page read for its words alone: nothing it links to is loaded, not even
// its style sheet, and nothing is laid out.
class PageText : public QTextDocument {
protected:
    QVariant loadResource(int, const QUrl&) override { return {}; }
};

QString htmlText(const QByteArray& bytes)
{
    QStringDecoder decoder = QStringDecoder::decoderForHtml(bytes);
    return decoder.isValid() ? decoder.decode(bytes) : QString::fromUtf8(bytes);
}

QString sentencePage(const QString& sentence)
{
    return QStringLiteral("<p>%1</p>").arg(sentence.toHtmlEscaped());
}

// Pages of a help file are addressed as chm:/path/page.html#fragment.
QUrl HelpUrl(const QString& objectPath)
{
    return QUrl(kScheme + QLatin1Char(':') + objectPath);
}

} // namespace

HelpBrowser::HelpBrowser(const ChmFile& file, QWidget* parent) : QTextBrowser(parent), m_file(file)
{
    // Every click comes to follow(), which alone decides where a link goes.
    setOpenLinks(false);
    connect(this, &QTextBrowser::anchorClicked, this, &HelpBrowser::follow);
}

void HelpBrowser::follow(const QUrl& link)
{
    const QUrl target = source().resolved(link);
    if (target.scheme() == kScheme)
        return setSource(target, QTextDocument::HtmlResource);
    const QString shown = target.toDisplayString();
    if (!QStringList{"http", "https", "mailto"}.contains(target.scheme()))
        emit linkRefused(
            QStringLiteral("This link leads outside the help and is not opened: %1").arg(shown));
    else if (!QDesktopServices::openUrl(target))
        emit linkRefused(QStringLiteral("No program on this computer could open %1.").arg(shown));
}

QVariant HelpBrowser::loadResource(int type, const QUrl& name)
{
    const QUrl url = source().resolved(name);
    // Nothing from outside the file: no local files, no network.
    if (url.scheme() != kScheme)
        return {};
    const QString path = url.path(QUrl::FullyDecoded);
    if (std::optional<QByteArray> bytes = m_file.read(path))
        return *bytes;
    if (type != QTextDocument::HtmlResource)
        return {};
    return sentencePage(QStringLiteral("The page \"%1\" is not in this help file.").arg(path));
}

HelpWindow::HelpWindow(const QString& path, QWidget* parent) : QMainWindow(parent), m_path(path)
{
    m_browser = new HelpBrowser(m_file, this);
    createSidePanel();
    auto* splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({280, 620}); // room for the longest contents entry
    setCentralWidget(splitter);
    createToolBar();
    // On a small or scaled screen the window still fits whole.
    resize(QSize(960, 660).boundedTo(screen()->availableGeometry().size() * 0.9));

    for (const QKeySequence& keys :
         {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::CTRL | Qt::Key_W)})
        connect(new QShortcut(keys, this), &QShortcut::activated, this, &QWidget::close);
    connect(m_browser, &QTextBrowser::sourceChanged, this, [this](const QUrl& url) {
        markCurrentTopic(url);
        statusBar()->clearMessage();
        // Laid out before it is reported: "showing" means it can be seen.
        m_browser->document()->size();
        emit report(QStringLiteral("showing ") + url.toString());
    });
    connect(m_browser, &HelpBrowser::linkRefused, statusBar(),
            [this](const QString& sentence) { statusBar()->showMessage(sentence); });
}

void HelpWindow::createSidePanel()
{
    m_tabs = new QTabWidget(this);
    m_contents = new QTreeWidget(m_tabs);
    m_contents->setHeaderHidden(true);
    m_tabs->addTab(m_contents, QStringLiteral("Contents"));
    auto listTab = [this](QLineEdit*& line, QListWidget*& list, const char* title,
                          const char* hint) {
        auto* page = new QWidget(m_tabs);
        auto* layout = new QVBoxLayout(page);
        layout->addWidget(line = new QLineEdit(page));
        layout->addWidget(list = new QListWidget(page));
        line->setPlaceholderText(QString::fromLatin1(hint));
        line->setClearButtonEnabled(true);
        m_tabs->addTab(page, QString::fromLatin1(title));
    };
    listTab(m_indexFilter, m_index, "Index", "Keyword to find");
    listTab(m_searchWords, m_results, "Search", "Words to search for, then Enter");

    // In the contents and the search results, moving to an entry opens its
    // page; in the index typing only finds a keyword, and Enter or a click
    // opens it.
    connect(m_contents, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
        if (item)
            openItem(item->data(0, kUrlRole).toUrl());
    });
    connect(m_results, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
        if (item)
            openItem(item->data(kUrlRole).toUrl());
    });
    auto openKeyword = [this] {
        if (QListWidgetItem* item = m_index->currentItem())
            openItem(item->data(kUrlRole).toUrl());
    };
    connect(m_index, &QListWidget::itemClicked, this, openKeyword);
    connect(m_index, &QListWidget::itemActivated, this, openKeyword);
    connect(m_indexFilter, &QLineEdit::returnPressed, this, openKeyword);
    connect(m_indexFilter, &QLineEdit::textChanged, this, [this](const QString& text) {
        for (int row = 0; row < m_index->count(); ++row)
            if (m_index->item(row)->text().startsWith(text.trimmed(), Qt::CaseInsensitive))
                return m_index->setCurrentRow(row);
    });
    connect(m_searchWords, &QLineEdit::returnPressed, this,
            [this] { search(m_searchWords->text()); });
}

void HelpWindow::createToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("Navigation"));
    bar->setMovable(false);
    bar->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    auto add = [&](const char* name, QStyle::StandardPixmap icon, const QKeySequence& keys) {
        QAction* action = bar->addAction(style()->standardIcon(icon), QString::fromLatin1(name));
        action->setObjectName(QString::fromLatin1(name).toLower());
        action->setShortcut(keys);
        return action;
    };
    QAction* back = add("Back", QStyle::SP_ArrowBack, QKeySequence::Back);
    QAction* forward = add("Forward", QStyle::SP_ArrowForward, QKeySequence::Forward);
    QAction* home = add("Home", QStyle::SP_DirHomeIcon, QKeySequence(Qt::ALT | Qt::Key_Home));
    connect(back, &QAction::triggered, m_browser, &QTextBrowser::backward);
    connect(forward, &QAction::triggered, m_browser, &QTextBrowser::forward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QAction::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QAction::setEnabled);
    connect(home, &QAction::triggered, this,
            [this] { openItem(HelpUrl(m_file.info().defaultTopic)); });
}

void HelpWindow::showHome()
{
    m_texts.clear();
    m_contents->clear();
    m_index->clear();
    m_results->clear();
    m_indexFilter->clear();
    m_searchWords->clear();
    statusBar()->clearMessage();
    setWindowTitle(QStringLiteral("Help"));
    if (const QString reason = m_file.open(m_path); !reason.isEmpty())
        return showProblem(
            QStringLiteral("Could not open the help file \"%1\": %2.").arg(m_path, reason));
    const QString home = m_file.info().defaultTopic;
    if (home.isEmpty() || !m_file.read(home))
        return showProblem(
            QStringLiteral("The help file \"%1\" is damaged: it has no first page to show.")
                .arg(m_path));
    if (!m_file.info().title.isEmpty())
        setWindowTitle(m_file.info().title);
    fillContents();
    fillIndex();
    m_tabs->show();
    // The file may have been replaced since its first page was last shown:
    // read it again, quietly, so the page is reported once.
    const QUrl url = HelpUrl(home);
    if (m_browser->source().adjusted(QUrl::RemoveFragment) == url) {
        const QSignalBlocker quiet(m_browser);
        m_browser->reload();
    }
    m_browser->setSource(url, QTextDocument::HtmlResource);
    m_browser->clearHistory();
}

void HelpWindow::showInFront()
{
    showHome();
    show();
    raise();
    activateWindow();
}

void HelpWindow::showProblem(const QString& sentence)
{
    m_file.close();
    m_tabs->hide();
    m_browser->setHtml(sentencePage(sentence));
    m_browser->clearHistory();
    emit report(QStringLiteral("problem ") + sentence);
}

namespace {
QList<HelpTopic> sitemapOf(const ChmFile& file, const QString& path)
{
    const std::optional<QByteArray> bytes = path.isEmpty() ? std::nullopt : file.read(path);
    return bytes ? ParseSitemap(htmlText(*bytes)) : QList<HelpTopic>();
}
} // namespace

void HelpWindow::fillContents()
{
    // Built apart from the view and handed over at once: a view that takes
    // its items one by one redraws for every one.
    QList<QTreeWidgetItem*> topLevel;
    QList<QTreeWidgetItem*> parents; // parents[d] holds the last entry at depth d
    for (const HelpTopic& topic : sitemapOf(m_file, m_file.info().contentsFile)) {
        parents.resize(qMin<qsizetype>(topic.depth, parents.size()));
        auto* item = new QTreeWidgetItem(QStringList{topic.name});
        if (!topic.local.isEmpty())
            item->setData(0, kUrlRole, HelpUrl(topic.local));
        if (parents.isEmpty())
            topLevel.append(item);
        else
            parents.last()->addChild(item);
        parents.append(item);
    }
    m_contents->addTopLevelItems(topLevel);
    m_contents->expandAll();
}

void HelpWindow::fillIndex()
{
    QList<HelpTopic> keywords = sitemapOf(m_file, m_file.info().indexFile);
    std::stable_sort(keywords.begin(), keywords.end(), [](const HelpTopic& a, const HelpTopic& b) {
        return a.name.compare(b.name, Qt::CaseInsensitive) < 0;
    });
    for (const HelpTopic& keyword : keywords)
        (new QListWidgetItem(keyword.name, m_index))->setData(kUrlRole, HelpUrl(keyword.local));
}

void HelpWindow::openItem(const QUrl& url)
{
    if (!url.isValid() || url.isEmpty())
        return;
    if (m_browser->source() != url)
        m_browser->setSource(url, QTextDocument::HtmlResource);
    // A page found by searching opens at the first of the words searched for.
    if (m_tabs->currentWidget() == m_results->parentWidget() && !m_searchWords->text().isEmpty()) {
        m_browser->moveCursor(QTextCursor::Start);
        m_browser->find(m_searchWords->text().simplified().section(QLatin1Char(' '), 0, 0));
    }
}

void HelpWindow::markCurrentTopic(const QUrl& url)
{
    const QUrl page = url.adjusted(QUrl::RemoveFragment);
    const QSignalBlocker blocker(m_contents);
    for (QTreeWidgetItemIterator it(m_contents); *it; ++it) {
        if ((*it)->data(0, kUrlRole).toUrl().adjusted(QUrl::RemoveFragment) == page) {
            m_contents->setCurrentItem(*it);
            return;
        }
    }
    m_contents->setCurrentItem(nullptr);
}

void HelpWindow::search(const QString& words)
{
    const QStringList terms =
        words.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    // Each page is read once for its words, at the first search.
    for (const QString& path :
         m_texts.isEmpty() && !terms.isEmpty() ? m_file.pages() : QStringList()) {
        PageText page;
        page.setHtml(htmlText(m_file.read(path).value_or(QByteArray())));
        const QString title = page.metaInformation(QTextDocument::DocumentTitle).simplified();
        m_texts.insert(path, {title.isEmpty() ? path : title, page.toPlainText()});
    }
    // Pages that hold every word, those that hold them most often first.
    QMap<std::pair<qsizetype, QString>, QString> found;
    for (auto it = m_texts.cbegin(); it != m_texts.cend() && !terms.isEmpty(); ++it) {
        qsizetype score = 0;
        for (const QString& term : terms)
            if (const qsizetype count = it->second.count(term, Qt::CaseInsensitive); score >= 0)
                score = count ? score + count : -1;
        if (score > 0)
            found.insert({-score, it->first}, it.key());
    }
    QSignalBlocker quiet(m_results); // the first result opens once the list is whole
    m_results->clear();
    for (auto it = found.cbegin(); it != found.cend(); ++it)
        (new QListWidgetItem(it.key().second, m_results))->setData(kUrlRole, HelpUrl(*it));
    if (found.isEmpty() && !terms.isEmpty())
        m_results->addItem(QStringLiteral("No page holds \"%1\".").arg(terms.join(' ')));
    m_results->setCurrentRow(-1);
    quiet.unblock();
    m_results->setCurrentRow(0);
}
