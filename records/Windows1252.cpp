#include "records/Windows1252.h"

#include "records/RecordFile.h"

namespace records {

QString CharactersOutsideWindows1252(const QString& text)
{
    QString bad;
    for (const QChar c : text) {
        const QString one(c);
        if (DecodeWindows1252(EncodeWindows1252(one)) != one && !bad.contains(c))
            bad += c;
    }
    return bad;
}

} // namespace records
