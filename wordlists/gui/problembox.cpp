#include "problembox.h"

#include <QMessageBox>

void ShowProblemBox(QObject* parent, const QString& message)
{
    QMessageBox box(QMessageBox::Warning, QStringLiteral("Quillmere"), message, QMessageBox::Ok,
                    qobject_cast<QWidget*>(parent));
    box.exec();
}
