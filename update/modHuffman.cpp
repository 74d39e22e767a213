#include "update/modHuffman.h"

namespace modHuffman {

HuffmanError::HuffmanError(std::int32_t number, QString source, QString message)
    : m_number(number), m_source(std::move(source)), m_message(std::move(message))
{
    m_what = (m_source + QStringLiteral(": ") + m_message + QStringLiteral(" (error %1)").arg(m_number)).toStdString();
}

// Work in progress: the real coder lands next.
QByteArray EncodeStream(QByteArrayView input)
{
    return QByteArray("HE0\r", 4) + input.toByteArray();
}

QByteArray DecodeStream(QByteArrayView stream)
{
    if (stream.size() < 4)
        throw HuffmanError(kErrorNumber, kSourceHuffmanDecode, QStringLiteral("stream shorter than its header"));
    return stream.sliced(4).toByteArray();
}

bool IsStoredStream(QByteArrayView s) noexcept
{
    return s.size() >= 4 && s[0] == 'H' && s[1] == 'E' && s[2] == '0' && s[3] == '\r';
}

qint64 DeclaredLength(QByteArrayView) noexcept { return -1; }

void HuffmanEncode(QByteArray& bytes, qsizetype length)
{
    bytes = EncodeStream(QByteArrayView(bytes).first(qBound<qsizetype>(0, length, bytes.size())));
}
void HuffmanEncode(QByteArray& bytes) { HuffmanEncode(bytes, bytes.size()); }
void HuffmanDecode(QByteArray& bytes, qsizetype length)
{
    bytes = DecodeStream(QByteArrayView(bytes).first(qBound<qsizetype>(0, length, bytes.size())));
}
void HuffmanDecode(QByteArray& bytes) { HuffmanDecode(bytes, bytes.size()); }

} // namespace modHuffman
