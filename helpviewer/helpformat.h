#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// What a compiled help file says about itself, read from its own objects.
// Qt Core only, so that it can be fuzzed without a display.

// The #SYSTEM object: which pages open first and hold the contents and the
// index, and the title of the help window. Paths are absolute ("/index.html").
struct HelpFileInfo {
    QString title;
    QString defaultTopic;
    QString contentsFile;
    QString indexFile;
};
HelpFileInfo ParseSystemObject(const QByteArray& bytes);

// One entry of a contents (.hhc) or index (.hhk) file: its name, the page it
// opens ("/a.html#part", or empty for a heading) and how deep it sits, 0 for
// the outermost list.
struct HelpTopic {
    QString name;
    QString local;
    int depth = 0;
};

// Every named object of `html`, in order. An entry sits at most one
// level below the entry before it, however many lists open in between.
QList<HelpTopic> ParseSitemap(const QString& html);
