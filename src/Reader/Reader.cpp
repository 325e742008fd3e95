#include "Reader/Reader.h"

#include <utility>

#include "GetCardDataCallbackHandler.h"
#include "Reader/ReaderCapabilityProfile.h"
#include "Reader/ReaderException.h"

namespace Pyx
{
namespace
{
constexpr int kLinePollAfterInitWhileDestroying = 62;
constexpr int kLinePollAfterSubscribeWhileDestroying = 84;
} // namespace

Reader::Reader(void* facade, void* facadeHandle) : AbstractReader(facade, facadeHandle) {}

Reader::~Reader()
{
    // The poll thread calls into this object, so it ends before any part of the object does.
    CallbackHandler().Shutdown();
}

void Reader::Init()
{
    AbstractReader::Init();
    std::lock_guard lock(InstanceMutex());
    CheckUsable();
    InstallProfileLocked(
        std::make_shared<DefaultReaderCapabilityProfile>(MetadataRecord(), FacadeLocked(), &MetadataMutex()));
    if (CallbackHandler().HasSubscribers())
    {
        CallbackHandler().Start(
            [this](CardData& card)
            {
                if (IsDestroying())
                {
                    throw ReaderException("Reader is being destroyed", PYX_SOURCE_FILE,
                                          kLinePollAfterInitWhileDestroying, "operator ()");
                }
                GetCardData(card, CallbackHandler().GetCardDataSizeParameters());
            });
    }
}

unsigned int Reader::OnCredentialPresented(std::function<void(CardData&)> callback,
                                           PyxProtocol::GetCardDataSizeParameters sizeParameters)
{
    const unsigned int id = CallbackHandler().Subscribe(std::move(callback));
    CallbackHandler().SetCardDataSizeParameters(sizeParameters);
    std::lock_guard lock(InstanceMutex());
    CheckUsable();
    if (HasProfileLocked())
    {
        CallbackHandler().Start(
            [this](CardData& card)
            {
                if (IsDestroying())
                {
                    throw ReaderException("Reader is being destroyed", PYX_SOURCE_FILE,
                                          kLinePollAfterSubscribeWhileDestroying, "operator ()");
                }
                GetCardData(card, CallbackHandler().GetCardDataSizeParameters());
            });
    }
    return id;
}

void Reader::UnsubscribeCredentialCallback(unsigned int subscriptionId)
{
    CallbackHandler().Unsubscribe(subscriptionId);
    CallbackHandler().StopIfUnsubscribed();
}
} // namespace Pyx
