#include "wordlistbox.h"

WordListBox::WordListBox(QWidget* parent) : QListView(parent)
{
    setModel(&m_words);
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTextElideMode(Qt::ElideRight);
}
