#pragma once

#include <QLineEdit>
#include <functional>

// The result box: a click selects the whole result, a double-click offers to
// copy it to the clipboard after the user confirms.
class ResultBox : public QLineEdit {
    Q_OBJECT
public:
    explicit ResultBox(QWidget* parent = nullptr);

    // Selection start 0, length the whole text as it stands now.
    void SelectAll();

    // The double-click's command: select, ask, and on Yes copy what the box
    // holds at the moment of the answer.
    void CopyWithConfirmation();

    // Asks "Are you sure ...?"; true for Yes. Tests replace it to answer.
    using Confirm = std::function<bool(QWidget* parent)>;
    static void SetConfirm(Confirm confirm);
    static bool AskConfirmation(QWidget* parent);

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
};
