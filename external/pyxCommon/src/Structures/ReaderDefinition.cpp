#include "Structures/ReaderDefinition.h"

const char* ProtocolTypeToString(ProtocolType type)
{
    switch (type)
    {
    case ProtocolType::Invalid:
        return "Invalid";
    case ProtocolType::FeatureReport:
        return "FeatureReport";
    case ProtocolType::Mfp24:
        return "Mfp24";
    case ProtocolType::SerialBinary:
        return "SerialBinary";
    case ProtocolType::Dummy:
        return "Dummy";
    case ProtocolType::UnknownProtocol:
        return "UnknownProtocol";
    }
    return "Unknown";
}
