// The twenty word lists as they ship in data/: their format, what the names
// and pairs they make say to a reader, and that they still make the manual's
// examples. The files are read as plain files, without the program's reader;
// the names and words the checks look for are kept beside this test.
#include <QtCore>
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
    QStringList lines = QString(Bytes(kSource + "data/" + list + ".quillmere")).split("\r\n");
    lines.removeLast(); // after the last line's end
    return lines;
}

// The lines of a reference list kept beside this test, without comments.
QStringList Reference(const QString& name)
{
    return QString(Bytes(QFINDTESTDATA(name + ".txt")))
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
// names of `names` that some first and last entry make.
QSet<QString> Made(const QStringList& names, const QSet<QString>& first, const QSet<QString>& last)
{
    QSet<QString> made;
    for (const QString& name : names)
        for (qsizetype at = name.indexOf(' '); at >= 0; at = name.indexOf(' ', at + 1))
            if (first.contains(Folded(name.left(at))) && last.contains(Folded(name.mid(at + 1))))
                made << name;
    return made;
}

// Roots. A word is cut to a stem: lower case, one common English ending off, a final e off.
// Two words share a root when their stems are equal, when a stem of five letters or more
// begins the other stem, or when both hold the same part: a part is a stem of the mode's own
// words, four letters or more, that begins a word's stem or ends both the word and its stem
// with three letters or more to spare (star: Starlit, Starfall; night: Midnight, Nightfall).
// A jingle the last rule also finds (Grim Pilgrim) reads no better than a repeat.
QString Stem(const QString& word)
{
    // The endings: ations ation ments ment fully ously ences ence ings ing ness less ives ive
    // ance ents ent ants ant ical ful ous ers er est ies ied ed es en ly ic y s e, and al. The
    // shortest stem that leaves three letters, or four before "al", takes the longest ending; "al"
    // would leave "met" of metal; a double s or "us" is no plural (abyss, ominous).
    static const QRegularExpression ending(
        "^(?:(.{3,}?)(?:ations?|ments?|fully|ously|ences?|ings?|ness|less|ives?|ance|ents?|ants?|"
        "ical|ful|ous|ers?|est|ie[sd]|ed|es|en|ly|ic|y|(?<![su])s|e)|(.{4,}?)al)$");
    QString stem = QString(word).replace(ending, "\\1\\2");
    if (stem.endsWith('e') && stem.size() > 3)
        stem.chop(1);
    return stem;
}

// The words of an entry, without possessives, split at spaces and hyphens; a word with "un"
// before four letters or more stands for itself and for the rest (Unholy: holy).
QStringList Words(const QString& entry)
{
    return entry.toLower()
        .remove("'s")
        .remove('\'')
        .replace(QRegularExpression("\\bun(\\w{4,})"), "un\\1 \\1")
        .split(QRegularExpression("[ -]"), Qt::SkipEmptyParts);
}

// The pairs of a primary and a secondary entry that repeat a root, by the words of both lists.
QSet<QString> Repeats(const QStringList& primary, const QStringList& secondary)
{
    QSet<QString> vocabulary;
    for (const QString& entry : primary + secondary)
        for (const QString& word : Words(entry))
            vocabulary << Stem(word);
    // Each word's stem and the parts it holds, its stem among them, by entry.
    QHash<QString, QList<std::pair<QString, QSet<QString>>>> rooted;
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
    QSet<QString> repeats;
    for (const QString& first : primary)
        for (const QString& second : secondary)
            for (const auto& [a, aParts] : rooted.value(first))
                for (const auto& [b, bParts] : rooted.value(second))
                    if (aParts.intersects(bParts) ||
                        (std::min(a.size(), b.size()) >= 5 && (a.startsWith(b) || b.startsWith(a))))
                        repeats << first + " " + second;
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
        const auto shipped = Keyed("shipped-lists"), commonest = Keyed("commonest-names"),
                   unwanted = Keyed("unwanted-entries");
        const QRegularExpression franchise(Folded(Reference("franchise-terms")).values().join('|'));
        QVERIFY(shipped.size() == 20 && commonest.size() > 350 && unwanted.size() > 30 &&
                franchise.pattern().count('|') >= 29);
        const char* plurals[][2] = {{"", "s"},    {"", "es"},    {"y", "ies"},
                                    {"f", "ves"}, {"fe", "ves"}, {"man", "men"}};
        QStringList faults;
        for (const auto& [list, minimum] : shipped.asKeyValueRange()) {
            const QStringList entries = Entries(list);
            const QSet<QString> distinct = Folded(entries);
            if (!Bytes(kSource + "data/" + list + ".quillmere").endsWith("\r\n") ||
                entries.size() < minimum.toInt() || distinct.size() != entries.size())
                faults << list + ": its last line's end, its size or a repeated entry";
            QHash<QString, int> prefixes;
            for (const QString& entry : entries)
                if (entry.isEmpty() || entry != entry.simplified() || !entry.at(0).isUpper() ||
                    entry.contains(QChar::ReplacementCharacter) ||
                    (entry.toLatin1() != entry.toUtf8() &&
                     (!list.contains('/') || list.startsWith("japan"))) ||
                    Folded(entry).remove(QRegularExpression("[ '-]")).contains(franchise) ||
                    (list == "greek/surnames" &&
                     (++prefixes[entry.left(4)] * 5 > entries.size() ||
                      !entry.contains(QRegularExpression("(?<!ogl|poul)ous?$")))) ||
                    (list == "gaelic/gaelic_female" && entry != "Brighid" &&
                     Folded(entry).contains(QRegularExpression("^bri(gh?i?)?d"))))
                    faults << list + ": \"" + entry + '"';
            for (const QString& e : distinct)
                for (const auto& [one, many] : plurals)
                    if (e.endsWith(one) && distinct.contains(e.chopped(qstrlen(one)) + many))
                        faults << list + ": " + e + " and its plural";
        }
        for (const auto& [list, name] : commonest.asKeyValueRange())
            if (!Entries(list).contains(name))
                faults << list + " lacks " + name;
        for (const auto& [list, entry] : unwanted.asKeyValueRange())
            if (Entries(list).isEmpty() || Entries(list).contains(entry))
                faults << list + " holds " + entry;
        QVERIFY2(faults.isEmpty(), qPrintable(faults.join("; ")));
    }

    void pairs()
    {
        // Each pairing written beside this test makes at most the number written there of the
        // well-known titles kept there, and the manual's examples of its mode. No pairing makes a
        // two-word name of an atrocity or a hate slogan, nor the full name of a character, a
        // criminal or a pun, and all make at most ten famous people, each of whose two names is
        // among the commonest of their country. No pair of a two-word mode repeats a root, by the
        // words of that mode.
        const QStringList pairings = Reference("pairings");
        const QStringList atrocities = Reference("atrocities"), titles = Reference("famous-titles");
        const auto people = Keyed("famous-names"), commonest = Keyed("commonest-names");
        const auto cases = Keyed("root-cases");
        QVERIFY(pairings.size() == 10 && atrocities.size() > 90 && titles.size() > 400 &&
                people.uniqueKeys().size() == 4 && people.size() - people.count("joke") >= 300 &&
                cases.size() > 20 && people.values().filter(" ").size() == people.size());
        // The stemming rule itself, on pairs that repeat a root and pairs that only look alike,
        // each judged by the words of the pair alone.
        for (const auto& [outcome, pair] : cases.asKeyValueRange())
            QVERIFY2(Repeats({pair.section('|', 0, 0)}, {pair.section('|', 1)}).isEmpty() ==
                         (outcome == "apart"),
                     qPrintable(pair));
        QHash<QString, QSet<QString>> made; // by kind of name, or of fault
        for (const QString& pairing : pairings) {
            const QStringList field = pairing.split(' ');
            const QStringList primary = Entries(field[0]), secondary = Entries(field.value(1));
            QVERIFY2(field.size() == 5 && primary.size() >= 200 && secondary.size() >= 200,
                     qPrintable(pairing));
            const auto first = Folded(primary), second = Folded(secondary);
            made["naming an atrocity"] += Made(atrocities, first, second);
            const QSet<QString> famous = Made(titles, first, second);
            QVERIFY2(famous.size() <= field[3].toInt() &&
                         (field[4] == "shared" || !first.intersects(second)),
                     qPrintable((famous.values() << "|" << (first & second).values()).join(", ")));
            if (field[2] != "-") {
                const QStringList examples = Examples(field[2]);
                QVERIFY2(examples.size() >= 2 && !examples.contains(""), qPrintable(field[2]));
                QCOMPARE(Made(examples, first, second),
                         QSet<QString>(examples.cbegin(), examples.cend()));
            }
            if (!field[1].contains('/'))
                made["repeating a root"] += Repeats(primary, secondary);
            for (const QString& kind : people.uniqueKeys())
                made[kind] += Made(people.values(kind), first, second);
            made["of the commonest"] +=
                Made(people.values("famous"), Folded(commonest.values(field[0])),
                     Folded(commonest.values(field[1])));
        }
        // What no mode may make, then the famous people that Character mode makes.
        const QSet<QString> shown = made["fictional"] + made["notorious"] + made["joke"] +
                                    made["naming an atrocity"] + made["repeating a root"] +
                                    (made["famous"] - made["of the commonest"]);
        QVERIFY2(shown.isEmpty() && made["famous"].size() <= 10,
                 qPrintable((shown.values() << "|" << made["famous"].values()).join(", ")));
    }
};

QTEST_MAIN(TestShippedLists)
#include "tst_shippedlists.moc"
