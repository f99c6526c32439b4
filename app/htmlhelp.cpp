#include "htmlhelp.h"

#include "helpviewer.h"

QWidget* HtmlHelp(QWidget* caller, const QByteArray& path8bit, int command, quintptr data)
{
    if (!caller || command != HH_DISPLAY_TOPIC || data != 0)
        return nullptr;
    // The help window belongs to the caller's window, as its child, so there
    // is one per caller and it goes when the caller goes.
    QWidget* owner = caller->window();
    auto* viewer = owner->findChild<HelpViewer*>(QString(), Qt::FindDirectChildrenOnly);
    if (!viewer)
        viewer = new HelpViewer(owner);
    viewer->openFile(path8bit);
    viewer->show();
    viewer->raise();
    viewer->activateWindow();
    return viewer;
}
