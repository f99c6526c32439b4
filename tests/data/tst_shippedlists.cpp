// The twenty word lists as they ship in data/: their format, what the names
// and pairs they make say to a reader, and that they still make the manual's
// examples. The files are read as plain files, without the program's reader;
// the names and words the checks look for are kept beside this test.
#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString kSource = QStringLiteral(QUILLMERE_SOURCE_DIR "/");

QByteArray Bytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A shipped list's entries, by its path below data/ without the extension.
QStringList Entries(const QString& list)
{
    QStringList lines =
        QString::fromUtf8(Bytes(kSource + "data/" + list + ".quillmere")).split("\r\n");
    lines.removeLast(); // after the last line's end
    return lines;
}

// The lines of a reference list kept beside this test, without comments.
QStringList Reference(const QString& name)
{
    return QString::fromUtf8(Bytes(QFINDTESTDATA(name + ".txt")))
        .split('\n')
        .filter(QRegularExpression("^[^#]"));
}

// A reference list whose lines each start with a key: a kind, a list or an outcome.
QMultiHash<QString, QString> Keyed(const QString& name)
{
    QMultiHash<QString, QString> keyed;
    for (const QString& line : Reference(name))
        keyed.insert(line.section(' ', 0, 0), line.section(' ', 1));
    return keyed;
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

// Generate joins the two entries with one space, and an entry may hold spaces itself: the
// names of `names` that some first and second entry make.
QSet<QString> Made(const QStringList& names, const QSet<QString>& first,
                   const QSet<QString>& second)
{
    QSet<QString> made;
    for (const QString& name : names)
        for (qsizetype at = name.indexOf(' '); at >= 0; at = name.indexOf(' ', at + 1))
            if (first.contains(Folded(name.left(at))) && second.contains(Folded(name.mid(at + 1))))
                made << name;
    return made;
}

// Roots. A word is cut to a stem: lower case, one common English ending off, a final e off.
// Two words share a root when their stems are equal, when a stem of five letters or more
// begins the other stem, or when both hold the same part: a part is a stem of the mode's own
// words, four letters or more, that begins a word's stem or ends both the word and its stem
// with three letters or more to spare (star: Starlit, Starfall; night: Midnight, Nightfall).
// A jingle the last rule also finds (Grim Pilgrim) reads no better than a repeat.
QString Stem(QString word)
{
    // Longest first.
    static const QStringList endings =
        QString("ations ation ments fully ously ences ings ness less ment ives ence ance ents ants "
                "ical ing ful ous ive ent ant ers est ies ied er ed es en ly al ic y s e")
            .split(' ');
    for (const QString& ending : endings) {
        // "al" would leave "met" of metal; a double s or "us" is no plural (abyss, ominous).
        const qsizetype keep = word.size() - ending.size();
        if (word.endsWith(ending) && keep >= (ending == "al" ? 4 : 3) &&
            !(ending == "s" && QStringView(u"su").contains(word.at(keep - 1)))) {
            word.chop(ending.size());
            break;
        }
    }
    if (word.endsWith('e') && word.size() > 3)
        word.chop(1);
    return word;
}

// The words of an entry, without possessives, split at spaces and hyphens; a word with "un"
// before four letters or more stands for itself and for the rest (Unholy: holy).
QStringList Words(const QString& entry)
{
    QStringList words;
    const QString text = entry.toLower().remove("'s").remove('\'');
    for (const QString& word : text.split(QRegularExpression("[ -]"), Qt::SkipEmptyParts)) {
        words << word;
        if (word.startsWith("un") && word.size() >= 6)
            words << word.mid(2);
    }
    return words;
}

// The pairs of a primary and a secondary entry that repeat a root, by the words of both lists.
QStringList Repeats(const QStringList& primary, const QStringList& secondary)
{
    QSet<QString> vocabulary;
    for (const QString& entry : primary + secondary)
        for (const QString& word : Words(entry))
            vocabulary << Stem(word);
    QHash<QString, QList<std::pair<QString, QSet<QString>>>> rooted; // stem and parts, by word
    for (const QString& entry : primary + secondary)
        for (const QString& word : Words(entry)) {
            const QString stem = Stem(word);
            QSet<QString> parts = {stem};
            for (const QString& part : vocabulary)
                if (part.size() >= 4 && stem.size() - part.size() >= 3 &&
                    (stem.startsWith(part) || (stem.endsWith(part) && word.endsWith(part))))
                    parts << part;
            rooted[entry].append({stem, parts});
        }
    QStringList repeats;
    for (const QString& first : primary)
        for (const QString& second : secondary)
            for (const auto& [a, aParts] : rooted.value(first))
                for (const auto& [b, bParts] : rooted.value(second))
                    if (aParts.intersects(bParts) ||
                        (std::min(a.size(), b.size()) >= 5 && (a.startsWith(b) || b.startsWith(a))))
                        repeats << first + " " + second;
    repeats.removeDuplicates();
    return repeats;
}

// The manual's results of a mode: in the table of modes, then on its own page.
QStringList Examples(const QString& page)
{
    const QString help = kSource + "help/";
    const QRegularExpression row(QString("href=\"%1\\.html\".*?<td>([^<\"]+)</td></tr>").arg(page),
                                 QRegularExpression::DotMatchesEverythingOption);
    QStringList examples = {row.match(QString::fromUtf8(Bytes(help + "modes.html"))).captured(1)};
    auto it = QRegularExpression("such as \"([^\"]+)\"").globalMatch(Bytes(help + page + ".html"));
    while (it.hasNext())
        examples << it.next().captured(1);
    return examples;
}

} // namespace

