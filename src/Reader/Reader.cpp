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
        StartPollingLocked(kLinePollAfterInitWhileDestroying);
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
        StartPollingLocked(kLinePollAfterSubscribeWhileDestroying);
    }
    return id;
}

void Reader::StartPollingLocked(int destroyingLine)
{
    CallbackHandler().Start(
        [this, destroyingLine](CardData& card)
        {
            if (IsDestroying())
            {
                throw ReaderException("Reader is being destroyed", PYX_SOURCE_FILE, destroyingLine,
                                      "operator ()");
            }
            GetCardData(card, CallbackHandler().GetCardDataSizeParameters());
        });
}

void Reader::UnsubscribeCredentialCallback(unsigned int subscriptionId)
{
    CallbackHandler().Unsubscribe(subscriptionId);
    CallbackHandler().StopIfUnsubscribed();
}
} // namespace Pyx
