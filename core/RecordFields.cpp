#include "core/RecordFields.h"

namespace records {

QStringView TrimBlanks(QStringView text)
{
    qsizetype b = 0;
    qsizetype e = text.size();
    while (b < e && text[b] == u' ')
        ++b;
    while (e > b && text[e - 1] == u' ')
        --e;
    return text.sliced(b, e - b);
}

bool IsBlankText(QStringView text)
{
    return TrimBlanks(text).isEmpty();
}

bool ReadCampaignFile(const LoadContext& ctx, const CampaignTable& campaigns, size_t c, const QString& fileName,
                      QString& rel, RecordText& text)
{
    if (c >= campaigns.size() || campaigns[c].Name.isEmpty())
        return false;
    rel = modCampaigns::CampaignFolder(static_cast<int>(c), campaigns) + fileName;
    return ReadRecordFile(ctx.path(rel), text);
}

std::optional<int32_t> CoordinateField(QStringView text)
{
    const auto v = NumberField<int32_t>(text);
    if (!v || *v > kCoordinateLimit || *v < -kCoordinateLimit)
        return std::nullopt;
    return v;
}

QString PadNumberWhole(qint64 n, int k)
{
    const QString digits = QString::number(n);
    return digits.size() >= k ? digits : records::PadNumber(n, k);
}

QString BackslashNToLineBreaks(QStringView text)
{
    if (!text.contains(u"\\n"))
        return text.toString();
    QString out = text.toString();
    out.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    return out;
}

} // namespace records