class TestShippedLists : public QObject {
    Q_OBJECT
private slots:
    void lists()
    {
        // The twenty lists ship: UTF-8 lines that end in CR LF, ASCII outside the name files, at
        // least 250 entries in a two-word list and 200 in a name list, no blank, padded or
        // repeated (ignoring case and accents) entries, no singular beside its plural, and no
        // franchise term inside any entry. A Greek surname is a genitive form that both genders
        // share: -ou or -ous, but not the Turkish -oglou ("son of") nor the feminine -poulou; no
        // prefix (Chatzi-, Papa-) starts more than a fifth of them. The lists keep the commonest
        // names and lack the unwanted entries written beside this test, and spell Brighid one way
        // (Bríd, Bríde, Brìghde, Brigid).
        const QRegularExpression franchise(Folded(Reference("franchise-terms")).values().join('|'));
        const auto commonest = Keyed("commonest-names"), unwanted = Keyed("unwanted-entries");
        QVERIFY(franchise.pattern().count('|') >= 29 && commonest.size() > 350 &&
                unwanted.size() > 30);
        const char* plurals[][2] = {{"", "s"},    {"", "es"},    {"y", "ies"},
                                    {"f", "ves"}, {"fe", "ves"}, {"man", "men"}};
        const QString data = kSource + "data/";
        int found = 0;
        QStringList faults;
        for (QDirIterator it(data, {"*.quillmere"}, QDir::Files, QDirIterator::Subdirectories);
             it.hasNext(); ++found) {
            const QString list = it.next().mid(data.size()).chopped(10);
            const QByteArray bytes = Bytes(it.filePath());
            const QStringList entries = Entries(list);
            const QSet<QString> distinct = Folded(entries);
            const bool twoWord = !list.contains('/');
            if (!bytes.endsWith("\r\n") || QString::fromUtf8(bytes).toUtf8() != bytes ||
                entries.size() < (twoWord ? 250 : 200) || distinct.size() != entries.size())
                faults << list + ": its end, its encoding, its size or a repeated entry";
            QHash<QString, int> prefixes;
            for (const QString& entry : entries)
                if (entry.isEmpty() || entry != entry.simplified() || !entry.at(0).isUpper() ||
                    (entry.toLatin1() != entry.toUtf8() && (twoWord || list.startsWith("japan"))) ||
                    Folded(entry).remove(QRegularExpression("[ '-]")).contains(franchise) ||
                    (list == "greek/surnames" &&
                     (++prefixes[entry.left(4)] * 5 > entries.size() ||
                      !entry.contains(QRegularExpression("(?<!ogl|poul)ous?$")))))
                    faults << list + ": \"" + entry + '"';
            for (const QString& e : distinct)
                for (const auto& [singular, plural] : plurals)
                    if (e.endsWith(singular) &&
                        distinct.contains(e.chopped(qstrlen(singular)) + plural))
                        faults << list + ": " + e + " and its plural";
        }
        for (const auto& [list, name] : commonest.asKeyValueRange())
            if (!Entries(list).contains(name))
                faults << list + " lacks " + name;
        for (const auto& [list, entry] : unwanted.asKeyValueRange())
            if (Entries(list).isEmpty() || Entries(list).contains(entry))
                faults << list + " holds " + entry;
        const QSet<QString> gaelic = Folded(Entries("gaelic/gaelic_female"));
        if (gaelic.values().filter(QRegularExpression("^bri(gh?i?)?d")).size() != 1)
            faults << "Brighid spelt more than one way";
        QCOMPARE(found, 20);
        QVERIFY2(faults.isEmpty(),
                 qPrintable(QString::number(faults.size()) + ": " + faults.join("; ")));
    }

