#pragma once

#include "demo_folder/demo_random.h"

#include <QByteArray>
#include <QString>

namespace varkel::demo {

// The five name fields of a person block, family record or new-officer record.
struct PersonName {
    QString surname;   // 1-2 characters
    QString given;     // 1-2 characters
    QString courtesy;  // 2 characters
    QString title;     // 0-5 characters
    QString full() const { return surname + given; }
};

// A plausible name drawn from tables of common Traditional Chinese characters.
PersonName MakePersonName(DemoRandom& random, bool female, bool titled);

// Writes the five name fields into the record starting at `record`.
void WritePersonName(QByteArray& buffer, qsizetype record, const PersonName& name);

// City c (0..50): two characters, all different.
QString MakeCityName(int c);

// Court rank i (0..31), up to 5 characters.
QString MakeCourtRankName(int i);

// State name of force s, `length` characters (1..7).
QString MakeStateName(int s, int length);

// A treasure name of up to 6 characters that fits its kind (0..11).
QString MakeTreasureName(int t, int kind);

// A few clauses about a person (biography) or a treasure (note), at most
// `maxChars` characters, ending with a full stop.
QString MakePersonStory(DemoRandom& random, int maxChars);
QString MakeTreasureNote(DemoRandom& random, int kind, int maxChars);

// Stores `text` as the 152-byte biography record at `start` of `buffer`: through
// the editor's codec when it fits (at most 74 characters), otherwise as a full
// record of 76 characters without line breaks, a form the game's files can hold.
void PutBiography(QByteArray& buffer, qsizetype start, const QString& text);

// A story of exactly `chars` double-byte characters.
QString MakeStoryOfLength(DemoRandom& random, int chars);

}  // namespace varkel::demo
