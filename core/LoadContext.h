// What every loader is handed: the program folder and the place where
// malformed lines are reported.
#pragma once

#include "core/RecordFile.h"

#include <QString>

struct LoadContext {
    // The program folder, always ending in "/".
    QString appFolder;
    // Where skipped lines are recorded; may be null (diagnostics dropped).
    records::Diagnostics* diagnostics = nullptr;

    QString path(const QString& relative) const { return appFolder + relative; }

    // Records a skipped line of the file `relative` (relative to the program
    // folder, with "/").
    void warn(const QString& relative, int line, const QString& message) const
    {
        if (diagnostics)
            diagnostics->add(relative, line, message);
    }

    // Reads the record file `relative` when it is present (at least 1 byte)
    // and calls fn(line, lineNumber) for each non-empty line, numbered from 1.
    // False when the file is missing.
    template <typename Fn>
    bool forEachLine(const QString& relative, Fn&& fn) const
    {
        records::RecordText file;
        if (!records::ReadRecordFile(path(relative), file))
            return false;
        int lineNo = 0;
        for (QStringView line : file.lines) {
            ++lineNo;
            if (!line.isEmpty())
                fn(line, lineNo);
        }
        return true;
    }
};
