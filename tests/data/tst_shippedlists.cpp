// The twenty word lists as they ship in data/: their format, what the names
// and pairs they make say to a reader, and that they still make the manual's
// examples. The files are read as plain files, without the program's reader.
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

// The commonest names of each country, by list: every list keeps them, so a pair of two of them
// is one that many people share, and any other pair that belongs to someone loses its rarer
// name. Cox gave way to Harry, Stone to Emma and Oliver.
const std::pair<const char*, const char*> kCommonest[] = {
    {"english/surnames",
     "Smith Jones Williams Taylor Brown Davies Evans Wilson Thomas Johnson Roberts Robinson "
     "Thompson Wright Walker White Edwards Hughes Green Hall Lewis Harris Clarke Jackson Wood "
     "Turner Martin Cooper Hill Ward Morris Moore Clark Lee King Baker Harrison Morgan Allen "
     "James Scott Phillips Watson Davis Parker Price Bennett Young Griffiths Mitchell Kelly "
     "Cook Carter Richardson Bailey Collins Bell Shaw Murphy Miller Richards Marshall Anderson "
     "Simpson Ellis Adams Wilkinson Foster Chapman Powell Webb Rogers Gray Mason Hunt Campbell "
     "Matthews Owen Palmer Holmes Mills Barnes Knight Lloyd Butler Russell Barker Fisher "
     "Stevens Jenkins Murray Dixon Harvey Fletcher Fox"},
    {"english/male_firstnames",
     "David John Michael Paul Peter James Robert Richard Mark Andrew Stephen Christopher "
     "Thomas William George Daniel Matthew Anthony Ian Alan Simon Steven Kevin Gary Brian "
     "Martin Philip Keith Neil Graham Jonathan Jack Harry Oliver Charlie Joshua Samuel "
     "Benjamin Joseph Edward Adam Ryan Luke Liam Jake Lee Jason Craig Alexander Henry Charles "
     "Arthur Noah Jacob Alfie Freddie Oscar Leo Roger Jamie Nicholas Scott Stuart Colin "
     "Kenneth Tony Archie Max Theo"},
    {"english/female_firstnames",
     "Mary Margaret Elizabeth Susan Sarah Patricia Linda Jennifer Karen Helen Julie Lisa "
     "Nicola Emma Claire Rachel Rebecca Laura Amy Jessica Hannah Charlotte Sophie Emily Lucy "
     "Katie Chloe Olivia Amelia Jane Anne Alice Catherine Victoria Lauren Grace Lily Ella "
     "Sophia Isabella Ava Mia Poppy Jade Samantha Louise Michelle Joanne Heather Kathleen "
     "Brenda Christine Jacqueline Alison Amanda Angela Deborah Caroline Gemma Sandra Pauline "
     "Carol Barbara Jean Valerie Elaine Sharon Tracey Wendy Ruby Evie Freya Daisy Millie"},
    {"japanese/surnames",
     "Sato Suzuki Takahashi Tanaka Ito Watanabe Yamamoto Nakamura Kobayashi Kato Yoshida "
     "Yamada Sasaki Yamaguchi Matsumoto Inoue Kimura Hayashi Saito Shimizu Yamazaki Mori Abe "
     "Ikeda Hashimoto Yamashita Ishikawa Nakajima Maeda Fujita Ogawa Goto Okada Hasegawa"},
    {"japanese/male_firstnames",
     "Hiroshi Takashi Makoto Satoshi Kenji Akira Koji Kazuo Minoru Osamu Kiyoshi Isamu Takeshi "
     "Masao Yoshio Hideo Tetsuya Daisuke Kenta Ren Haruto Sota Yuto Takumi Tsubasa Ryota Yuta "
     "Kazuya Yusuke"},
    {"japanese/female_firstnames",
     "Keiko Yoko Kazuko Sachiko Michiko Hiroko Akiko Tomoko Yumiko Naoko Kyoko Junko Yuko "
     "Mayumi Megumi Kumiko Ai Yui Misaki Sakura Yuka Haruka Aoi Hina Mei Yuki"},
    {"greek/surnames",
     "Georgiou Ioannou Charalampous Konstantinou Christodoulou Nikolaou Antoniou Andreou "
     "Dimitriou Kyriakou Panagiotou Christou Theodorou Stylianou Vasileiou Petrou Pavlou "
     "Oikonomou Loizou Sotiriou"},
    {"greek/male_firstnames",
     "Georgios Giorgos Ioannis Giannis Konstantinos Kostas Dimitrios Dimitris Nikolaos Nikos "
     "Panagiotis Vasileios Christos Athanasios Michail Evangelos Spyridon Antonios Anastasios "
     "Theodoros Andreas Charalampos Emmanouil Ilias Stavros Petros Stylianos Pavlos Apostolos"},
    {"greek/female_firstnames",
     "Maria Eleni Aikaterini Vasiliki Sofia Angeliki Georgia Dimitra Konstantina Paraskevi "
     "Anastasia Christina Ioanna Evangelia Panagiota Eirini Despoina Kalliopi"},
};

