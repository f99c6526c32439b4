#pragma once

#include <QString>
#include <array>

class QComboBox;
class QLineEdit;
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

// Fills both lists for the nationality `key`: male first names and, where
// the nationality has them, surnames. A key that matches none of the five
// leaves both lists exactly as they were.
void LoadCharacterWords(const QString& key, WordListModel& prim, WordListModel& second);

// The controls that the nationality and gender choices read and write.
struct CharacterControls {
    QLineEdit& thelang;
    QComboBox& char_sex;
    QComboBox& char_lang2;
    WordListModel& prim;
    WordListModel& second;
};

// A nationality was chosen: write its key, show "Male" and reload both lists.
// A text that names no nationality changes nothing.
void NationalityChosen(CharacterControls& controls);

// A gender was chosen: refill the first names of the current key, male for
// "Male" and female for any other text; the surnames stay as they are.
void GenderChosen(CharacterControls& controls);
