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

QString GeneratePhrase(const WordListModel& prim, const WordListModel& second)
{
    const PhrasePick pick = PickPhrase(prim, second);
    return prim.entry(pick.first) + QLatin1Char(kPhraseSeparator) + second.entry(pick.second);
}
