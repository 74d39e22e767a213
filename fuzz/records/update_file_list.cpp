// The updater's file list as the wizard reads it: the input becomes
// Temp/files.txt, read as the record files are and handed to SelectNewFiles
// with two last-update dates. Nothing may crash or hang; a list that is not
// refused chooses only packages that stay in their folders, and its total is
// the sum of their sizes.
#include "ScratchFolder.h"

#include "records/RecordFile.h"
#include "update/modUpdate.h"

#include <QLocale>

#include <cstdint>
#include <cstdio>
#include <cstdlib>

namespace {

void Check(const modUpdate::FileListChoice& choice)
{
    qint64 total = 0;
    for (const modUpdate::NewFileEntry& entry : choice.NewFiles) {
        Require(entry.Size >= 0, "sizes are never negative");
        Require(entry.Sha256.isEmpty() || entry.Sha256.size() == 32, "a digest has 32 bytes");
        if (choice.Unsafe)
            continue;
        Require(modUpdate::IsPlainFileName(entry.PackageName), "a chosen package name stays in its folder");
        Require(modUpdate::IsSafeDestination(entry.DestinationFolder), "a chosen destination stays below");
        total += entry.Size;
        const QUrl url = modInternet::ServerAddress(modInternet::BuiltInServers().front(), entry.PackageName);
        Require(url.isValid() && !url.host().isEmpty(), "a chosen package has an address");
    }
    if (choice.Unsafe) {
        Require(!choice.Refusal.isEmpty(), "a refused list says why");
        return;
    }
    Require(total == choice.TotalDownloadSize, "the total is the sum of the sizes");
    const QString summary = modUpdate::SummaryText(choice.TotalDownloadSize, int(choice.NewFiles.size()), QLocale::c());
    Require(summary.isEmpty() == (choice.TotalDownloadSize == 0), "a summary exactly when there is something");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ScratchFolder folder;
    const QString path = folder.path() + QStringLiteral("Temp/files.txt");
    folder.write(QStringLiteral("Temp/files.txt"), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    records::RecordText file;
    if (!records::ReadRecordFile(path, file))
        return 0;
    Check(modUpdate::SelectNewFiles(file.text, modUpdate::kDefaultLastUpdate));
    Check(modUpdate::SelectNewFiles(file.text, QDate(2024, 2, 29)));
    return 0;
}
