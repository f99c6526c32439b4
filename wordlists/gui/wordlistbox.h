#pragma once

#include "wordlist.h"

#include <QListView>

// A list box as the user sees it: a view over its own WordListModel. Items
// have uniform size so a list of 32,767 entries shows without measuring each.
class WordListBox : public QListView {
    Q_OBJECT
public:
    explicit WordListBox(QWidget* parent = nullptr);
    WordListModel& words() { return m_words; }
    const WordListModel& words() const { return m_words; }

private:
    WordListModel m_words;
};
