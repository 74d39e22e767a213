// Small helpers shared by the codec and package tests.
#pragma once

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QtEndian>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace codectest {

// `size` bytes drawn evenly from the values 0 .. alphabet-1.
inline QByteArray Random(std::mt19937& rng, int size, int alphabet)
{
    QByteArray out(size, Qt::Uninitialized);
    std::uniform_int_distribution<int> pick(0, alphabet - 1);
    for (char& c : out)
        c = char(pick(rng));
    return out;
}
inline QByteArray Random(unsigned seed, int size)
{
    std::mt19937 rng(seed);
    return Random(rng, size, 256);
}

// Byte value v occurs Fib(v + 1) times, shuffled: the deepest tree the
// weights allow.
inline QByteArray Fibonacci(int values)
{
    QByteArray out;
    long long a = 1, b = 1;
    for (int v = 0; v < values; ++v) {
        out.append(QByteArray(int(a), char(v)));
        std::tie(a, b) = std::pair(b, a + b);
    }
    std::shuffle(out.begin(), out.end(), std::mt19937(7));
    return out;
}

// Record-like text of `size` bytes.
inline QByteArray Words(std::mt19937& rng, int size)
{
    static const char* const words[] = {"Loomhearth ", "elite ", "boss\t", "1200\t", "Saltreach ", "chest\r\n"};
    QByteArray out;
    while (out.size() < size)
        out += words[rng() % std::size(words)];
    out.truncate(size);
    return out;
}

struct NamedInput {
    std::string name;
    QByteArray input;
};

// Inputs of 40 KB and more that stress the fast paths of the decoders.
inline std::vector<NamedInput> LargeInputs()
{
    std::mt19937 rng(61);
    return {
        {"RecordText", Words(rng, 200000)},
        // Eight values, every code 3 bits: a second cursor starting at a bit
        // that is not a multiple of 3 never meets a code boundary of the first
        // one (40003 values), one starting on a multiple does (40000).
        {"ThreeBitCodesNeverMeeting", Random(rng, 40003, 8)},
        {"ThreeBitCodesMeeting", Random(rng, 40000, 8)},
        {"FewValues", Random(rng, 150000, 5)},
        // Codes up to 24 bits, longer than the lookup table: down the tree.
        {"CodesLongerThanTheTable", Fibonacci(25)},
        // One half yields far more bytes per bit than the other.
        {"DenseSecondHalf", Random(rng, 20000, 256) + QByteArray(200000, 'a')},
        {"DenseFirstHalf", QByteArray(200000, 'a') + Random(rng, 20000, 256)},
        {"AllValues", Random(rng, 100000, 256)}, // every code 8 bits: the byte map
        {"OneValueStoredForm", QByteArray(50000, 'a')},
    };
}

// "abc" coded: a = 10, b = 11, c = 0 (see the vectors).
inline const QByteArray kAbcStream = QByteArray::fromHex("4845330D 60 03000000 0300 6102 6202 6301 0D 0D");
inline const QByteArray kEmptyStream = QByteArray::fromHex("4845300D");

inline std::string Hex(const QByteArray& bytes)
{
    return bytes.toHex(' ').toUpper().toStdString();
}

inline QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

inline bool WriteAll(const QString& path, const QByteArray& bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size();
}

// A package entry's header, sizes as given (also wrong ones).
inline QByteArray EntryHeader(qint32 stored, qint16 nameLength)
{
    char f[6];
    qToLittleEndian<qint32>(stored, f);
    qToLittleEndian<qint16>(nameLength, f + 4);
    return QByteArray(f, 6);
}

// One package entry written field by field.
inline QByteArray Entry(const QByteArray& name, const QByteArray& stream)
{
    return EntryHeader(qint32(stream.size()), qint16(name.size())) + name + stream;
}

// `length` bytes "a" coded with the one-bit code 0: a stream of about
// length / 8 bytes (the highest ratio the codec allows).
inline QByteArray OneBitStream(qint32 length)
{
    char le[4];
    qToLittleEndian<qint32>(length, le);
    return QByteArray("HE3\r") + char(length % 2 ? 'a' : 0) + QByteArray(le, 4) + QByteArray::fromHex("0100 6101 00") +
           QByteArray((length + 7) / 8, 0);
}

// Bits run together first bit = least significant bit, written one at a time
// (independent of the codec's own writer).
class BitSink {
public:
    void Put(const std::vector<int>& bits)
    {
        for (int bit : bits) {
            if (m_count % 8 == 0)
                m_bytes.append('\0');
            if (bit)
                m_bytes[m_bytes.size() - 1] = char(quint8(m_bytes.back()) | (1u << (m_count % 8)));
            ++m_count;
        }
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
    BitSink codeBits, dataBits;
    for (const auto& [value, bits] : p.codes) {
        out.append(char(value));
        out.append(char(bits.size()));
        codeBits.Put(bits);
    }
    dataBits.Put(p.data);
    return out + codeBits.bytes() + dataBits.bytes();
}

} // namespace codectest
