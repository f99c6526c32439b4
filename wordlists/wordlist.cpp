#include "wordlist.h"

#include "wordlistfile.h"

namespace {
// Only what fits on screen is drawn; eliding a multi-megabyte line of a
// binary file on every paint would stall the window.
constexpr qsizetype kMaxShownChars = 512;
} // namespace

WordListModel::WordListModel(QObject* parent) : QAbstractListModel(parent) {}

QString WordListModel::entry(int index) const
{
    if (index < 0 || index >= count())
        return {};
    return m_entries.at(index);
}

int WordListModel::room() const
{
    return kMaxWordListEntries - count();
}

void WordListModel::clear()
{
    if (m_entries.isEmpty())
        return;
    beginResetModel();
    m_entries.clear();
    endResetModel();
}

int WordListModel::append(const QStringList& lines)
{
    const int added = static_cast<int>(std::min<qsizetype>(lines.size(), room()));
    if (added <= 0)
        return 0;
    beginInsertRows({}, count(), count() + added - 1);
    m_entries.append(lines.mid(0, added));
    endInsertRows();
    return added;
}

int WordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant WordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole) {
        const QString& text = m_entries.at(index.row());
        return text.size() > kMaxShownChars ? text.left(kMaxShownChars) : text;
    }
    return {};
}
