// Any bytes as a package, unpacked into a scratch folder that holds one old
// file: either every distinct member is written with its decoded content and
// nothing else appears, or the folder stays exactly as it was. Run with a
// memory limit (fuzz/run-ci.sh): a package may not decode into more than its
// own size allows, whatever its names.
#include "update/clsKRBfile.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

const QString kOld = QStringLiteral("old.txt");

QByteArray Read(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

QStringList Entries(const QString& folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static QTemporaryDir scratch;
    const QString out = scratch.path();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    clsKRBfile package;
    if (!package.AddKRBfileFromString(bytes))
        return 0;
    {
        QFile old(out + u'/' + kOld);
        if (!old.open(QIODevice::WriteOnly) || old.write("old") != 3)
            std::abort();
    }
    bool ok = false;
    try {
        ok = package.ExtractAllFileToDisk(out);
    } catch (const modHuffman::HuffmanError&) {
    }
    QStringList found = Entries(out);
    if (!ok) {
        if (found != QStringList{kOld} || Read(out + u'/' + kOld) != "old")
            std::abort(); // a failed extraction changes nothing
    } else {
        QSet<QString> expected{kOld};
        for (qsizetype i = 0; i < package.Members().size(); ++i) {
            const QString& name = package.Members()[i].name;
            if (package.FindMember(name) != i)
                continue; // a later copy of a name writes nothing
            expected.insert(name);
            if (Read(out + u'/' + name) != package.ExtractOneFileToString(name))
                std::abort();
        }
        if (QSet<QString>(found.begin(), found.end()) != expected)
            std::abort(); // no temporary file is left, nothing else appears
    }
    for (const QString& name : found)
        if (!QFile::remove(out + u'/' + name))
            QDir(out + u'/' + name).removeRecursively();
    return 0;
}
