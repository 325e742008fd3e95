#include "../Families.h"

namespace PyxTest::Sim
{
namespace
{
// The four version bytes of a module; a module the reader lacks reports zeros.
std::array<std::uint8_t, 4> VersionOf(const FirmwareSection& firmware, std::uint8_t moduleClass,
                                      std::uint8_t type)
{
    const auto it = firmware.versions.find({moduleClass, type});
    return it == firmware.versions.end() ? std::array<std::uint8_t, 4>{} : it->second;
}

void RegisterFeatureReport(HandlerTables& tables)
{
    // 89 03 class type: the class and type echoed, then the four version bytes.
    tables.featureReport.On(0x89, 0x03,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                const auto v = VersionOf(model.firmware, phrase[2], phrase[3]);
                                return Reply(Bytes{0x89, 0x03, phrase[2], phrase[3], v[0], v[1], v[2], v[3]});
                            });
}

void RegisterMfp24(HandlerTables& tables)
{
    tables.mfp24.On("QSX05", [](ReaderModel& model, ByteView)
                    { return Reply(Mfp24Line("RSX05" + model.firmware.bluetoothMfp24.substr(0, 8))); });
}

void RegisterSerialBinary(HandlerTables& tables)
{
    tables.serialBinary.On(
        0x09, 0x03,
        {HeaderOnly, [](ReaderModel& model, ByteView phrase)
         {
             const auto v = VersionOf(model.firmware, phrase[3], phrase[4]);
             return Reply(Bytes{0x09, 0x03, phrase[3], phrase[4], v[0], v[1], v[2], v[3], 0x90, 0x00});
         }});
}
} // namespace

void RegisterFirmwareVersionFamily(HandlerTables& tables)
{
    RegisterFeatureReport(tables);
    RegisterMfp24(tables);
    RegisterSerialBinary(tables);
}
} // namespace PyxTest::Sim
