#include "resultbox.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QMouseEvent>

namespace {
ResultBox::Confirm& confirm()
{
    static ResultBox::Confirm c = ResultBox::AskConfirmation;
    return c;
}
} // namespace

ResultBox::ResultBox(QWidget* parent) : QLineEdit(parent) {}

void ResultBox::SelectAll()
{
    setSelection(0, static_cast<int>(text().size()));
}

bool ResultBox::AskConfirmation(QWidget* parent)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Warning!"),
                    QStringLiteral("Are you sure you want to add the generation to clipboard?"),
                    QMessageBox::Yes | QMessageBox::No, parent);
    box.setDefaultButton(QMessageBox::Yes);
    box.setWindowModality(Qt::ApplicationModal);
    return box.exec() == QMessageBox::Yes;
}

void ResultBox::SetConfirm(Confirm c)
{
    confirm() = c ? std::move(c) : Confirm(AskConfirmation);
}

void ResultBox::CopyWithConfirmation()
{
    SelectAll();
    if (!confirm()(window()))
        return;
    QGuiApplication::clipboard()->setText(text(), QClipboard::Clipboard);
    SelectAll();
}

void ResultBox::mouseReleaseEvent(QMouseEvent* event)
{
    // Selecting after Qt has handled the release keeps the release from
    // collapsing the selection to the caret.
    QLineEdit::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton)
        SelectAll();
}

void ResultBox::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLineEdit::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton)
        CopyWithConfirmation();
}
