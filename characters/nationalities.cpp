#include "nationalities.h"

#include "loadwordlist.h"
#include "wordlist.h"

#include <QComboBox>
#include <QLineEdit>

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

void LoadCharacterWords(const QString& key, WordListModel& prim, WordListModel& second)
{
    const Nationality* nationality = NationalityByKey(key);
    if (!nationality)
        return;
    prim.clear();
    second.clear();
    LoadWordList(prim, QString::fromLatin1(nationality->maleFile));
    if (nationality->surnameFile)
        LoadWordList(second, QString::fromLatin1(nationality->surnameFile));
}

void NationalityChosen(CharacterControls& c)
{
    const Nationality* nationality = NationalityByDisplay(c.char_lang2.currentText());
    if (!nationality)
        return;
    c.thelang.setText(QString::fromLatin1(nationality->key));
    const QString male = QString::fromLatin1(kMaleText);
    c.char_sex.setCurrentIndex(
        c.char_sex.findText(male, Qt::MatchExactly | Qt::MatchCaseSensitive));
    c.char_sex.setEditText(male);
    LoadCharacterWords(c.thelang.text(), c.prim, c.second);
}

void GenderChosen(CharacterControls& c)
{
    const bool male = c.char_sex.currentText() == QLatin1String(kMaleText);
    c.prim.clear();
    const Nationality* nationality = NationalityByKey(c.thelang.text());
    if (!nationality)
        return;
    LoadWordList(c.prim,
                 QString::fromLatin1(male ? nationality->maleFile : nationality->femaleFile));
}
