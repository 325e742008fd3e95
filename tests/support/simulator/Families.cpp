#include "Families.h"

namespace PyxTest::Sim
{
namespace
{
using RegisterFamily = void (*)(HandlerTables&);

constexpr RegisterFamily kFamilies[] = {
    RegisterBeeperFamily,
    RegisterCardDataFamily,
    RegisterConfigurationFamily,
};
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
