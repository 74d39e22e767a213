// Encode then decode gives the input back, and the stream says what it holds;
// with one cursor and with two.
#include "update/modHuffman.h"

#include <cstdlib>
#include <limits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray input(reinterpret_cast<const char*>(data), qsizetype(size));
    const QByteArray stream = modHuffman::EncodeStream(input);
    if (modHuffman::DeclaredLength(stream) != input.size())
        std::abort();
    for (const std::size_t twoCursorMinBytes : {std::numeric_limits<std::size_t>::max(), std::size_t{0}}) {
        QByteArray decoded;
        try {
            decoded = modHuffman::DecodeStream(stream, {twoCursorMinBytes});
        } catch (const modHuffman::HuffmanError&) {
            std::abort();
        }
        if (decoded != input)
            std::abort();
    }
    return 0;
}
