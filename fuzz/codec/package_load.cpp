// Any bytes as a package: loaded whole or refused whole; every loaded member
// decodes or raises the codec error.
#include "update/clsKRBfile.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    clsKRBfile package;
    if (!package.AddFileFromString(QStringLiteral("kept.txt"), QByteArrayLiteral("kept")))
        std::abort();
    const bool loaded = package.AddKRBfileFromString(bytes);
    if (!loaded && package.Count() != 1)
        std::abort(); // a refused package changes nothing
    // The entries account for every byte read.
    qsizetype total = 0;
    for (qsizetype i = 1; i < package.Members().size(); ++i) {
        const PackageMember& m = package.Members()[i];
        if (m.storedSize != m.stream.size())
            std::abort();
        total += 6 + m.name.size() + m.stream.size();
        try {
            (void)package.ExtractOneFileToString(m.name);
        } catch (const modHuffman::HuffmanError&) {
        }
    }
    if (loaded && total != bytes.size())
        std::abort();
    return 0;
}
