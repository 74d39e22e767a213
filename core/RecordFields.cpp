#include "core/RecordFields.h"

#include <algorithm>
#include <cstdint>
#include <utility>

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

QString CampaignFile(const CampaignTable& campaigns, size_t c, const QString& fileName)
{
    if (c >= campaigns.size() || campaigns[c].Name.isEmpty())
        return {};
    return modCampaigns::CampaignFolder(static_cast<int>(c), campaigns) + fileName;
}

bool ReadCampaignFile(const LoadContext& ctx, const CampaignTable& campaigns, size_t c, const QString& fileName,
                      QString& rel, RecordText& text)
{
    rel = CampaignFile(campaigns, c, fileName);
    if (rel.isEmpty())
        return false;
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

namespace {

// FNV-1a over the UTF-16 units: field texts are short, and the pool only
// ever holds texts of our own record files.
std::size_t HashText(const char16_t* p, qsizetype n)
{
    std::uint64_t h = 14695981039346656037ULL;
    for (qsizetype i = 0; i < n; ++i)
        h = (h ^ p[i]) * 1099511628211ULL;
    return static_cast<std::size_t>(h ^ (h >> 32));
}

// Beyond this many occupied slots on a text's probe path the text is simply
// copied: sharing is only a saving, and no file can make the pool slow.
constexpr std::size_t kMaxProbes = 16;

} // namespace

QString TextPool::get(QStringView text)
{
    if (text.isEmpty())
        return text.toString();
    if (2 * (m_used + 1) > m_slots.size())
        grow();
    const char16_t* p = text.utf16();
    const qsizetype n = text.size();
    const std::size_t hash = HashText(p, n);
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t probe = 0, i = hash & mask; probe < kMaxProbes; ++probe, i = (i + 1) & mask) {
        Slot& slot = m_slots[i];
        if (slot.text.isNull()) {
            slot.hash = hash;
            slot.text = text.toString();
            ++m_used;
            return slot.text;
        }
        if (slot.hash == hash && slot.text.size() == n &&
            std::equal(p, p + n, reinterpret_cast<const char16_t*>(slot.text.constData())))
            return slot.text;
    }
    return text.toString();
}

void TextPool::grow()
{
    std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(std::max<std::size_t>(64, 2 * m_slots.size())));
    m_used = 0;
    const std::size_t mask = m_slots.size() - 1;
    for (Slot& slot : old) {
        if (slot.text.isNull())
            continue;
        for (std::size_t probe = 0, i = slot.hash & mask; probe < kMaxProbes; ++probe, i = (i + 1) & mask) {
            if (m_slots[i].text.isNull()) {
                m_slots[i] = std::move(slot);
                ++m_used;
                break;
            }
        }
    }
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
