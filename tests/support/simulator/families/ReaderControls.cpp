#include "../Families.h"

namespace PyxTest::Sim
{
namespace
{
constexpr std::uint8_t kSetModuleState = 2;

void RegisterFeatureReport(HandlerTables& tables)
{
    tables.featureReport.On(
        0x8C, 0x00,
        [](ReaderModel& model, ByteView)
        {
            const ControlSection& c = model.control;
            if (!c.transparentModeSupported)
            {
                return Reply(Bytes(8, 0x00));
            }
            return Reply(FeatureReportPhrase({0x8C, 0x00, c.transparentStatus, c.transparentState}));
        });
    // The request echoed when the reader switched; eight zero bytes from a reader without the mode.
    tables.featureReport.On(0x8C, 0x80,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                ControlSection& c = model.control;
                                if (!c.transparentModeSupported)
                                {
                                    return Reply(Bytes(8, 0x00));
                                }
                                c.transparentState = phrase[2] == 0x01 ? 1 : 0;
                                return Reply(FeatureReportPhrase({0x8C, 0x80, phrase[2]}));
                            });
    tables.featureReport.On(
        0x8C, 0x08,
        [](ReaderModel& model, ByteView) {
            return Reply(FeatureReportPhrase({0x8C, 0x08, model.control.analyzerA, model.control.analyzerB}));
        });
    // 8C 0B action module state: FF and the module, then its state; an unknown module gets 00 in place of FF.
    tables.featureReport.On(0x8C, 0x0B,
                            [](ReaderModel& model, ByteView phrase)
                            {
                                const std::uint8_t module = phrase[3];
                                auto it = model.control.moduleStates.find(module);
                                if (it == model.control.moduleStates.end())
                                {
                                    return Reply(FeatureReportPhrase({0x8C, 0x0B, 0x00, module}));
                                }
                                if (phrase[2] == kSetModuleState)
                                {
                                    it->second = phrase[4];
                                }
                                return Reply(FeatureReportPhrase({0x8C, 0x0B, 0xFF, module, it->second}));
                            });
}

void RegisterSerialBinary(HandlerTables& tables)
{
    tables.serialBinary.On(
        0x0C, 0x08,
        {HeaderOnly, [](ReaderModel& model, ByteView) {
             return Reply(Bytes{0x0C, model.control.analyzerA, model.control.analyzerB, 0x90, 0x00});
         }});
}
} // namespace

void RegisterReaderControlFamily(HandlerTables& tables)
{
    RegisterFeatureReport(tables);
    RegisterSerialBinary(tables);
}
} // namespace PyxTest::Sim
