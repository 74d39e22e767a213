// The program folder's lock while the updater installs: packages replace
// files that a running Wayloom would rewrite from its own memory, so nothing
// is installed while Wayloom runs from the folder.
#pragma once

#include "records/ProgramLock.h"

#include <QString>

#include <functional>
#include <memory>

namespace modUpdate {

// How long the updater waits for a Wayloom that is closing (Wayloom starts
// the updater and then quits).
inline constexpr int kInstallLockWaitMs = 5000;

// Takes the program folder's lock for the installs, waiting up to `waitMs`
// for its holder to let go; `keepWaiting` runs between tries (window events)
// and ends the wait when it gives false. Nothing, with the text for the
// player in `why`, when the folder stays held or cannot be locked. The lock
// is given back when the last holder of the result lets it go.
std::shared_ptr<records::ProgramLock> HoldForInstall(const QString& appFolder, QString& why,
                                                     const std::function<bool()>& keepWaiting,
                                                     int waitMs = kInstallLockWaitMs);

} // namespace modUpdate
