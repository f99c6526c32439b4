#pragma once

#include <QString>
#include <array>

class WordListModel;

// One nationality of "Character Name" mode: the text its choice shows, the
// key kept in the hidden box, and its name files. Gaelic and Demon have no
// surnames; Demon has one name file for both genders.
struct Nationality {
    const char* display;
    const char* key;
    const char* maleFile;
    const char* femaleFile;
    const char* surnameFile; // nullptr: the surname list stays empty
};

inline constexpr std::array<Nationality, 5> kNationalities{{
    {"English", "english", "\\data\\english\\male_firstnames.quillmere",
     "\\data\\english\\female_firstnames.quillmere", "\\data\\english\\surnames.quillmere"},
    {"Greek", "greek", "\\data\\greek\\male_firstnames.quillmere",
     "\\data\\greek\\female_firstnames.quillmere", "\\data\\greek\\surnames.quillmere"},
    {"Japanese", "japanese", "\\data\\japanese\\male_firstnames.quillmere",
     "\\data\\japanese\\female_firstnames.quillmere", "\\data\\japanese\\surnames.quillmere"},
    {"Gaelic", "gaelic", "\\data\\gaelic\\gaelic_male.quillmere",
     "\\data\\gaelic\\gaelic_female.quillmere", nullptr},
    {"Demon", "demon", "\\data\\demon\\demon_names.quillmere",
     "\\data\\demon\\demon_names.quillmere", nullptr},
}};

inline constexpr const char* kMaleText = "Male";
inline constexpr const char* kFemaleText = "Female";

// Exact, case-sensitive look-ups; nullptr when nothing matches.
const Nationality* NationalityByKey(const QString& key);
const Nationality* NationalityByDisplay(const QString& display);

// The first-name file of a nationality for a gender text: "Male" gives the
// male names, any other text the female ones.
const char* FirstNameFile(const Nationality& nationality, const QString& gender);

// Clears both lists and fills them for the nationality `key`: first names of
// `gender` and, where the nationality has them, surnames. A key that matches
// none of the five leaves both lists exactly as they were.
void LoadCharacterWords(const QString& key, WordListModel& prim, WordListModel& second,
                        const QString& gender = QLatin1String(kMaleText));

// A gender was chosen: clear the first names, then refill them for the
// nationality `key`; the surnames stay as they are. With a key that names no
// nationality the first names stay empty.
void GenderChosen(const QString& gender, const QString& key, WordListModel& prim);
