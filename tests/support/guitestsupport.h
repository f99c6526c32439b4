#pragma once
// Helpers for tests of windows and widgets.
#include "testsupport.h"

#include <QtWidgets>

// Hands the next application-modal box to `answer`, which closes it; gives up
// after about five seconds.
template <typename Answer> void AnswerNextModal(Answer answer)
{
    auto* timer = new QTimer(qApp);
    QObject::connect(timer, &QTimer::timeout, [timer, answer, ticks = 500]() mutable {
        if (QWidget* modal = QApplication::activeModalWidget(); modal || --ticks == 0) {
            timer->deleteLater();
            timer->stop();
            if (modal)
                answer(modal);
        }
    });
    timer->start(10);
}

// Whether `text` shows whole in `w` at 96 dpi, width and height, beside a drop-down's arrow.
inline bool Fits(QWidget* w, const QString& text)
{
    const QFontMetrics fm(w->font());
    return fm.horizontalAdvance(text) <= w->width() - (qobject_cast<QComboBox*>(w) ? 20 : 0) &&
           -fm.tightBoundingRect(text).top() + fm.descent() <= w->height();
}
