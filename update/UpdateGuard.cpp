#include "update/UpdateGuard.h"

#include "update/modSafeFiles.h"

#include <QFileInfo>

namespace modUpdateGuard {

namespace {

bool SetWhy(QString* why, const QString& text)
{
    if (why)
        *why = text;
    return false;
}

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QString WithSlash(const QString& folder)
{
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

} // namespace

std::optional<QStringList> NormalizedParts(QStringView relative)
{
    QString text = relative.toString();
    text.replace(u'\\', u'/');
    QStringList parts;
    for (QString part : text.split(u'/', Qt::SkipEmptyParts)) {
        // "Personal." and "Personal " name the folder Personal on Windows.
        while (part.endsWith(u'.') && part != QStringLiteral(".") && part != QStringLiteral(".."))
            part.chop(1);
        while (part.endsWith(u' '))
            part.chop(1);
        if (part.isEmpty() || part == QStringLiteral("."))
            continue;
        if (part == QStringLiteral("..")) {
            if (parts.isEmpty())
                return std::nullopt;
            parts.removeLast();
            continue;
        }
        parts.append(part);
    }
    return parts;
}

bool IsPersonalPath(QStringView relative)
{
    const std::optional<QStringList> parts = NormalizedParts(relative);
    if (!parts)
        return true;
    if (parts->isEmpty())
        return false;
    if (SameName(parts->front(), kPersonalFolder) || SameName(parts->front(), kBackupFolder))
        return true;
    const QStringList options = kOptionsFile.split(u'/');
    return parts->size() >= options.size() && SameName((*parts)[0], options[0]) && SameName((*parts)[1], options[1]);
}

PersonalGuard::PersonalGuard(const QString& appFolder)
    : m_app(WithSlash(appFolder)), m_root(modSafeFiles::RealPath(m_app)),
      m_optionsReal(modSafeFiles::RealPath(m_app + kOptionsFile))
{
    for (const QString& folder : {kPersonalFolder, kBackupFolder}) {
        const QString real = modSafeFiles::RealPath(m_app + folder);
        if (!real.isEmpty())
            m_personalReal.append(real);
    }
}

QString PersonalGuard::DeepestRealPath(QString path) const
{
    while (path.size() > m_app.size()) {
        if (modSafeFiles::EntryExists(path))
            return modSafeFiles::RealPath(path);
        path = QFileInfo(path).path();
    }
    return m_root;
}

bool PersonalGuard::ResolvesToPersonal(const QString& real) const
{
    if (real.isEmpty())
        return false;
    for (const QString& personal : m_personalReal)
        if (modSafeFiles::IsInside(real, personal))
            return true;
    if (!m_optionsReal.isEmpty() && real == m_optionsReal)
        return true;
    if (m_root.isEmpty() || real == m_root || !modSafeFiles::IsInside(real, m_root))
        return false;
    return IsPersonalPath(QStringView(real).sliced(m_root.endsWith(u'/') ? m_root.size() : m_root.size() + 1));
}

bool PersonalGuard::CheckDestination(QStringView relative, QString* why) const
{
    if (IsPersonalPath(relative))
        return SetWhy(why, QStringLiteral("the destination \"%1\" is the player's own data").arg(relative));
    const QString real = DeepestRealPath(m_app + NormalizedParts(relative).value_or(QStringList()).join(u'/'));
    if (ResolvesToPersonal(real))
        return SetWhy(why,
                      QStringLiteral("the destination \"%1\" leads to the player's own data (%2)").arg(relative, real));
    return true;
}

bool PersonalGuard::CheckTargets(QStringView relative, const QStringList& members, QString* why) const
{
    if (!CheckDestination(relative, why))
        return false;
    const QString folder = m_app + NormalizedParts(relative).value_or(QStringList()).join(u'/');
    const QString folderReal = DeepestRealPath(folder);
    const bool folderExists = modSafeFiles::EntryExists(folder);
    for (const QString& member : members) {
        const QString spelled = relative.toString() + u'/' + member;
        if (IsPersonalPath(spelled))
            return SetWhy(why, QStringLiteral("the file \"%1\" is the player's own data").arg(spelled));
        // Only a folder that exists can hold a link; a plain file there
        // resolves to the folder's real path and its own name.
        const QString target = folder + u'/' + member;
        const QString real = !folderExists                  ? QString()
                             : modSafeFiles::IsLink(target) ? modSafeFiles::RealPath(target)
                                                            : folderReal + u'/' + member;
        if (ResolvesToPersonal(real))
            return SetWhy(why,
                          QStringLiteral("the file \"%1\" leads to the player's own data (%2)").arg(spelled, real));
    }
    return true;
}

QString RefusalText(const QString& why)
{
    return QStringLiteral("The update was refused, nothing was installed: %1.").arg(why);
}

} // namespace modUpdateGuard
