// Pictures below the program folder (region maps, elite and pet pictures,
// anything a tooltip shows) are loaded through here: only a regular file is
// opened, and never one larger than any picture the data holds.
#pragma once

#include <QImage>
#include <QString>

namespace records {

inline constexpr qint64 kMaxPictureFileSize = qint64(64) << 20;

// The picture at `path`; a null image when the path names no regular file
// (a folder, FIFO, socket or device counts as missing, as does a missing
// file), when the file is larger than kMaxPictureFileSize or when it is no
// picture.
QImage LoadPicture(const QString& path);

} // namespace records
