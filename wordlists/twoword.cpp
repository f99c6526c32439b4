#include "twoword.h"

#include "loadwordlist.h"
#include "random.h"
#include "wordlist.h"

void LoadTwoWordLists(WordListModel& prim, WordListModel& second, const TwoWordFiles& files)
{
    prim.clear();
    second.clear();
    LoadWordList(prim, QString::fromLatin1(files.primary));
    LoadWordList(second, QString::fromLatin1(files.secondary));
}

void LoadTitleWords(WordListModel& prim, WordListModel& second)
{
    LoadTwoWordLists(prim, second, kTitleFiles);
}

void LoadItemWords(WordListModel& prim, WordListModel& second)
{
    LoadTwoWordLists(prim, second, kItemFiles);
}

void LoadEquipmentWords(WordListModel& prim, WordListModel& second)
{
    LoadTwoWordLists(prim, second, kEquipmentFiles);
}

void LoadSkillWords(WordListModel& prim, WordListModel& second)
{
    LoadTwoWordLists(prim, second, kSkillFiles);
}

PhrasePick PickPhrase(const WordListModel& prim, const WordListModel& second)
{
    const int first = PickIndex(prim);
    return {first, PickIndex(second)};
}

QString PhraseText(const WordListModel& prim, const WordListModel& second, PhrasePick pick,
                   qsizetype maxLength)
{
    // Only as much as will be shown is built: an entry may be millions of
    // characters long.
    QString phrase = prim.entry(pick.first).left(maxLength);
    if (phrase.size() < maxLength) {
        const QString tail = second.entry(pick.second);
        phrase += QLatin1Char(kPhraseSeparator);
        phrase += QStringView(tail).left(maxLength - phrase.size());
    }
    return phrase;
}

QString GeneratePhrase(const WordListModel& prim, const WordListModel& second, qsizetype maxLength)
{
    return PhraseText(prim, second, PickPhrase(prim, second), maxLength);
}
