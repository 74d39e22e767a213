// Decoding a stream a piece at a time, for members too large to hold whole in
// memory: the output goes wherever the caller puts each piece (a file), and
// memory stays at one piece and the code tables whatever the stream declares.
// The same checks and errors as modHuffman::DecodeStream; the checksum is
// compared when the last piece is decoded. One cursor only: the two-cursor
// decoder works on the whole output at once.
#pragma once

#include "update/HuffmanDecoder.h"
#include "update/modHuffman.h"

#include <QByteArrayView>

#include <cstddef>
#include <cstdint>

namespace modHuffman {

class PieceDecoder {
public:
    // Reads the stream's header and code table; throws HuffmanError for a
    // malformed one. `stream` must outlive the decoder.
    explicit PieceDecoder(QByteArrayView stream);

    // The number of bytes the stream decodes to, and how many are done.
    qint64 Length() const { return m_length; }
    qint64 Done() const { return m_done; }
    bool AtEnd() const { return m_done == m_length; }
    // How many bytes from the start of the stream the decoder will not read
    // again.
    qint64 InputUsed() const;

    // Decodes the next bytes, at most `max`, into `out`, which has room for
    // `max` + 8 bytes; gives how many were written (0 at the end). Throws
    // HuffmanError when the data bits end early or lead nowhere, and when the
    // last piece's checksum does not match.
    std::size_t Next(char* out, std::size_t max);

private:
    enum class Source { Copy, Table, ByteMap };

    Source m_source = Source::Copy;
    const std::uint8_t* m_stream = nullptr;
    const std::uint8_t* m_copy = nullptr; // the bytes a Copy source gives
    detail::DecodeSetup m_setup;
    std::uint64_t m_bitpos = 0;
    qint64 m_length = 0;
    qint64 m_done = 0;
    std::uint8_t m_sum = 0;
};

} // namespace modHuffman
