#pragma once

#include "helploader.h"
#include "helpmanual.h"
#include "helppage.h"

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <functional>
#include <memory>

class QAction;
class QStatusBar;
class QTreeWidget;
class QTreeWidgetItem;

// Links that leave the help file for web pages or e-mail addresses go to the
// desktop's own handler, never into the help window. Tests replace the
// handler to see what would have been opened; an empty one restores the
// desktop's.
using ExternalLinkOpener = std::function<bool(const QUrl& url)>;
void SetExternalLinkOpener(ExternalLinkOpener opener);
bool OpenExternalLink(const QUrl& url);

// Pages of the help file are addressed as chm:///path/page.html.
QUrl HelpUrl(const QString& objectPath);

// Shows pages of one manual. Every resource a page asks for, its style sheet
// and pictures included, comes from inside the manual, and no page reaches
// the layout before it has passed CheckHelpPage.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    void setManual(std::shared_ptr<const HelpManual> manual) { m_manual = std::move(manual); }
    QVariant loadResource(int type, const QUrl& name) override;

signals:
    // A link that was not followed, and the sentence that says so.
    void linkRefused(const QString& message);

private:
    void followLink(const QUrl& url);

    std::shared_ptr<const HelpManual> m_manual;
    // What the page shown has spent, of style rules and layout among others,
    // and what it may still spend on decoded pixels.
    HtmlMeasure m_page;
    qint64 m_pixelsLeft = 0;
};

// The help window: contents on the left, the page on the right, Back and
// Forward above, a status line below. It belongs to the window that asked for
// help, stays beside it without blocking it, and is reused for every later
// request.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* owner = nullptr);

    // Starts reading the file and returns at once: the window says it is
    // loading, then shows the file at its default topic, or one sentence
    // naming the file and why it cannot be shown.
    void openFile(const QByteArray& path8bit);
    bool isLoading() const { return m_loader->isLoading(); }

    HelpBrowser* browser() const { return m_browser; }
    QTreeWidget* contents() const { return m_contents; }
    QAction* backAction() const { return m_back; }
    QAction* forwardAction() const { return m_forward; }
    QStatusBar* statusLine() const { return m_status; }

private:
    void showManual(const HelpLoad& load);
    // The reason the contents are not shown, or an empty text.
    QString fillContents(const HelpManual& manual);
    void showTopic(QTreeWidgetItem* item);
    void markCurrentTopic(const QUrl& url);

    HelpLoader* m_loader = nullptr;
    HelpBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
    QStatusBar* m_status = nullptr;
};
