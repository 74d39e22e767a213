// Any bytes as a codec stream: a result or a codec error, nothing else, and
// never more output than the data bits can hold.
#include "update/modHuffman.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView stream(reinterpret_cast<const char*>(data), qsizetype(size));
    try {
        const QByteArray out = modHuffman::DecodeStream(stream);
        if (!modHuffman::IsStoredStream(stream) && out.size() > qsizetype(size) * 8 && out != stream.toByteArray())
            std::abort();
    } catch (const modHuffman::HuffmanError& e) {
        if (e.number() != modHuffman::kErrorNumber || e.message().isEmpty())
            std::abort();
    }
    return 0;
}
