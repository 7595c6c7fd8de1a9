#pragma once

#include <QByteArray>

namespace varkel::demo {

// The face bank: 846 faces of 64 x 80 indices into the face palette (0 is the
// green background), each showing its number on the robe, then one unused byte.
QByteArray MakeFaceBank();

// The treasure picture bank: 80 pictures of 120 x 120 indices into the treasure
// palette of the same number, each a simple object with its number in a corner.
QByteArray MakeTreasureBank();

// "Selgame.vk": an 8-bit 480 x 360 bitmap of a dusky mountain landscape with its
// own colour table, padded with zero bytes to the size the start window expects.
QByteArray MakeBackgroundBitmap();

}  // namespace varkel::demo