// The commonest first names, either gender, and surnames of a nationality.
std::pair<QSet<QString>, QSet<QString>> Commonest(const QString& nationality)
{
    std::pair<QSet<QString>, QSet<QString>> sets;
    for (const auto& [list, names] : kCommonest)
        if (QString(list).startsWith(nationality + '/'))
            (QString(list).endsWith("surnames") ? sets.second : sets.first) +=
                Folded(QString(names).split(' '));
    return sets;
}

// The primary and secondary list of each two-word mode.
const std::pair<const char*, const char*> kTwoWordModes[] = {
    {"adjectives-ect", "nouns-ect"},
    {"items-des-ect", "items-objects"},
    {"equipment-ect", "equipment-objects"},
    {"skills-des-ect", "skills-objects"},
};

// Roots. A word is cut to a stem: lower case, one common English ending off, a final e off.
// Two words share a root when their stems are equal, when a stem of five letters or more
// begins the other stem, or when both hold the same part: a part is a stem of the mode's own
// words, four letters or more, that begins a word's stem or ends both the word and its stem
// with three letters or more to spare (star: Starlit, Starfall; night: Midnight, Nightfall).
// A jingle the last rule also finds (Grim Pilgrim) reads no better than a repeat.
QString Stem(QString word)
{
    static const QStringList endings = [] {
        QStringList list = QString("ations ation ings ing ness less ments ment fully ful ously "
                                   "ous ives ive ences ence ance ents ent ants ant ers er est ies "
                                   "ied ed es en ly ical al ic y s e")
                               .split(' ');
        std::stable_sort(list.begin(), list.end(),
                         [](const QString& a, const QString& b) { return a.size() > b.size(); });
        return list;
    }();
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

struct RootedWord {
    QString stem;
    QSet<QString> parts;
};

QList<RootedWord> Rooted(const QString& entry, const QSet<QString>& vocabulary)
{
    QList<RootedWord> rooted;
    for (const QString& word : Words(entry)) {
        RootedWord w{Stem(word), {Stem(word)}};
        for (const QString& part : vocabulary)
            if (part.size() >= 4 && w.stem.size() - part.size() >= 3 &&
                (w.stem.startsWith(part) || (w.stem.endsWith(part) && word.endsWith(part))))
                w.parts << part;
        rooted << w;
    }
    return rooted;
}

bool ShareRoot(const QList<RootedWord>& a, const QList<RootedWord>& b)
{
    for (const RootedWord& x : a)
        for (const RootedWord& y : b) {
            const auto& [shorter, longer] = x.stem.size() <= y.stem.size()
                                                ? std::tie(x.stem, y.stem)
                                                : std::tie(y.stem, x.stem);
            if (x.parts.intersects(y.parts) || (shorter.size() >= 5 && longer.startsWith(shorter)))
                return true;
        }
    return false;
}

QSet<QString> Vocabulary(const QStringList& entries)
{
    QSet<QString> vocabulary;
    for (const QString& entry : entries)
        for (const QString& word : Words(entry))
            vocabulary << Stem(word);
    return vocabulary;
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
                QVERIFY2(!entry.isEmpty() && entry == entry.trimmed() && entry.at(0).isUpper() &&
                             (ascii || !(twoWord || list.startsWith("japanese"))),
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
        // Names may be surnames too (Scott, Izumi). Ruby Knight, a novel's title, is two of the
        // commonest names.
        const std::tuple<const char*, const char*, int, bool> pairs[] = {
            {"adjectives-ect", "nouns-ect", 11, true},
            {"items-des-ect", "items-objects", 0, true},
            {"equipment-ect", "equipment-objects", 1, true},
            {"skills-des-ect", "skills-objects", 0, true},
            {"english/male_firstnames", "english/surnames", 0, false},
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

    void manualExamples()
    {
        // The manual shows a result of each mode, on its page and in the table of modes: the
        // lists must still be able to make it (English for Character Name, the nationality at
        // start).
        const std::tuple<const char*, const char*, const char*> modes[] = {
            {"mode-game-title", "adjectives-ect", "nouns-ect"},
            {"mode-item-name", "items-des-ect", "items-objects"},
            {"mode-equipment-name", "equipment-ect", "equipment-objects"},
            {"mode-skill-name", "skills-des-ect", "skills-objects"},
            {"mode-character-name", "english/male_firstnames", "english/surnames"},
        };
        const QString help = QStringLiteral(QUILLMERE_SOURCE_DIR "/help/");
        QFile table(help + "modes.html");
        QVERIFY(table.open(QIODevice::ReadOnly));
        const QString rows = QString::fromUtf8(table.readAll());
        for (const auto& [page, primary, secondary] : modes) {
            QFile file(help + page + ".html");
            QVERIFY(file.open(QIODevice::ReadOnly));
            QStringList examples;
            auto it = QRegularExpression("such as \"([^\"]+)\"").globalMatch(file.readAll());
            while (it.hasNext())
                examples << it.next().captured(1);
            const QString inTable =
                QRegularExpression(
                    QString("href=\"%1\\.html\".*?<td>([^<\"]+)</td></tr>").arg(page),
                    QRegularExpression::DotMatchesEverythingOption)
                    .match(rows)
                    .captured(1);
            QVERIFY2(!examples.isEmpty() && !inTable.isEmpty(), page);
            examples << inTable;
            examples.removeDuplicates();
            QCOMPARE(Made(examples, Folded(Entries(primary)), Folded(Entries(secondary))),
                     examples);
        }
    }

    void famousNames()
    {
        // Full names of characters, celebrities, criminals and puns, kept beside this test: in
        // either gender, Character mode makes none but a few famous people, each of whose two
        // names is among the commonest of their country.
        QHash<QString, QStringList> byKind;
        for (const QString& line : Reference(QFINDTESTDATA("famous-names.txt")))
            byKind[line.section(' ', 0, 0)] << line.section(' ', 1);
        QCOMPARE(byKind.size(), 4);
        QVERIFY(byKind["fictional"].size() + byKind["famous"].size() + byKind["notorious"].size() >=
                300);
        QHash<QString, QStringList> made;
        QStringList ofCommonest;
        for (const char* nationality : {"english", "greek", "japanese"}) {
            const QString n = nationality;
            const auto firsts =
                Folded(Entries(n + "/male_firstnames") + Entries(n + "/female_firstnames"));
            const auto surnames = Folded(Entries(n + "/surnames"));
            QVERIFY(firsts.size() > 400 && surnames.size() >= 200);
            for (auto it = byKind.cbegin(); it != byKind.cend(); ++it)
                made[it.key()] << Made(it.value(), firsts, surnames);
            const auto [commonFirsts, commonSurnames] = Commonest(n);
            ofCommonest << Made(byKind["famous"], commonFirsts, commonSurnames);
        }
        // The counts first: a long message is cut.
        QString counts, names;
        for (const char* kind : {"fictional", "notorious", "joke", "famous"}) {
            counts += QString("%1 %2, ").arg(kind).arg(made[kind].size());
            names += made[kind].join(", ") + " | ";
        }
        QVERIFY2(made["fictional"].isEmpty() && made["notorious"].isEmpty() &&
                     made["joke"].isEmpty() && made["famous"].size() <= 10,
                 qPrintable(counts + names));
        QSet<QString> ofRarer(made["famous"].cbegin(), made["famous"].cend());
        ofRarer.subtract(QSet<QString>(ofCommonest.cbegin(), ofCommonest.cend()));
        QVERIFY2(ofRarer.isEmpty(), qPrintable(ofRarer.values().join(", ")));
    }

    void commonestNames()
    {
        // Each list still holds the commonest names of its country, spelt as written above.
        for (const auto& [list, names] : kCommonest) {
            const QStringList entries = Entries(list);
            QVERIFY2(entries.size() >= 200, list);
            QStringList missing;
            for (const QString& name : QString(names).split(' '))
                if (!entries.contains(name))
                    missing << name;
            QVERIFY2(missing.isEmpty(), qPrintable(QString(list) + ": " + missing.join(", ")));
        }
    }

    void repeatedRoots()
    {
        // The stemming rule itself, on pairs with a repeated root and on pairs that only look
        // alike, each judged by the words of the pair alone.
        const QStringList repeats = {
            "Cursed|Curse",          "Silent|Silence",   "Hunter's|Hunting Knife",
            "Battle-Worn|Battleaxe", "Holy|Holy Symbol", "Unholy|Holy Symbol",
            "Fallen|Starfall",       "Midnight|Night",   "Starlit|Morning Star",
            "Unconquered|Conqueror", "Spectral|Specter", "Abyssal|Abyss"};
        const QStringList lookalikes = {
            "Whispering|Ring",         "Duchess's|Chess Piece", "Ebon|Knucklebones",
            "King's|Drinking Horn",    "Glowing|Winged Helm",   "Dented|Trident",
            "Unbreakable|Breastplate", "Barbarian's|Barbute",   "Scarlet|Scarab",
            "Hallowed|Halls",          "Spirit|Spire"};
        for (const QStringList& pairs : {repeats, lookalikes})
            for (const QString& pair : pairs) {
                const QString primary = pair.section('|', 0, 0), secondary = pair.section('|', 1);
                const auto vocabulary = Vocabulary({primary, secondary});
                QVERIFY2(ShareRoot(Rooted(primary, vocabulary), Rooted(secondary, vocabulary)) ==
                             (pairs == repeats),
                         qPrintable(pair));
            }
        // No pair of any two-word mode repeats a root, by the vocabulary of that mode.
        QStringList repeated;
        for (const auto& [primaryList, secondaryList] : kTwoWordModes) {
            const QStringList primary = Entries(primaryList), secondary = Entries(secondaryList);
            QVERIFY(primary.size() >= 250 && secondary.size() >= 250);
            const auto vocabulary = Vocabulary(primary + secondary);
            QList<QList<RootedWord>> seconds;
            for (const QString& entry : secondary)
                seconds << Rooted(entry, vocabulary);
            for (const QString& first : primary) {
                const auto rooted = Rooted(first, vocabulary);
                for (qsizetype i = 0; i < secondary.size(); ++i)
                    if (ShareRoot(rooted, seconds[i]))
                        repeated << first + " " + secondary[i];
            }
        }
        QVERIFY2(repeated.isEmpty(),
                 qPrintable(QString::number(repeated.size()) + ": " + repeated.join(", ")));
    }

    void franchiseTerms()
    {
        // Words that a game, book or film made up and owns, and Exalted's set of magical
        // materials; none may stand in any list, alone or inside an entry.
        const QStringList terms = {
            "mithril",    "mythril",     "darksteel",   "hellfrost", "spellfire",  "soulbound",
            "orichalcum", "starmetal",   "moonsilver",  "soulsteel", "skysteel",   "adamantium",
            "vibranium",  "beskar",      "dragonglass", "valyrian",  "daedric",    "dwemer",
            "stalhrim",   "frostmourne", "ashbringer",  "soulfrost", "deathfrost", "moonfire",
            "starfire",   "sunfire",     "frostfire",   "skyfire",   "stormborn",  "starforged",
        };
        int entries = 0;
        QStringList found;
        QDirIterator it(QStringLiteral(QUILLMERE_SOURCE_DIR "/data"), {"*.quillmere"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString list = it.next().section("/data/", -1).chopped(10);
            for (const QString& entry : Entries(list)) {
                const QString joined = Folded(entry).remove(QRegularExpression("[ '-]"));
                for (const QString& term : terms)
                    if (joined.contains(term))
                        found << list + ": " + entry;
                ++entries;
            }
        }
        QVERIFY(entries > 5000);
        QVERIFY2(found.isEmpty(),
                 qPrintable(QString::number(found.size()) + ": " + found.join(", ")));
    }

    void greekSurnames()
    {
        // A Greek woman cannot carry a masculine surname, so only the genitive forms that both
        // genders share may stand: -ou or -ous, but not the Turkish -oglou ("son of") nor the
        // feminine -poulou. No prefix (Chatzi-, Papa-) starts more than a fifth of them.
        const QStringList surnames = Entries("greek/surnames");
        QHash<QString, int> prefixes;
        QStringList wrong;
        for (const QString& surname : surnames) {
            if (!(surname.endsWith("ou") || surname.endsWith("ous")) || surname.endsWith("oglou") ||
                surname.endsWith("poulou"))
                wrong << surname;
            ++prefixes[surname.left(4)];
        }
        QVERIFY(surnames.size() >= 200);
        QVERIFY2(wrong.isEmpty(), qPrintable(wrong.join(", ")));
        for (auto it = prefixes.cbegin(); it != prefixes.cend(); ++it)
            QVERIFY2(it.value() * 5 <= surnames.size(), qPrintable(QString("%1- starts %2 of %3")
                                                                       .arg(it.key())
                                                                       .arg(it.value())
                                                                       .arg(surnames.size())));
    }

    void sensitiveEntries()
    {
        // Entries that misspell a name, anglicise a Gaelic one, or hurt: a common Jewish surname
        // and a figure revered in Balinese ritual among the demons, an English slang word.
        const std::pair<const char*, const char*> absent[] = {
            {"gaelic/gaelic_female", "Dearbhorgaill"},
            {"gaelic/gaelic_female", "Orlaith"},
            {"gaelic/gaelic_female", "Brigid"},
            {"gaelic/gaelic_female", "Clodagh"},
            {"demon/demon_names", "Segal"},
            {"demon/demon_names", "Rangda"},
            {"japanese/male_firstnames", "Shota"},
        };
        for (const auto& [list, entry] : absent) {
            const QStringList entries = Entries(list);
            QVERIFY(entries.size() >= 200);
            QVERIFY2(!entries.contains(entry), entry);
        }
        // One spelling of Brighid (Bríd, Bríde, Brìghde, Brigid).
        QCOMPARE(Folded(Entries("gaelic/gaelic_female"))
                     .values()
                     .filter(QRegularExpression("^bri(gh?i?)?d"))
                     .size(),
                 1);
        // The primary lists hold women's possessives (Lady's, Queen's, Witch's): no secondary
        // entry may read as part of her body after one.
        const QStringList body = {"Bust", "Bosom",    "Breasts", "Cleavage",
                                  "Jugs", "Knockers", "Muff"};
        for (const auto& mode : kTwoWordModes)
            for (const QString& entry : Entries(mode.second))
                QVERIFY2(!body.contains(entry), qPrintable(entry));
    }
};

QTEST_MAIN(TestShippedLists)
#include "tst_shippedlists.moc"
