// pack / list / unpack / cat: packages as the updater reads them.
#include "tools/krbtool/Subcommands.h"
#include "update/clsKRBfile.h"

#include <QFileInfo>

#include <cstdio>

namespace {

QString CodecReason(const modHuffman::HuffmanError& e)
{
    return QStringLiteral("error %1: %2").arg(e.number()).arg(e.message());
}

bool Load(const QString& path, clsKRBfile& package)
{
    if (package.AddKRBfileFromDisk(path))
        return true;
    krbtool::Failed(path, package.LastError());
    return false;
}

// The first member whose stream does not decode, for the error line.
int ReportBadMember(const QString& path, const clsKRBfile& package, const modHuffman::HuffmanError& fallback)
{
    for (const PackageMember& m : package.Members()) {
        try {
            modHuffman::DecodeStream(m.stream);
        } catch (const modHuffman::HuffmanError& e) {
            return krbtool::Failed(path, QStringLiteral("member \"%1\": %2").arg(m.name, CodecReason(e)));
        }
    }
    return krbtool::Failed(path, CodecReason(fallback));
}

int RunPack(const QStringList& args)
{
    clsKRBfile package;
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QFileInfo file(args[i]);
        if (!package.AddFileFromDisk(file.fileName(), file.path()))
            return krbtool::Failed(args[i], package.LastError());
    }
    if (!package.SaveKRBfileOnDisk(args[0]))
        return krbtool::Failed(args[0], package.LastError());
    return krbtool::kOk;
}

int RunList(const QStringList& args)
{
    clsKRBfile package;
    if (!Load(args[0], package))
        return krbtool::kFailed;
    for (const PackageMember& m : package.Members()) {
        const qint64 original = modHuffman::DeclaredLength(m.stream);
        const QString line = QStringLiteral("%1\t%2\t%3\t%4\n")
                                 .arg(m.name)
                                 .arg(m.storedSize)
                                 .arg(modHuffman::IsStoredStream(m.stream) ? u"stored" : u"huffman")
                                 .arg(original < 0 ? QStringLiteral("?") : QString::number(original));
        std::fputs(line.toLocal8Bit().constData(), stdout);
    }
    return krbtool::kOk;
}

int RunUnpack(const QStringList& args)
{
    clsKRBfile package;
    if (!Load(args[0], package))
        return krbtool::kFailed;
    if (!clsKRBfile::FolderExists(args[1]))
        return krbtool::Failed(args[1], QStringLiteral("is not an existing folder"));
    try {
        if (!package.ExtractAllFileToDisk(args[1]))
            return krbtool::Failed(args[0], package.LastError());
    } catch (const modHuffman::HuffmanError& e) {
        return ReportBadMember(args[0], package, e);
    }
    return krbtool::kOk;
}

int RunCat(const QStringList& args)
{
    clsKRBfile package;
    if (!Load(args[0], package))
        return krbtool::kFailed;
    const int index = package.FindMember(args[1]);
    if (index < 0)
        return krbtool::Failed(args[0], QStringLiteral("holds no member named \"%1\"").arg(args[1]));
    QByteArray content;
    try {
        content = package.ExtractOneFileToString(args[1]);
    } catch (const modHuffman::HuffmanError& e) {
        return krbtool::Failed(args[0],
                               QStringLiteral("member \"%1\": %2").arg(package.Members()[index].name, CodecReason(e)));
    }
    if (std::fwrite(content.constData(), 1, std::size_t(content.size()), stdout) != std::size_t(content.size()) ||
        std::fflush(stdout) != 0)
        return krbtool::Failed(QStringLiteral("standard output"), QStringLiteral("cannot be written"));
    return krbtool::kOk;
}

} // namespace

KRBTOOL_SUBCOMMAND(pack, "PACKAGE FILE...", 2, -1, RunPack)
KRBTOOL_SUBCOMMAND(list, "PACKAGE", 1, 1, RunList)
KRBTOOL_SUBCOMMAND(unpack, "PACKAGE DIR", 2, 2, RunUnpack)
KRBTOOL_SUBCOMMAND(cat, "PACKAGE MEMBER", 2, 2, RunCat)