    void stemmingRule()
    {
        // The rule itself, on pairs that repeat a root and pairs that only look alike, each
        // judged by the words of the pair alone.
        const auto cases = Keyed("root-cases");
        QVERIFY(cases.count("repeat") >= 10 && cases.count("apart") >= 10 &&
                cases.count("repeat") + cases.count("apart") == cases.size());
        for (const auto& [outcome, pair] : cases.asKeyValueRange())
            QVERIFY2(Repeats({pair.section('|', 0, 0)}, {pair.section('|', 1)}).isEmpty() ==
                         (outcome == "apart"),
                     qPrintable(pair));
    }

    void pairs()
    {
        // For each pairing written beside this test, and reference lists kept there: two-word
        // names of atrocities and hate slogans, none of which may come out; well-known titles, at
        // most the number written; full names of characters, celebrities, criminals and puns, of
        // which Character mode makes none but a few famous people, each of whose two names is
        // among the commonest of their country. The manual's examples can come out. No pair of a
        // two-word mode repeats a root, by the words of that mode.
        const QStringList pairings = Reference("pairings");
        const QStringList atrocities = Reference("atrocities"), titles = Reference("famous-titles");
        const auto people = Keyed("famous-names"), commonest = Keyed("commonest-names");
        const int named =
            people.count("fictional") + people.count("famous") + people.count("notorious");
        QVERIFY(pairings.size() == 10 && atrocities.size() > 90 && titles.size() > 400);
        QVERIFY(people.uniqueKeys().size() == 4 && named >= 300);
        QHash<QString, QSet<QString>> made; // names by kind
        QStringList repeats;
        for (const QString& pairing : pairings) {
            const QStringList field = pairing.split(' ');
            const QStringList primary = Entries(field[0]), secondary = Entries(field.value(1));
            QVERIFY2(field.size() == 5 && primary.size() >= 200 && secondary.size() >= 200,
                     qPrintable(pairing));
            const auto first = Folded(primary), second = Folded(secondary);
            const QSet<QString> cruel = Made(atrocities, first, second);
            const QSet<QString> famous = Made(titles, first, second);
            QVERIFY2(cruel.isEmpty() && famous.size() <= field[3].toInt(),
                     qPrintable((cruel + famous).values().join(", ")));
            QVERIFY2(field[4] == "shared" || !first.intersects(second),
                     qPrintable(QSet<QString>(first).intersect(second).values().join(", ")));
            if (field[2] != "-") {
                const QStringList examples = Examples(field[2]);
                QVERIFY2(examples.size() >= 2 && !examples.contains(""), qPrintable(field[2]));
                QCOMPARE(Made(examples, first, second),
                         QSet<QString>(examples.cbegin(), examples.cend()));
            }
            if (!field[1].contains('/')) {
                repeats << Repeats(primary, secondary);
                continue;
            }
            for (const QString& kind : people.uniqueKeys())
                made[kind] += Made(people.values(kind), first, second);
            made["of the commonest"] +=
                Made(people.values("famous"), Folded(commonest.values(field[0])),
                     Folded(commonest.values(field[1])));
        }
        QVERIFY2(repeats.isEmpty(),
                 qPrintable(QString::number(repeats.size()) + ": " + repeats.join(", ")));
        const QSet<QString> shown = made["fictional"] + made["notorious"] + made["joke"];
        QVERIFY2(shown.isEmpty(), qPrintable(shown.values().join(", ")));
        const QSet<QString> ofRarer = made["famous"] - made["of the commonest"];
        QVERIFY2(made["famous"].size() <= 10 && ofRarer.isEmpty(),
                 qPrintable(QString("%1 famous, of rarer names: ").arg(made["famous"].size()) +
                            ofRarer.values().join(", ")));
    }
};

QTEST_MAIN(TestShippedLists)
#include "tst_shippedlists.moc"
