#pragma once

#include "Handlers.h"

namespace PyxTest::Sim
{
// One register function per command family, each defined in families/<Family>.cpp. A new family adds its
// declaration here and its entry to the list in Families.cpp.
void RegisterBeeperFamily(HandlerTables& tables);
void RegisterCardDataFamily(HandlerTables& tables);
void RegisterConfigurationFamily(HandlerTables& tables);
void RegisterIdentificationFamily(HandlerTables& tables);
void RegisterFirmwareVersionFamily(HandlerTables& tables);
void RegisterSupportedCardsFamily(HandlerTables& tables);
void RegisterReaderControlFamily(HandlerTables& tables);
void RegisterBlobFamily(HandlerTables& tables);
void RegisterExtendedConfigurationFamily(HandlerTables& tables);
} // namespace PyxTest::Sim
