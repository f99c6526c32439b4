#include "choicebox.h"

#include <QCompleter>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QStringListModel>

namespace {
bool isReturn(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

// Marks the box as handling typed text while it lives, when `on`.
struct Guard {
    int& depth;
    const int step;
    explicit Guard(int& d, bool on = true) : depth(d), step(on) { depth += step; }
    ~Guard() { depth -= step; }
};
} // namespace

ChoiceBox::ChoiceBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setDuplicatesEnabled(true);
    // A case-sensitive completer with nothing to offer makes QComboBox's own
    // matching exact and stops inline completion from rewriting typed text.
    auto* completer = new QCompleter(new QStringListModel(this), this);
    completer->setCaseSensitivity(Qt::CaseSensitive);
    setCompleter(completer);
    lineEdit()->installEventFilter(this);

    connect(this, &QComboBox::activated, this, [this] {
        if (m_typing == 0)
            emit chosen();
    });
}

bool ChoiceBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && (event->type() == QEvent::FocusOut || isReturn(event))) {
        Guard guard(m_typing);
        return static_cast<QObject*>(lineEdit())->event(event);
    }
    return QComboBox::eventFilter(watched, event);
}

void ChoiceBox::focusOutEvent(QFocusEvent* event)
{
    Guard guard(m_typing);
    QComboBox::focusOutEvent(event);
}

void ChoiceBox::keyPressEvent(QKeyEvent* event)
{
    Guard guard(m_typing, isReturn(event));
    QComboBox::keyPressEvent(event);
}
