#include "Commands/WithSerialBinaryProtocol/GetCardDataWithSerialBinaryProtocol.h"

#include <fmt/format.h>

#include "Commands/CommandHelpers.h"
#include "Commands/SerialBinaryStatus.h"
#include "Logging/Logger.h"
#include "ProtocolException.h"

namespace PyxProtocol
{
namespace
{
constexpr std::size_t kDataSize = 32;
constexpr std::size_t kDataAt = 5;
constexpr std::size_t kBitCountAt = 2;
constexpr std::size_t kStatusSize = 2;

// The reply of each size: its length and where its status word begins.
struct ReplyShape
{
    std::uint8_t requestLength;
    std::size_t replyLength;
    std::size_t statusAt;
};

constexpr ReplyShape kShort{0x0C, 15, 13};
constexpr ReplyShape kLong{0x24, 39, 37};

const ReplyShape* ShapeOf(GetCardDataSizeParameters size)
{
    switch (size)
    {
    case GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES:
        return &kShort;
    case GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES:
        return &kLong;
    }
    return nullptr;
}
} // namespace

GetCardDataWithSerialBinaryProtocol::GetCardDataWithSerialBinaryProtocol(GetCardDataSizeParameters size)
    : _size(size)
{
}

std::vector<std::uint8_t> GetCardDataWithSerialBinaryProtocol::NextCommandPhrase()
{
    const ReplyShape* shape = ShapeOf(_size);
    if (shape == nullptr)
    {
        PYX_THROW(ProtocolException, "Unsupported card data read size requested by GetCardData command.");
    }
    ++_commandPhrasesSent;
    return Phrase::SerialBinary(0x00, 0x00, 0x00, shape->requestLength);
}

void GetCardDataWithSerialBinaryProtocol::ValidateResponse() const
{
    if (_responsePhrases.size() != 1)
    {
        PYX_THROW(ProtocolException,
                  "Attempted to get result of GetCardData before all responses were received");
    }
    const Bytes& reply = _responsePhrases[0];
    if (reply.empty())
    {
        PYX_THROW(ProtocolException, "Response phrase at index 0 is empty");
    }
    const ReplyShape* shape = ShapeOf(_size);
    if (shape == nullptr)
    {
        PYX_THROW(ProtocolException, "Unsupported card data read size requested by GetCardData command.");
    }
    if (reply.size() != shape->replyLength)
    {
        PYX_THROW(
            ProtocolException,
            fmt::format("Response phrase at index 0 is not {0} bytes long. Expected {0} bytes, got {1} bytes",
                        shape->replyLength, reply.size()));
    }
    const std::uint8_t sw1 = Reply::ByteAt(reply, shape->statusAt);
    const std::uint8_t sw2 = Reply::ByteAt(reply, shape->statusAt + 1);
    if (sw1 == kSerialBinarySuccessSw1)
    {
        return;
    }
    if (ToSerialBinaryStatus(sw1, sw2) == SerialBinaryStatus::CARD_NOT_FOUND)
    {
        PyxCommon::Logger::GetInstance(false, true)
            .Info("PROTOCOL",
                  "Received NO_CARD response, which indicates that the reader does not have a card "
                  "present. Returning empty card data result.");
        return;
    }
    PYX_THROW(ProtocolException,
              fmt::format("Response phrase at index {} is not a valid response. Expected 0x90, got 0x{:02x}",
                          shape->statusAt, sw1));
}

std::uint8_t GetCardDataWithSerialBinaryProtocol::GetBitCount() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response has been received. Did you execute the command?");
    }
    if (!Reply::HasAtLeast(*reply, kBitCountAt + 1))
    {
        const ReplyShape& shape = ShapeOf(_size) != nullptr ? *ShapeOf(_size) : kShort;
        PYX_THROW(
            ProtocolException,
            fmt::format("Response phrase at index 0 is not {0} bytes long. Expected {0} bytes, got {1} bytes",
                        shape.replyLength, reply->size()));
    }
    return Reply::ByteAt(*reply, kBitCountAt);
}

std::vector<std::uint8_t> GetCardDataWithSerialBinaryProtocol::GetResult() const
{
    const Bytes* reply = Reply::At(_responsePhrases, 0);
    if (reply == nullptr)
    {
        PYX_THROW(ProtocolException, "No response has been received. Did you execute the command?");
    }
    std::vector<std::uint8_t> data(kDataSize, 0x00);
    if (reply->size() > kDataAt + kStatusSize)
    {
        Reply::CopyBounded(*reply, kDataAt, reply->size() - kStatusSize, data, 0);
    }
    return data;
}
} // namespace PyxProtocol
