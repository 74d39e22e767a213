#include "core/RecordFields.h"

#include <algorithm>

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

void LowerCase(QStringView text, QString& out)
{
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    bool ascii = true;
    for (qsizetype i = 0; i < n && ascii; ++i)
        ascii = p[i] < 0x80;
    out.resize(n);
    if (!ascii) {
        std::copy(p, p + n, reinterpret_cast<char16_t*>(out.data()));
        out = std::move(out).toLower();
        return;
    }
    char16_t* dst = reinterpret_cast<char16_t*>(out.data());
    for (qsizetype i = 0; i < n; ++i)
        dst[i] = p[i] >= u'A' && p[i] <= u'Z' ? char16_t(p[i] + (u'a' - u'A')) : p[i];
}

QString LowerCase(QStringView text)
{
    QString out;
    LowerCase(text, out);
    return out;
}

QString TextPool::get(QStringView text)
{
    if (text.isEmpty())
        return text.toString();
    const auto it = m_texts.constFind(text);
    if (it != m_texts.cend())
        return it.value();
    QString owned = text.toString();
    m_texts.insert(QStringView(owned), owned);
    return owned;
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
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i + 1 < n && !(p[i] == u'\\' && p[i + 1] == u'n'))
        ++i;
    if (i + 1 >= n)
        return text.toString();
    QString out = text.toString();
    out.replace(QStringLiteral("\\n"), QStringLiteral("\r\n"));
    return out;
}

} // namespace records
