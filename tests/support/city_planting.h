#pragma once

#include "saveeditor/city_record.h"
#include "shared/bytes.h"

#include <QByteArray>

namespace varkel::test {

// Officer n stays in city c with status s, serving force f.
inline void PlaceOfficer(QByteArray& save, int n, int c, int s, int f)
{
    SetStatusCode(save, n, s);
    setByte(save, save::statusBlock(n) + save::status::kForce, f);
    setBits(save, save::locationEntry(n), 0xF0, c << 4);
    setByte(save, save::locationEntry(n) + 1, c >> 4);
    setByte(save, save::locationEntry(n) + 3, 0);
}

// Every officer staying in city c leaves it (is marked away), so a test can place its own.
inline void EmptyCity(QByteArray& save, int officerCount, int c)
{
    for (int n = 0; n < officerCount; ++n)
        if (le16At(save, save::locationEntry(n)) >> 4 == c)
            setByte(save, save::locationEntry(n) + 3, 1);
}

inline int StatusCode(const QByteArray& save, int n)
{
    return le16At(save, save::statusBlock(n) + save::status::kWord) >> 6 & 15;
}

}  // namespace varkel::test
