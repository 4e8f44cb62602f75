#pragma once

// What the model-250 reading unit puts on the wire for a card, and the faults a line or a
// careless hand adds to it. Used by the reading-unit simulator and its tests.

#include "clsEcardTagData.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <optional>
#include <random>

namespace basEcard250Wire {

// The unscrambled, sealed 217-byte frame of a card (the event generator's encoding, so there is
// one encoder in the tree).
QByteArray frameOf(const clsEcardTagData& tag);

// Why the frame cannot pass the link unchanged (two 0xFF bytes in a row after the header, as
// a punch time of 65535 s gives), or nothing when it can.
std::optional<QString> untransmittable(const QByteArray& frame);

// A copy of the frame with one byte after the header changed by one, so its sum fails; no
// new 0xFF byte is made.
QByteArray withWrongSum(const QByteArray& frame, std::mt19937& rng);

// Noise bytes as they go on the wire, never holding the scrambled frame start (0x20), so they
// cannot open a header.
QByteArray garbage(std::mt19937& rng, int minBytes = 1, int maxBytes = 64);

// The faults the simulator can add to one card.
struct Noise {
    bool garbage = false;       // noise bytes before the card
    bool wrongSum = false;      // an extra copy with a wrong sum ahead of the pair
    bool damagedSecond = false; // the second copy carries a wrong sum
    bool layTwice = false;      // the card is laid on the unit a second time
    bool brokenFrame = false;   // an extra copy broken off by the next copy's 0xFF 0xFF
    QStringList names() const;
};

// The bytes for one laying of a card (scrambled, ready for the wire), both copies back to back,
// with the noise of that laying. layTwice is not handled here: the caller lays again.
QByteArray wireBytes(const QByteArray& frame, const Noise& noise, std::mt19937& rng);

// A random card: start record, up to 30 controls, the reading unit's own record (code 250).
clsEcardTagData randomCard(std::mt19937& rng);

} // namespace basEcard250Wire
