#pragma once

#include "chmfile.h"

#include <QTextBrowser>
#include <QUrl>
#include <QWidget>
#include <functional>

class QAction;
class QTreeWidget;
class QTreeWidgetItem;

// Links that leave the help file (web pages, e-mail addresses) go to the
// desktop's own handler, never into the help window. Tests replace the
// handler to see what would have been opened; an empty one restores the
// desktop's.
using ExternalLinkOpener = std::function<bool(const QUrl& url)>;
void SetExternalLinkOpener(ExternalLinkOpener opener);
bool OpenExternalLink(const QUrl& url);

// Pages of the help file are addressed as chm:///path/page.html.
QUrl HelpUrl(const QString& objectPath);

// Shows pages of one help file. Every resource a page asks for, its style
// sheet and pictures included, comes from inside the file.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    explicit HelpBrowser(QWidget* parent = nullptr);
    void setHelpFile(const ChmFile* file) { m_file = file; }
    QVariant loadResource(int type, const QUrl& name) override;

private:
    void followLink(const QUrl& url);

    const ChmFile* m_file = nullptr;
};

// The help window: contents on the left, the page on the right, Back and
// Forward above. It belongs to the window that asked for help, stays beside
// it without blocking it, and is reused for every later request.
class HelpViewer : public QWidget {
    Q_OBJECT
public:
    explicit HelpViewer(QWidget* owner = nullptr);

    // Opens the file at its default topic; if it cannot be opened, the
    // window says which file and why.
    void openFile(const QByteArray& path8bit);

    HelpBrowser* browser() const { return m_browser; }
    QTreeWidget* contents() const { return m_contents; }
    QAction* backAction() const { return m_back; }
    QAction* forwardAction() const { return m_forward; }
    const ChmFile& file() const { return m_file; }

private:
    void fillContents();
    void showTopic(QTreeWidgetItem* item);
    void markCurrentTopic(const QUrl& url);

    ChmFile m_file;
    HelpBrowser* m_browser = nullptr;
    QTreeWidget* m_contents = nullptr;
    QAction* m_back = nullptr;
    QAction* m_forward = nullptr;
};
