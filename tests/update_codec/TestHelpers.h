// Small helpers shared by the codec and package tests.
#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QtEndian>

#include <initializer_list>
#include <string>

namespace codectest {

inline QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray out;
    for (int v : values)
        out.append(static_cast<char>(v));
    return out;
}

inline std::string Hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
}

inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(bytes);
}

// One package entry written field by field.
inline QByteArray Entry(const QByteArray& name, const QByteArray& stream)
{
    char f[6];
    qToLittleEndian<qint32>(qint32(stream.size()), f);
    qToLittleEndian<qint16>(qint16(name.size()), f + 4);
    return QByteArray(f, 6) + name + stream;
}

} // namespace codectest

#include <utility>
#include <vector>

namespace codectest {

// Bits run together first bit = least significant bit, written one at a time
// (independent of the codec's own writer).
class BitSink {
public:
    void Put(int bit)
    {
        if (m_count % 8 == 0)
            m_bytes.append('\0');
        if (bit)
            m_bytes[m_bytes.size() - 1] = char(quint8(m_bytes.back()) | (1u << (m_count % 8)));
        ++m_count;
    }
    void Put(const std::vector<int>& bits)
    {
        for (int b : bits)
            Put(b);
    }
    const QByteArray& bytes() const { return m_bytes; }

private:
    QByteArray m_bytes;
    long long m_count = 0;
};

// A compressed stream put together field by field, for decoder tests.
struct StreamParts {
    int checksum = 0;
    qint32 length = 0;
    std::vector<std::pair<int, std::vector<int>>> codes; // byte value, code bits (table order)
    std::vector<int> data;                               // data bits
};

inline QByteArray BuildStream(const StreamParts& p)
{
    QByteArray out("HE3\r");
    out.append(char(p.checksum));
    char le[4];
    qToLittleEndian<qint32>(p.length, le);
    out.append(le, 4);
    qToLittleEndian<qint16>(qint16(p.codes.size()), le);
    out.append(le, 2);
    for (const auto& [value, bits] : p.codes) {
        out.append(char(value));
        out.append(char(bits.size()));
    }
    BitSink codeBits;
    for (const auto& c : p.codes)
        codeBits.Put(c.second);
    out.append(codeBits.bytes());
    BitSink dataBits;
    dataBits.Put(p.data);
    out.append(dataBits.bytes());
    return out;
}

} // namespace codectest
