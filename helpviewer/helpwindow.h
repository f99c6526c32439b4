#pragma once

#include "chmfile.h"

#include <QHash>
#include <QMainWindow>
#include <QTextBrowser>

class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

// Shows the pages of one help file. Every resource a page asks for comes
// from inside the file; a link is followed only when it stays in the file or
// goes to a web page or e-mail address, which the desktop opens.
class HelpBrowser : public QTextBrowser {
    Q_OBJECT
public:
    HelpBrowser(const ChmFile& file, QWidget* parent);
    QVariant loadResource(int type, const QUrl& name) override;

signals:
    // A link that was not followed, and the sentence that says why.
    void linkRefused(const QString& sentence);

private:
    void follow(const QUrl& link);

    const ChmFile& m_file;
};

// The help window: contents, index and search on the left, the page on the
// right, Back, Forward and Home above, a status line below.
class HelpWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit HelpWindow(const QString& path, QWidget* parent = nullptr);

    // Reads the file afresh and shows its default topic with no history, or
    // one sentence naming the file and why it cannot be shown.
    void showHome();
    // The same, with the window shown in front.
    void showInFront();
    // Fills the search results for `words`; the first result is current.
    void search(const QString& words);

    HelpBrowser* browser() const { return m_browser; }
    QTabWidget* tabs() const { return m_tabs; }
    QTreeWidget* contents() const { return m_contents; }
    QLineEdit* indexFilter() const { return m_indexFilter; }
    QListWidget* index() const { return m_index; }
    QLineEdit* searchWords() const { return m_searchWords; }
    QListWidget* results() const { return m_results; }

signals:
    // "showing <address>" for every page shown, "problem <sentence>" when
    // the file cannot be shown.
    void report(const QString& line);

private:
    void createSidePanel();
    void createToolBar();
    void fillContents();
    void fillIndex();
    void openItem(const QUrl& url);
    void markCurrentTopic(const QUrl& url);
    void showProblem(const QString& sentence);

    QString m_path;
    ChmFile m_file;
    HelpBrowser* m_browser = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_indexFilter = nullptr;
    QListWidget* m_index = nullptr;
    QLineEdit* m_searchWords = nullptr;
    QListWidget* m_results = nullptr;
    // Each page's title and text, for searching.
    QHash<QString, std::pair<QString, QString>> m_texts;
};
