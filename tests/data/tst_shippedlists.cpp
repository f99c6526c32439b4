// The twenty word lists as they ship in data/: their format, and what the
// pairs they make say to a reader. The files are read as plain files,
// without the program's reader.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

// A shipped list's entries, by its path below data/ without the extension.
QStringList Entries(const QString& list)
{
    QFile file(QStringLiteral(QUILLMERE_SOURCE_DIR "/data/") + list + ".quillmere");
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split("\r\n");
    lines.removeLast(); // after the last line's end
    return lines;
}

// Case and accents do not make two names different to a reader (Pól, Pòl).
QString Folded(const QString& text)
{
    return text.normalized(QString::NormalizationForm_D)
        .removeIf([](QChar c) { return c.isMark(); })
        .toCaseFolded();
}

QSet<QString> Folded(const QStringList& texts)
{
    QSet<QString> set;
    for (const QString& text : texts)
        set << Folded(text);
    return set;
}

// The lines of a reference list kept beside this test, without comments.
QStringList Reference(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split('\n').filter(QRegularExpression("^[^#]"));
}

// Generate joins the two entries with one space, and an entry may hold spaces itself: the
// names of `names` that some first and second entry make.
QStringList Made(const QStringList& names, const QSet<QString>& first, const QSet<QString>& second)
{
    QStringList made;
    for (const QString& name : names)
        for (qsizetype at = name.indexOf(' '); at >= 0; at = name.indexOf(' ', at + 1))
            if (first.contains(Folded(name.left(at))) && second.contains(Folded(name.mid(at + 1))))
                made << name;
    made.removeDuplicates();
    return made;
}

} // namespace

class TestShippedLists : public QObject {
    Q_OBJECT
private slots:
    void shippedLists()
    {
        // The twenty lists ship: CR LF only, UTF-8 without BOM, ASCII outside the name files,
        // no blank, padded or repeated (ignoring case and accents) entries, no singular beside its
        // plural.
        const QString data = QStringLiteral(QUILLMERE_SOURCE_DIR "/data/");
        int found = 0;
        for (QDirIterator it(data, {"*.quillmere"}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext(); ++found) {
            QFile file(it.next());
            const QString list = file.fileName().mid(data.size()).chopped(10);
            const QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : "";
            const QStringList entries = Entries(list);
            const QSet<QString> distinct = Folded(entries);
            const bool twoWord = !list.contains('/');
            QVERIFY2(!bytes.startsWith("\xEF\xBB\xBF") && bytes.endsWith("\r\n") &&
                         bytes.count("\r\n") == bytes.count('\n') &&
                         bytes.count('\r') == bytes.count('\n') &&
                         QString::fromUtf8(bytes).toUtf8() == bytes &&
                         entries.size() >= (twoWord ? 250 : 200) &&
                         distinct.size() == entries.size(),
                     qPrintable(list));
            for (const QString& entry : entries) {
                const bool ascii = entry.toLatin1() == entry.toUtf8();
                // A Greek woman cannot carry a masculine surname, so only the genitive forms
                // that both genders share may stand.
                QVERIFY2(
                    !entry.isEmpty() && entry == entry.trimmed() && entry.at(0).isUpper() &&
                        (ascii || !(twoWord || list.startsWith("japanese"))) &&
                        (list != "greek/surnames" || entry.endsWith("ou") || entry.endsWith("ous")),
                    qPrintable(entry));
            }
            const char* plurals[][2] = {{"", "s"},    {"", "es"},    {"y", "ies"},
                                        {"f", "ves"}, {"fe", "ves"}, {"man", "men"}};
            for (const QString& e : distinct)
                for (const auto& [singular, plural] : plurals)
                    QVERIFY2(!e.endsWith(singular) ||
                                 !distinct.contains(e.chopped(qstrlen(singular)) + plural),
                             qPrintable(list + ": " + e));
        }
        QCOMPARE(found, 20);
    }

    void shippedPairs()
    {
        // Two-word names of atrocities and hate slogans, and well-known titles, kept beside this
        // test: none of the first, and at most the recorded number of the second, can come out.
        const QStringList atrocities = Reference(QFINDTESTDATA("atrocities.txt"));
        const QStringList titles = Reference(QFINDTESTDATA("famous-titles.txt"));
        QVERIFY(atrocities.size() > 90 && titles.size() > 400);
        // Primary and secondary list, famous titles they may still make, and whether no entry may
        // be in both. Lost and Dark make most of what titles still can: they are the register.
        // Names may be surnames too (Scott, Izumi); the two famous ones are Max Payne and Ruby
        // Knight.
        const std::tuple<const char*, const char*, int, bool> pairs[] = {
            {"adjectives-ect", "nouns-ect", 12, true},
            {"items-des-ect", "items-objects", 0, true},
            {"equipment-ect", "equipment-objects", 1, true},
            {"skills-des-ect", "skills-objects", 0, true},
            {"english/male_firstnames", "english/surnames", 1, false},
            {"english/female_firstnames", "english/surnames", 1, false},
            {"greek/male_firstnames", "greek/surnames", 0, true},
            {"greek/female_firstnames", "greek/surnames", 0, true},
            {"japanese/male_firstnames", "japanese/surnames", 0, true},
            {"japanese/female_firstnames", "japanese/surnames", 0, false},
        };
        for (const auto& [primary, secondary, famousCeiling, disjoint] : pairs) {
            const auto first = Folded(Entries(primary));
            const auto second = Folded(Entries(secondary));
            const QStringList cruel = Made(atrocities, first, second);
            const QStringList famous = Made(titles, first, second);
            QVERIFY2(cruel.isEmpty() && famous.size() <= famousCeiling,
                     qPrintable(cruel.join(", ") + " | " + famous.join(", ")));
            QVERIFY2(!disjoint || !first.intersects(second),
                     qPrintable(QSet<QString>(first).intersect(second).values().join(", ")));
        }
    }
};

QTEST_MAIN(TestShippedLists)
#include "tst_shippedlists.moc"
