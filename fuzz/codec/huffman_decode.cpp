// Any bytes as a codec stream: a result or a codec error, nothing else, and
// never more output than the data bits can hold. Every stream is decoded
// three times, with one cursor, with two, and in pieces of 7 bytes, and all
// must agree to the byte (or fail with the same error).
#include "update/HuffmanPieces.h"
#include "update/modHuffman.h"

#include <cstdlib>
#include <limits>
#include <optional>

namespace {

struct Outcome {
    std::optional<QByteArray> bytes;
    QString error;
    bool operator==(const Outcome&) const = default;
};

Outcome Decode(QByteArrayView stream, std::size_t twoCursorMinBytes)
{
    Outcome o;
    try {
        o.bytes = modHuffman::DecodeStream(stream, {twoCursorMinBytes});
    } catch (const modHuffman::HuffmanError& e) {
        if (e.number() != modHuffman::kErrorNumber || e.message().isEmpty())
            std::abort();
        o.error = e.source() + u'|' + e.message();
    }
    return o;
}

Outcome DecodeInPieces(QByteArrayView stream)
{
    Outcome o;
    try {
        modHuffman::PieceDecoder decoder(stream);
        QByteArray out;
        char piece[7 + 8];
        while (!decoder.AtEnd()) {
            const std::size_t n = decoder.Next(piece, 7);
            out.append(piece, qsizetype(n));
        }
        o.bytes = out;
    } catch (const modHuffman::HuffmanError& e) {
        o.error = e.source() + u'|' + e.message();
    }
    return o;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView stream(reinterpret_cast<const char*>(data), qsizetype(size));
    const Outcome one = Decode(stream, std::numeric_limits<std::size_t>::max());
    const Outcome two = Decode(stream, 0);
    if (!(one == two) || !(DecodeInPieces(stream) == one))
        std::abort();
    if (one.bytes && !modHuffman::IsStoredStream(stream) && one.bytes->size() > qsizetype(size) * 8 &&
        *one.bytes != stream.toByteArray())
        std::abort();
    return 0;
}
