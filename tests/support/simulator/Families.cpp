#include "Families.h"

namespace PyxTest::Sim
{
namespace
{
using RegisterFamily = void (*)(HandlerTables&);

constexpr RegisterFamily kFamilies[] = {
    RegisterBeeperFamily,
    RegisterCardDataFamily,
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
