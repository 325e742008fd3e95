#include "Visitors/GetCardReadPayloadVisitor.h"

#include <algorithm>
#include <vector>

#include "Commands/WithFeatureReportProtocol/GetCardBitCountWithFeatureReportProtocol.h"
#include "Commands/WithFeatureReportProtocol/GetCardDataWithFeatureReportProtocol.h"
#include "Commands/WithSerialBinaryProtocol/GetCardDataWithSerialBinaryProtocol.h"
#include "Visitors/SupportMatrix.h"

namespace PyxProtocol
{
namespace
{
// The first bytes of the card data, as many as the payload holds; the rest stays zero.
void CopyCardData(const std::vector<std::uint8_t>& data, CardReadPayload& payload)
{
    const std::size_t count = std::min(data.size(), sizeof(payload.Data));
    std::copy_n(data.begin(), count, payload.Data);
}
} // namespace

void GetCardReadPayloadVisitor::ValidateArguments()
{
    const auto size = static_cast<std::uint8_t>(_size);
    if (size == 0 || size > 2)
    {
        PYX_THROW(ProtocolException, "Size parameter must be between 0x01 and 0x02");
    }
}

void GetCardReadPayloadVisitor::Visit(SerialBinaryProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    GetCardDataWithSerialBinaryProtocol command(_size);
    command.Execute(transport);
    command.ValidateResponse();
    CardReadPayload payload{};
    payload.BitCount = command.GetBitCount();
    CopyCardData(command.GetResult(), payload);
    _result = payload;
}

void GetCardReadPayloadVisitor::Visit(Mfp24Protocol&, PyxTransport::Transport&)
{
    PYX_REFUSE(GetCardReadPayload, Mfp24);
}

// Two exchanges, the bit count first. The payload is kept only when both succeed, so a failed data read
// never leaves a bit count without its data.
void GetCardReadPayloadVisitor::Visit(FeatureReportProtocol&, PyxTransport::Transport& transport)
{
    ValidateArguments();
    CardReadPayload payload{};
    {
        GetCardBitCountWithFeatureReportProtocol bitCount;
        bitCount.Execute(transport);
        payload.BitCount = bitCount.GetResult();
    }
    GetCardDataWithFeatureReportProtocol data(_size);
    data.Execute(transport);
    CopyCardData(data.GetResult(), payload);
    _result = payload;
}
} // namespace PyxProtocol
