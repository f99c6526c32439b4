#include "form1.h"
#include "stdfds.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    OpenClosedStandardDescriptors();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Quillmere"));
    Form1 window;
    window.show();
    return QApplication::exec();
}
