#include "update/clsKRBfile.h"

// Work in progress: the container lands next.
bool clsKRBfile::AddFileFromDisk(const QString&, const QString&) { return false; }
bool clsKRBfile::AddFileFromString(const QString&, const QByteArray&) { return false; }
bool clsKRBfile::SaveKRBfileOnDisk(const QString&) { return false; }
bool clsKRBfile::AddKRBfileFromDisk(const QString&) { return false; }
bool clsKRBfile::AddKRBfileFromString(const QByteArray&) { return false; }
bool clsKRBfile::ExtractOneFileToDisk(const QString&, const QString&) { return false; }
bool clsKRBfile::ExtractAllFileToDisk(const QString&) { return false; }
QByteArray clsKRBfile::ExtractOneFileToString(const QString&) const { return {}; }
void clsKRBfile::Clear() { m_members.clear(); }
int clsKRBfile::FindMember(const QString&) const { return -1; }
qint64 clsKRBfile::FileLength(const QString&) { return 0; }
bool clsKRBfile::FolderExists(const QString&) { return false; }
bool clsKRBfile::IsSafeMemberName(const QString&) { return false; }
