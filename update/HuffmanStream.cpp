#include "update/HuffmanStream.h"

#include <cstring>

namespace modHuffman {

HuffmanError::HuffmanError(std::int32_t number, QString source, QString message)
    : m_number(number), m_source(std::move(source)), m_message(std::move(message))
{
    m_what = (m_source + QStringLiteral(": ") + m_message + QStringLiteral(" (error %1)").arg(m_number)).toStdString();
}

bool IsStoredStream(QByteArrayView s) noexcept
{
    return s.size() >= 4 && std::memcmp(s.data(), detail::kStoredId, 4) == 0;
}

qint64 DeclaredLength(QByteArrayView s) noexcept
{
    if (IsStoredStream(s))
        return s.size() - 4;
    if (s.size() < detail::kHeaderSize)
        return -1;
    return qFromLittleEndian<qint32>(s.data() + 5);
}

} // namespace modHuffman

namespace modHuffman::detail {

void Malformed(const QString& what)
{
    throw HuffmanError(kErrorNumber, QString::fromLatin1(kSourceHuffmanDecode), what);
}

Form Identify(QByteArrayView stream)
{
    const auto* s = reinterpret_cast<const std::uint8_t*>(stream.data());
    const std::size_t n = static_cast<std::size_t>(stream.size());
    if (n < 4)
        Malformed(QStringLiteral("the stream has %1 bytes, fewer than its 4-byte identification").arg(n));
    if (s[0] == 'H' && s[1] == 'E' && s[3] == '\r') {
        if (s[2] == '0')
            return Form::Stored;
        if (s[2] != '3')
            throw HuffmanError(kErrorNumber, QString::fromLatin1(kSourceHuffmanDecode),
                               QString::fromLatin1(kMessageUnknownMethod));
    }
    return Form::Compressed;
}

CompressedHeader ReadCompressedHeader(QByteArrayView stream)
{
    const auto* s = reinterpret_cast<const std::uint8_t*>(stream.data());
    const std::size_t n = static_cast<std::size_t>(stream.size());
    if (n < std::size_t(kHeaderSize))
        Malformed(QStringLiteral("the stream has %1 bytes, fewer than its 11-byte header").arg(n));

    CompressedHeader h;
    h.checksum = s[4];
    h.length = qFromLittleEndian<qint32>(s + 5);
    const qint16 entries = qFromLittleEndian<qint16>(s + 9);
    if (h.length == 0)
        return h;
    if (h.length < 0)
        Malformed(QStringLiteral("the stream declares a negative length (%1)").arg(h.length));
    if (entries < 0)
        Malformed(QStringLiteral("the stream declares a negative code table size (%1)").arg(entries));
    h.tableEnd = std::size_t(kHeaderSize) + 2 * std::size_t(entries);
    if (h.tableEnd > n)
        Malformed(QStringLiteral("the code table of %1 entries runs past the end of the stream").arg(entries));

    // A later pair for the same byte value replaces an earlier one.
    for (std::size_t k = kHeaderSize; k < h.tableEnd; k += 2) {
        if (s[k + 1] == 0)
            Malformed(QStringLiteral("the code table gives byte value %1 a code length of 0").arg(s[k]));
        h.codeLength[s[k]] = s[k + 1];
    }
    std::uint64_t codeBits = 0;
    for (unsigned len : h.codeLength)
        codeBits += len;
    if (h.tableEnd + (codeBits + 7) / 8 > n)
        Malformed(QStringLiteral("the code bits run past the end of the stream"));
    h.dataStart = h.tableEnd + (codeBits + 7) / 8;
    return h;
}

} // namespace modHuffman::detail
