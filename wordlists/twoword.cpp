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

QString GeneratePhrase(const WordListModel& prim, const WordListModel& second)
{
    const int first = PickIndex(prim);
    const int last = PickIndex(second);
    return prim.entry(first) + QLatin1Char(' ') + second.entry(last);
}
