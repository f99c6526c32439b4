#pragma once

#include <QComboBox>

// A drop-down list with an editable text field whose handler runs only on a
// real choice: an entry picked from the popup, or stepped to with the
// keyboard or the wheel. Typing never counts, and neither does leaving the
// field or pressing Return on typed text, even when it matches an entry.
//
// QComboBox on its own treats a typed text that matches an entry ignoring
// case as a choice when the field loses focus or gets Return, and rewrites
// the typed text into the entry's; both would break exact, case-sensitive
// comparisons, so this box switches that matching off.
class ChoiceBox : public QComboBox {
    Q_OBJECT
public:
    explicit ChoiceBox(QWidget* parent = nullptr);

signals:
    // The user chose an entry; read currentText() for it.
    void chosen();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int m_typing = 0; // > 0 while Qt handles an event that is not a choice
};
