#pragma once

// Everything the declarations of the reader operations name (Reader/Reader.h).

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "CardTypes/CardType.h"
#include "Operations/Beeper.h"
#include "Operations/CardData.h"
#include "Operations/Identification.h"
#include "Operations/ModuleState.h"
#include "Operations/TransparentMode.h"
#include "Reader/CheckpointType.h"
#include "Reader/LedConfiguration.h"
#include "Structures/BleConfiguration.h"
#include "Structures/Configuration.h"
#include "Structures/ExtendedConfiguration.h"
#include "Structures/ReaderDefinition.h"
#include "Structures/SmartCardConfiguration.h"
