// Fetching one file from a download server over HTTP, in blocks, with a
// running byte count and an abort flag; the server entries and their
// addresses.
#pragma once

#include <QNetworkReply>
#include <QString>
#include <QUrl>

#include <chrono>
#include <functional>
#include <vector>

namespace modInternet {

// A download server: the text shown in the server list, the base address (a
// host name, optionally with a port and a path, optionally after "http://" or
// "https://") and the folder below it.
struct ServerEntry {
    QString Text;
    QString Base;
    QString Folder;
};

// The three built-in entries: the official site ("files" folder) and two
// mirrors ("Wayloom" folder).
std::vector<ServerEntry> BuiltInServers();

// Data/Servers.txt below the program folder, one entry a line: display
// text, tab, base address, tab, folder. When it holds at least one usable
// entry, its entries replace the built-in ones. Malformed lines are skipped
// and reported in `diagnostics` (when given).
std::vector<ServerEntry> LoadServers(const QString& appFolder, QStringList* diagnostics = nullptr);

// "http://" + base + "/" + folder + "/" + remote name (percent-encoded); a
// base that names its scheme ("http://" or "https://") keeps it.
QUrl ServerAddress(const ServerEntry& server, const QString& remoteName);

// The slowest transfer that is not a stall: a download that receives fewer
// than `MinBytes` in any `Window` (counted from the request, window after
// window) fails. Tests narrow it.
struct DownloadFloor {
    std::chrono::milliseconds Window{30000};
    qint64 MinBytes = qint64{30} * 1024; // 1 KiB/s over the window
};

// Reports and hooks of one download.
struct DownloadHooks {
    // The running byte count, at most kProgressPerSecond times a second and
    // once more at the end.
    std::function<void(qint64)> Progress;
    // Lets pending window events run (after every block and while waiting).
    std::function<void()> ProcessEvents;
    // When the transfer counts as a stall.
    DownloadFloor Floor;
};

// Largest block read and written at once.
inline constexpr qint64 kBlockSize = qint64{64} * 1024;
// What the network layer may hold for us before the server has to wait.
inline constexpr qint64 kReadBufferSize = qint64{256} * 1024;
// Progress reports per second, at most.
inline constexpr int kProgressPerSecond = 30;
// Largest body of a file whose size is not listed anywhere (the file list).
inline constexpr qint64 kUnlistedSizeCap = 64LL * 1024 * 1024;

// Fetches `remoteName` from `server` into `localPath` (deleted first, then
// created new; the bytes are appended as they arrive), counting on from
// `startCount`. True when the whole body of a 2xx answer was written. False
// for a missing server or empty argument, a connection or read failure, a
// status other than 2xx, a body longer than `maxBytes`, a redirect to another
// host, a stall (below `hooks.Floor`), a file error, or `cancelRequested` seen before a read; the
// local file is removed then. `cancelRequested` is cleared when the call
// returns. `why` (when given) receives the reason of a failure. System proxy
// settings apply.
bool DownloadFile(const ServerEntry* server, const QString& remoteName, const QString& localPath, qint64 startCount,
                  qint64 maxBytes, bool& cancelRequested, const DownloadHooks& hooks, QString* why = nullptr);

// A network failure in plain words for the player: "host not found",
// "connection refused", "timed out", "secure connection failed" and the like.
QString PlainNetworkReason(QNetworkReply::NetworkError error);

} // namespace modInternet
