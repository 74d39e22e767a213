// What an update may never touch: the player's own data. The folder
// Personal (everything the player made), the settings file Data/Options.txt
// and the updater's own safety folder Backup are never the destination or
// the target of a package, however the list spells them and wherever links
// inside the program folder lead. (The updater itself still records the
// date of the last update in Personal.)
#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>

namespace modUpdateGuard {

// The folders and the file that belong to the player, relative to the
// program folder.
inline const QString kPersonalFolder = QStringLiteral("Personal");
inline const QString kBackupFolder = QStringLiteral("Backup");
inline const QString kOptionsFile = QStringLiteral("Data/Options.txt");

// The parts of a relative path after "\" became "/", empty and "." parts
// were dropped and ".." took back its parent. Trailing dots and blanks of a
// part are dropped too (a name the system reads without them). Null when a
// ".." climbs above the program folder.
std::optional<QStringList> NormalizedParts(QStringView relative);

// True when the relative path (a folder or a file below the program folder)
// is, or lies below, Personal, Backup or Data/Options.txt, compared without
// regard to case; also when it climbs above the program folder.
bool IsPersonalPath(QStringView relative);

// The checks against the program folder as it is on disk: the real paths
// of the program folder and of the personal folders are resolved once.
class PersonalGuard {
public:
    explicit PersonalGuard(const QString& appFolder);

    // A list's destination folder, before anything is downloaded: its
    // spelling (above) and the real path of the folder, or of its deepest
    // part that exists, so that a link inside the program folder leading
    // into Personal or Backup is caught as well. False with the reason.
    bool CheckDestination(QStringView relative, QString* why) const;

    // The files a package would write into the folder `relative`: each
    // member spelled and resolved (a member Options.txt into Data, also
    // through a link to Data, or a file that is a link to a personal file,
    // is refused). False with the reason for the first such member.
    bool CheckTargets(QStringView relative, const QStringList& members, QString* why) const;

private:
    // True when the resolved path is, or lies in, a personal folder or file.
    bool ResolvesToPersonal(const QString& real) const;
    QString DeepestRealPath(QString path) const;

    QString m_app;  // ends in "/"
    QString m_root; // real path of the program folder
    QStringList m_personalReal;
    QString m_optionsReal;
};

// The text shown on the error page for a refused list.
QString RefusalText(const QString& why);

} // namespace modUpdateGuard
