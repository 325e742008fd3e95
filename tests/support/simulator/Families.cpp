#include "Families.h"

namespace PyxTest::Sim
{
namespace
{
using RegisterFamily = void (*)(HandlerTables&);

// clang-format off
constexpr RegisterFamily kFamilies[] = {
    RegisterBeeperFamily,
    RegisterCardDataFamily,
    RegisterConfigurationFamily,
    RegisterIdentificationFamily,
    RegisterFirmwareVersionFamily,
    RegisterSupportedCardsFamily,
    RegisterReaderControlFamily,
    RegisterBlobFamily,
    RegisterExtendedConfigurationFamily,
};
// clang-format on
} // namespace

const HandlerTables& AllHandlers()
{
    static const HandlerTables tables = []
    {
        HandlerTables built;
        for (RegisterFamily registerFamily : kFamilies)
        {
            registerFamily(built);
        }
        return built;
    }();
    return tables;
}
} // namespace PyxTest::Sim
