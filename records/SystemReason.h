// The system's own words for an error number, for the reasons the record
// files' readers and writers give.
#pragma once

#include <QString>

namespace records {

QString SystemReason(int code);

} // namespace records
