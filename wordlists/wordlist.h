#pragma once

#include <QAbstractListModel>
#include <QStringList>

// The entries of one list box: numbered from 0, in the order they were
// appended, at most 32,767 of them. Reading at or beyond the count gives the
// empty text, which is what a pick from an empty list relies on.
class WordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit WordListModel(QObject* parent = nullptr);

    int count() const { return static_cast<int>(m_entries.size()); }
    QString entry(int index) const;
    const QStringList& entries() const { return m_entries; }
    int room() const;

    void clear();
    // Appends as many of `lines` as fit; returns how many were added.
    int append(const QStringList& lines);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    QStringList m_entries;
};
