// encode / decode: raw codec streams, for tests and tooling.
#include "tools/krbtool/Subcommands.h"
#include "update/modHuffman.h"

namespace {

QString CodecReason(const modHuffman::HuffmanError& e)
{
    return QStringLiteral("error %1: %2").arg(e.number()).arg(e.message());
}

int RunEncode(const QStringList& args)
{
    QByteArray bytes;
    if (!krbtool::ReadInput(args[0], bytes))
        return krbtool::kFailed;
    return krbtool::WriteOutput(args[1], modHuffman::EncodeStream(bytes)) ? krbtool::kOk : krbtool::kFailed;
}

int RunDecode(const QStringList& args)
{
    QByteArray bytes;
    if (!krbtool::ReadInput(args[0], bytes))
        return krbtool::kFailed;
    QByteArray decoded;
    try {
        decoded = modHuffman::DecodeStream(bytes);
    } catch (const modHuffman::HuffmanError& e) {
        return krbtool::Failed(args[0], CodecReason(e));
    }
    return krbtool::WriteOutput(args[1], decoded) ? krbtool::kOk : krbtool::kFailed;
}

} // namespace

KRBTOOL_SUBCOMMAND(encode, "IN OUT", 2, 2, RunEncode)
KRBTOOL_SUBCOMMAND(decode, "IN OUT", 2, 2, RunDecode)
