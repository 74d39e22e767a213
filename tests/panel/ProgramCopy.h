// A started program on a copy of the demo world, for the window tests.
#pragma once

#include "app/WayloomProgram.h"
#include "mapview/frmMap.h"
#include "panel/frmMenu.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <memory>

// The demo world's program folder in a temporary folder, so that the tests
// may write options and personal files: campaign folders are only read and
// linked, Data is copied without the settings a run of the program left, and
// Personal stays behind.
class ProgramCopy {
public:
    ProgramCopy()
    {
        const QDir source(QStringLiteral(WAYLOOM_TEST_PROGRAM_DIR));
        for (const QString& entry : source.entryList({QStringLiteral("Campaign.*")}, QDir::Dirs))
            QFile::link(source.filePath(entry), path() + entry);
        QDir().mkpath(path() + QStringLiteral("Data"));
        for (const QString& file : QDir(source.filePath(QStringLiteral("Data"))).entryList(QDir::Files))
            if (file != QLatin1String("Options.txt"))
                QFile::copy(source.filePath(QStringLiteral("Data/") + file), path() + QStringLiteral("Data/") + file);
    }
    QString path() const { return m_dir.path() + QLatin1Char('/'); }
    QByteArray read(const QString& relative) const
    {
        QFile f(path() + relative);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

private:
    QTemporaryDir m_dir;
};

// A started program whose messages and end are recorded instead of shown.
struct Started {
    explicit Started(const ProgramCopy& folder) : program(std::make_unique<WayloomProgram>(folder.path()))
    {
        program->showError = [this](const QString& text, bool offerCancel) {
            errors << text;
            cancelOffered << offerCancel;
        };
        program->endProgram = [this] { ended = true; };
        program->openWithShell = [this](const QString& target) {
            opened << target;
            return true;
        };
        program->startDetached = [this](const QString& target) {
            started << target;
            return false;
        };
        result = program->Main();
    }
    frmMenu& menu() { return *program->menu(); }
    frmMap& map() { return *program->map(); }
    World& world() { return program->world(); }

    std::unique_ptr<WayloomProgram> program;
    WayloomProgram::StartResult result{};
    QStringList errors, opened, started;
    QList<bool> cancelOffered;
    bool ended = false;
};
