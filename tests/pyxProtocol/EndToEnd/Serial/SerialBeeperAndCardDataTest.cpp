// Serial readers run in an executable of their own, outside umockdev-run: its preload refuses TIOCEXCL on a
// pseudo-terminal, which the serial port needs to open.
#include "../BeeperAndCardDataSuites.h"

namespace PyxEndToEnd
{
INSTANTIATE_TEST_SUITE_P(Serial, BeeperEndToEnd, ::testing::Values(Protocol::SerialBinary), ParamName);
INSTANTIATE_TEST_SUITE_P(Serial, BinaryEndToEnd, ::testing::Values(Protocol::SerialBinary), ParamName);

using SerialEndToEnd = PyxTest::OpenedOn<Protocol::SerialBinary, EndToEnd>;

TEST_F(SerialEndToEnd, ReaderFailuresArriveAsTheCommandsMessages)
{
    struct Case
    {
        const char* name;
        Fault fault;
        std::function<void(PyxTransport::Transport&)> run;
        std::string message;
    };
    auto beep = [](PyxTransport::Transport& transport)
    { Beep(Protocol::SerialBinary, transport, 1, BEEP_DURATION::BEEP_SHORT); };
    auto shortCard = [](PyxTransport::Transport& transport)
    { ReadCard(Protocol::SerialBinary, transport, GetCardDataSizeParameters::CARD_DATA_SIZE_8_BYTES); };
    auto longCard = [](PyxTransport::Transport& transport)
    { ReadCard(Protocol::SerialBinary, transport, GetCardDataSizeParameters::CARD_DATA_SIZE_32_BYTES); };
    auto setVolume = [](PyxTransport::Transport& transport)
    { SetVolume(Protocol::SerialBinary, transport, BeepVolume::VOLUME_2); };
    auto queuedId = [](PyxTransport::Transport& transport)
    { ReadQueuedId(Protocol::SerialBinary, transport, 0); };

    const std::vector<Case> cases = {
        {"status word", Fault::Status({0xFA, 0x0C, 0x03}, 0x6A, 0x83), beep,
         "Beep command received error response: UNKNOWN_ERROR"},
        {"card not found by name", Fault::Status({0xFA, 0x0C, 0x03}, 0x6A, 0x82), beep,
         "Beep command received error response: CARD_NOT_FOUND"},
        {"short card reply", Fault::ShortReply({0xFA, 0x00}, 10), shortCard,
         "Response phrase at index 0 is not 15 bytes long. Expected 15 bytes, got 10 bytes"},
        {"card status", Fault::Status({0xFA, 0x00}, 0x6B, 0x00), longCard,
         "Response phrase at index 37 is not a valid response. Expected 0x90, got 0x6b"},
        {"silent reader", Fault::Silent({0xFA, 0x0C, 0x86}), setVolume,
         "SetBeeperVolume command response was empty."},
        {"short third queued-id reply", Fault::ShortReply({0xFA, 0x0C, 0x02, 0x02}, 10), queuedId,
         "Response phrase at index 2 is 10 bytes but should be 11"},
    };
    for (const auto& c : cases)
    {
        simulator_.Arm(c.fault);
        EXPECT_EQ(FailureOf([&] { c.run(Transport()); }), c.message) << c.name;
        EXPECT_FALSE(simulator_.FaultsPending()) << c.name;
    }
}
} // namespace PyxEndToEnd
