#include "update/HuffmanPieces.h"

#include "update/HuffmanKernels.h"

#include <algorithm>
#include <cstring>

namespace modHuffman {

using detail::Malformed;

PieceDecoder::PieceDecoder(QByteArrayView stream)
{
    const auto* s = reinterpret_cast<const std::uint8_t*>(stream.data());
    m_stream = s;
    if (detail::Identify(stream) == detail::Form::Stored) {
        m_copy = s + 4;
        m_length = stream.size() - 4;
        return;
    }
    m_setup.header = detail::ReadCompressedHeader(stream);
    if (m_setup.header.length == 0) {
        // A zero length leaves the stream as it is.
        m_copy = s;
        m_length = stream.size();
        return;
    }
    detail::Prepare(stream, m_setup.header, m_setup);
    m_length = m_setup.header.length;
    m_source = m_setup.tables.allEightBits ? Source::ByteMap : Source::Table;
}

qint64 PieceDecoder::InputUsed() const
{
    switch (m_source) {
    case Source::Copy:
        return qint64(m_copy - m_stream) + m_done;
    case Source::ByteMap:
        return qint64(m_setup.data - m_stream) + m_done;
    case Source::Table:
        break;
    }
    return qint64(m_setup.data - m_stream) + qint64(m_bitpos / 8);
}

std::size_t PieceDecoder::Next(char* out, std::size_t max)
{
    const std::size_t want = std::min(max, std::size_t(m_length - m_done));
    if (want == 0)
        return 0;
    auto* o = reinterpret_cast<std::uint8_t*>(out);
    std::size_t produced = 0;
    switch (m_source) {
    case Source::Copy:
        std::memcpy(o, m_copy + m_done, want);
        m_done += qint64(want);
        return want;
    case Source::ByteMap: {
        // Every code is one whole data byte.
        const std::size_t left = m_setup.dataBytes - std::min(m_setup.dataBytes, std::size_t(m_done));
        produced = std::min(want, left);
        m_sum ^= kernels::MapBytes(m_setup.data + m_done, produced, m_setup.tables.byteMap.data(), o);
        break;
    }
    case Source::Table: {
        const detail::Decoder d{
            m_setup.tree, m_setup.tables.multi.data(),      (std::uint64_t{1} << m_setup.tables.bits) - 1,
            m_setup.data, m_setup.data + m_setup.dataBytes, std::uint64_t{m_setup.dataBytes} * 8};
        produced = std::size_t(detail::DecodeFrom(d, m_bitpos, o, o + want) - o);
        m_sum ^= detail::XorOf(o, produced);
        break;
    }
    }
    m_done += qint64(produced);
    if (produced < want)
        Malformed(QStringLiteral("the data bits end after %1 of the %2 declared bytes").arg(m_done).arg(m_length));
    if (AtEnd() && m_sum != m_setup.header.checksum)
        throw HuffmanError(kErrorNumber, QString::fromLatin1(kSourceChecksum), QString::fromLatin1(kMessageChecksum));
    return produced;
}

} // namespace modHuffman
