#include "htmlhelp.h"

#include "helpviewer.h"

#include <QCoreApplication>
#include <QPointer>

namespace {

// Help asked for without a calling window still gets one window, reused.
QPointer<HelpViewer>& unownedViewer()
{
    static QPointer<HelpViewer> viewer;
    return viewer;
}

} // namespace

QWidget* HtmlHelp(QWidget* caller, const QByteArray& path8bit, int command, quintptr data)
{
    if (command != HH_DISPLAY_TOPIC || data != 0)
        return nullptr;
    // The help window belongs to the caller's window, as its child.
    QWidget* owner = caller ? caller->window() : nullptr;
    HelpViewer* viewer = owner
                             ? owner->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly)
                             : unownedViewer().data();
    if (!viewer) {
        viewer = new HelpViewer(owner);
        if (!owner) {
            unownedViewer() = viewer;
            QObject::connect(qApp, &QCoreApplication::aboutToQuit, viewer, &QObject::deleteLater);
        }
    }
    viewer->openFile(path8bit);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}
