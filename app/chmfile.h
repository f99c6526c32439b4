#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

struct chmFile;

// A compiled HTML help file, read through chmlib. Objects inside the file
// are named by absolute paths such as "/index.html" or "/images/mode1.gif".
class ChmFile {
public:
    ChmFile() = default;
    ~ChmFile();
    ChmFile(const ChmFile&) = delete;
    ChmFile& operator=(const ChmFile&) = delete;

    // Opens the file named by `path8bit`, a path in the locale's 8-bit
    // encoding, closing any file opened before. On failure error() ends the
    // sentence "Could not open the help file ... because ...".
    bool open(const QByteArray& path8bit);
    void close();
    bool isOpen() const { return m_handle != nullptr; }
    QString error() const { return m_error; }

    // The object's bytes, or nothing when the file holds no such object.
    std::optional<QByteArray> read(const QString& path) const;
    bool contains(const QString& path) const;

    // What the help project declared, as absolute object paths; empty when
    // the file names none.
    QString title() const { return m_title; }
    QString defaultTopic() const { return m_defaultTopic; }
    QString contentsFile() const { return m_contentsFile; }

private:
    void readSystem();

    chmFile* m_handle = nullptr;
    QString m_error;
    QString m_title;
    QString m_defaultTopic;
    QString m_contentsFile;
};

// One entry of a table of contents: its title, the page it opens (an
// absolute object path, empty for a heading without a page) and its depth,
// 0 for the top level.
struct HelpTopic {
    QString name;
    QString local;
    int depth = 0;
};

// Reads the sitemap of a contents file (.hhc): its entries in document
// order, each with its nesting depth.
QList<HelpTopic> ParseContents(const QString& sitemap);

// Text of an HTML page or sitemap stored in the file: the encoding its
// byte-order mark or <meta> charset names, UTF-8 otherwise.
QString DecodeHelpText(const QByteArray& bytes);
