// The extended configuration through the real serial transport on a pseudo-terminal, with the reader
// simulator answering. Serial readers run outside umockdev-run, in an executable of their own.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "../SimulatedReaderTest.h"
#include "Commands/WithSerialBinaryProtocol/GetExtendedConfigurationWithSerialBinaryProtocol.h"
#include "Commands/WithSerialBinaryProtocol/SetExtendedConfigurationWithSerialBinaryProtocol.h"

namespace
{
using namespace PyxProtocol;
using PyxTest::Sim::Bytes;
using PyxTest::Sim::Fault;
using PyxTest::Sim::ReaderModel;

class ExtendedConfigurationOnSerialReader : public PyxTest::SimulatedReaderTest<>
{
protected:
    void SetUp() override { Open(PyxTest::Sim::Protocol::SerialBinary); }

    PyxCommon::ExtendedConfiguration Read()
    {
        GetExtendedConfigurationWithSerialBinaryProtocol command;
        command.Execute(*transport_);
        command.ValidateResponse();
        return command.GetResult();
    }
};

TEST_F(ExtendedConfigurationOnSerialReader, WrittenBlockAndSecondValueAreReadBack)
{
    PyxCommon::ExtendedConfiguration configuration;
    configuration.FieldSeparatorDataHeader = {.Version = 1,
                                              .HeaderSize = 4,
                                              .FieldEntrySize = 4,
                                              .FieldEntryCount = 3,
                                              .SeparatorEntrySize = 2,
                                              .SeparatorEntryCount = 0,
                                              .MaxStorageSize = 16};
    for (std::uint8_t i = 0; i < 3; ++i)
    {
        configuration.FieldEntries[i] = {.FieldValid = 1,
                                         .ConversionType = 1,
                                         .StartingBitPosition = static_cast<std::uint8_t>(10 * i),
                                         .BitCountOfField = 10};
    }
    configuration.ApplicationData.MaxBitCount = 30;
    PyxCommon::HashData hash;
    hash.HashValue2.fill(0x3E);

    SetExtendedConfigurationWithSerialBinaryProtocol write(configuration, hash);
    write.Execute(*transport_);
    write.ValidateResponse();

    const auto stored = simulator_.Snapshot().extendedConfiguration;
    const Bytes block = configuration.ToVector();
    EXPECT_EQ(Bytes(stored.block.begin(), stored.block.end()), block);
    EXPECT_EQ(stored.hashValue1, hash.HashValue1);
    EXPECT_EQ(stored.hashValue2, hash.HashValue2);
    EXPECT_EQ(stored.hashWrites, 1u);
    EXPECT_EQ(Read().ToVector(), block);
}

TEST_F(ExtendedConfigurationOnSerialReader, RefusedHeaderReadIsReportedAndTheNextReadWorks)
{
    simulator_.Arm(Fault::Status({0xFA, 0x0A}, 0x6B, 0x00));
    EXPECT_EQ(FailureOf([&] { Read(); }), "Invalid ACK data received from reader for Data header while "
                                          "executing GetExtendedConfiguration command");
    const auto stored = simulator_.Snapshot().extendedConfiguration.block;
    EXPECT_EQ(Read().ToVector(), Bytes(stored.begin(), stored.end()));
}
} // namespace
