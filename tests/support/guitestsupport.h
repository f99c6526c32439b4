#pragma once
// Helpers for tests of windows and widgets: what a user does, and what a user sees.
#include "testsupport.h"

#include <QtTest>
#include <QtWidgets>

// Hands the next application-modal box to `answer`, which closes it, after keeping its title
// and text in `told`; gives up after about five seconds.
template <typename Answer> void AnswerNextModal(QString& told, Answer answer, int ticks = 500)
{
    QTimer::singleShot(10, qApp, [&told, answer, ticks] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            told = box->windowTitle() + "|" + box->text();
            answer(box);
        } else if (ticks > 0)
            AnswerNextModal(told, answer, ticks - 1);
    });
}

// Whether `text` shows whole in `w` at 96 dpi, width and height, beside a drop-down's arrow.
inline bool Fits(QWidget* w, const QString& text)
{
    const QFontMetrics fm(w->font());
    return fm.horizontalAdvance(text) <= w->width() - (qobject_cast<QComboBox*>(w) ? 20 : 0) &&
           -fm.tightBoundingRect(text).top() + fm.descent() <= w->height();
}

// Picks `text` from the popup as a user would, with the mouse or the keyboard.
inline void Choose(QComboBox* combo, const QString& text, bool keyboard = false)
{
    combo->showPopup();
    QAbstractItemView* view = combo->view();
    const QModelIndex item = view->model()->index(combo->findText(text), 0);
    view->setCurrentIndex(item);
    if (keyboard)
        QTest::keyClick(view, Qt::Key_Return);
    else
        QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, view->visualRect(item).center());
    QTRY_VERIFY(!view->isVisible());
}

// The names of the controls that Tab visits from the focus, `presses` times.
inline QString TabWalk(int presses)
{
    QStringList names;
    while (names.size() < presses) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        names << QApplication::focusWidget()->objectName();
    }
    return names.join(' ');
}

// Where each control of `layout` ("name:left,top,width,height ...", in twips from the corner
// of `window`) stands, in the same form.
inline QString Layout(QWidget* window, const QString& layout)
{
    QStringList seen;
    for (const QString& item : layout.split(' ')) {
        const QString name = item.section(':', 0, 0);
        const auto* w = window->findChild<QWidget*>(name);
        const QRect r = w ? QRect(w->mapTo(window, QPoint()) * 15, w->size() * 15) : QRect();
        seen << name + QString::asprintf(":%d,%d,%d,%d", r.x(), r.y(), r.width(), r.height());
    }
    return seen.join(' ');
}
