// The updater's server list: the input becomes Data/Servers.txt and
// LoadServers reads it. Nothing may crash or hang; there is always at least
// one server, and every server gives an http or https address or none.
#include "ScratchFolder.h"

#include "update/modInternet.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const ScratchFolder folder;
    folder.write(QStringLiteral("Data/Servers.txt"), QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    QStringList diagnostics;
    const std::vector<modInternet::ServerEntry> servers = modInternet::LoadServers(folder.path(), &diagnostics);
    Require(!servers.empty(), "there is always a server to choose");
    for (const modInternet::ServerEntry& server : servers) {
        Require(!server.Base.isEmpty(), "every server has a base address");
        const QUrl url = modInternet::ServerAddress(server, QStringLiteral("files.krb"));
        if (!url.isValid())
            continue; // the download refuses an address that is not valid
        const QString scheme = url.scheme();
        Require(scheme == u"http" || scheme == u"https", "an address is http or https");
    }
    return 0;
}
