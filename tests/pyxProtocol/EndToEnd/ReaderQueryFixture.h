#pragma once

// The identification, firmware-version, supported-cards and reader-control commands through the real
// transports (hidapi on a umockdev node, the serial port on a pseudo-terminal), with the reader simulator
// answering.
#include <gtest/gtest.h>

#include "SimulatedReaderTest.h"

namespace PyxReaderQueries
{
using PyxTest::HidTestbed;
using PyxTest::Sim::Bytes;
using PyxTest::Sim::Fault;
using PyxTest::Sim::Protocol;
using PyxTest::Sim::ReaderModel;
using PyxTest::Sim::ReaderSimulator;

class ReaderQueryEndToEnd : public PyxTest::SimulatedReaderTest<>
{
protected:
    // Runs the whole exchange of `command`; its checks and result are the caller's.
    template <typename C> void Run(C& command) { command.Execute(*transport_); }
};
} // namespace PyxReaderQueries
