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

QString GeneratePhrase(const WordListModel& prim, const WordListModel& second, qsizetype maxLength)
{
    const int first = PickIndex(prim);
    const int last = PickIndex(second);
    QString phrase = prim.entry(first).left(maxLength);
    if (phrase.size() < maxLength) {
        const QString tail = second.entry(last);
        phrase += QLatin1Char(' ');
        phrase += QStringView(tail).left(maxLength - phrase.size());
    }
    return phrase;
}
