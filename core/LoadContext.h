// What every loader is handed: the program folder and the place where
// malformed lines are reported.
#pragma once

#include "records/RecordFile.h"

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
    // False when the file is missing or refused.
    template <typename Fn>
    bool forEachLine(const QString& relative, Fn&& fn) const
    {
        return forEachRawLine(relative, [&fn](QStringView line, int lineNo) {
            if (!line.isEmpty())
                fn(line, lineNo);
        });
    }

    // The same for every line, empty ones included.
    template <typename Fn>
    bool forEachRawLine(const QString& relative, Fn&& fn) const
    {
        records::RecordReader reader(path(relative));
        if (!opened(relative, reader))
            return false;
        QStringView line;
        while (reader.next(line)) {
            if (reader.hasLongLines())
                reportLongLines(relative, reader);
            fn(line, reader.lineNumber());
        }
        finished(relative, reader);
        return true;
    }

    // For loaders that walk a RecordReader themselves: true when the file is
    // there to be read; a refused file (too large, unreadable) is reported,
    // and so is a link that leads to no regular file (read as missing).
    bool opened(const QString& relative, const records::RecordReader& reader) const
    {
        if (reader.state() != records::RecordReader::State::Open && !reader.reason().isEmpty())
            warn(relative, 0, reader.reason());
        return reader.state() == records::RecordReader::State::Open;
    }
    // Reports the over-long lines passed over so far.
    void reportLongLines(const QString& relative, records::RecordReader& reader) const
    {
        for (int lineNo : reader.takeLongLines())
            warn(relative, lineNo,
                 QStringLiteral("line longer than %1 characters skipped").arg(records::kMaxRecordLineLength));
    }
    // After the last line: the over-long lines left, and a read that failed.
    void finished(const QString& relative, records::RecordReader& reader) const
    {
        reportLongLines(relative, reader);
        if (!reader.reason().isEmpty())
            warn(relative, reader.lineNumber() + 1, reader.reason());
    }
};
