#include "ProtocolFacade.h"
#include "Reader/ReaderCapabilityProfile.h"

namespace Pyx
{
DefaultCapabilityDataProvider::~DefaultCapabilityDataProvider() = default;

std::optional<PyxProtocol::CardAnalyzerStatus> DefaultCapabilityDataProvider::GetCardAnalyzerStatus() const
{
    if (facade_ == nullptr)
    {
        return std::nullopt;
    }
    PyxProtocol::CardAnalyzerStatus status{};
    if (facade_->GetCardAnalyzerStatus(status).HasException)
    {
        return std::nullopt;
    }
    return status;
}
} // namespace Pyx
