#include "nationalities.h"

#include "loadwordlist.h"
#include "wordlist.h"

const Nationality* NationalityByKey(const QString& key)
{
    for (const Nationality& n : kNationalities) {
        if (key == QLatin1String(n.key))
            return &n;
    }
    return nullptr;
}

const Nationality* NationalityByDisplay(const QString& display)
{
    for (const Nationality& n : kNationalities) {
        if (display == QLatin1String(n.display))
            return &n;
    }
    return nullptr;
}

const char* FirstNameFile(const Nationality& nationality, const QString& gender)
{
    return gender == QLatin1String(kMaleText) ? nationality.maleFile : nationality.femaleFile;
}

void LoadCharacterWords(const QString& key, WordListModel& prim, WordListModel& second,
                        const QString& gender)
{
    const Nationality* nationality = NationalityByKey(key);
    if (!nationality)
        return;
    prim.clear();
    second.clear();
    LoadWordList(prim, QString::fromLatin1(FirstNameFile(*nationality, gender)));
    if (nationality->surnameFile)
        LoadWordList(second, QString::fromLatin1(nationality->surnameFile));
}

void GenderChosen(const QString& gender, const QString& key, WordListModel& prim)
{
    prim.clear();
    if (const Nationality* nationality = NationalityByKey(key))
        LoadWordList(prim, QString::fromLatin1(FirstNameFile(*nationality, gender)));
}
