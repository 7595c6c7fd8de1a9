#pragma once

#include <QString>
#include <QStringList>

namespace varkel {

// The texts the program asks for by name, and the lists of texts its lists show.
struct TextList {
    int first;
    int last;  // included
};

namespace Text {
enum Id : int {
    Nothing = 169,  // "無"
    NoOfficer = 177,  // "──"
    Son = 192,
    Daughter = 193,
    NumeralNine = 204,  // "九"; "一" to "八" stand before it
    NewOfficerFileLabel = 244,
    OpenFileTitle = 245,
    SaveAsTitle = 246,
    ControlledOfficers = 248,
    FileLocation = 249,
    ChooseGameFolder = 250,
    NotAGameFolder = 251,
    SaveChanges = 252,
    OfficerNotFound = 253,
    FileDamaged = 254,
    ReplaceFile = 255,
    NoSavedGame = 256,
    SlotNotFound = 257,
    ConfirmForceAppearance = 258,
    DataNotWritten = 259,
    TooManyControlled = 260,
    OneMustStayControlled = 261,
    ConfirmControl = 262,
    ConfirmGiveUpControl = 263,
    CannotGiveUpCurrent = 264,
    SelectedCount = 270,  // "共選擇"
    SelectedOfficers = 271,  // "位武將"
    RankGrade = 272,  // "品官"
    NoRank = 273,
    ForceEditorTitle = 278,
    CityEditorTitle = 279,
    ConfirmTreasureSave = 291,
    SearchByName = 292,
    SearchByNumber = 293,
    AboutHeading = 344,
    AboutVersion = 345,
    AboutAuthor = 346,
    AboutMail = 347,
    AboutNote = 348,
    AboutPurpose = 349,
    AboutLanguage = 350,
    EditorTitle = 351,
    OfficerPickerTitle = 352,
    GrowthForecastTitle = 353,
    IntimacyEditorTitle = 354,
};

inline constexpr TextList CharacterTendencies{101, 104};  // "能力重視型" ...
inline constexpr TextList StrategicTendencies{105, 111};  // "不關心" ...
inline constexpr TextList Personalities{112, 116};  // "剛猛" ...
inline constexpr TextList Aspirations{117, 121};  // "霸權" ...
inline constexpr TextList GrowthTendencies{122, 130};  // the four abilities, then "提督" and the others
inline constexpr TextList Abilities{122, 125};  // "武力", "智力", "政治", "魅力"
inline constexpr TextList TreasureKinds{131, 142};  // "名馬" ...
inline constexpr TextList Skills{143, 168};  // "猛將" ... "神算"
inline constexpr TextList TacticLevels{170, 176};  // "未" ... "極"
inline constexpr TextList HealthStates{182, 189};  // "良好" ...
inline constexpr TextList Statuses{300, 311};  // "君主" ...
}  // namespace Text

// Text `id` of the program's string table. Asking for an id that does not exist
// is a programming error: it asserts, and gives an empty text in release builds.
QString GetResText(int id);

// Texts first..last, in order, as the combo lists use them.
QStringList GetResTexts(int first, int last);
QStringList GetResTexts(TextList list);

bool HasResText(int id);

// The captions of the 26 skill check boxes, in the order of the skill texts
// 143..168. The record views spell skill 12 "辯才", where the text table (and so
// the treasure view's skill list) has "辨才".
QStringList SkillBoxCaptions();

}  // namespace varkel
