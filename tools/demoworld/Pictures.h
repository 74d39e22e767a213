// Small pictures of the demo world: skill icons and pet portraits, drawn from
// shapes only (no fonts), so that they come out the same on every machine.
#pragma once

#include <QByteArray>
#include <QImage>
#include <QRgb>

#include <cstdint>

namespace demoworld {

// A 64 x 64 skill icon: the profession's colour behind a glyph chosen by the
// seed (shape, turn and corner marks).
QImage SkillIcon(QRgb professionColour, uint64_t seed);

// A 96 x 96 portrait of a small creature.
QImage PetPortrait(uint64_t seed);

// JPEG bytes of a picture at the given quality.
QByteArray JpegBytes(const QImage& image, int quality);

} // namespace demoworld
