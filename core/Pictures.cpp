#include "core/Pictures.h"

#include "records/RecordFile.h"

namespace records {

QImage LoadPicture(const QString& path)
{
    QByteArray bytes;
    if (!ReadRegularFile(path, kMaxPictureFileSize, bytes))
        return {};
    return QImage::fromData(bytes);
}

} // namespace records
