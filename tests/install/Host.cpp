// A host program built against the installed library: it includes the class interface and public records from
// the install prefix and calls exported code, so a missing header, a missing symbol or a wrong library path
// fails it.
#include <cstdio>
#include <cstring>
#include <memory>
#include <type_traits>
#include <vector>

#include "Exceptions/TessmarException.h"
#include "ProtocolFacadeExports.h"
#include "Reader/LibraryInfo.h"
#include "Reader/Reader.h"
#include "Reader/ReaderCapabilityProfile.h"
#include "Reader/ReaderDiscovery.h"
#include "Structures/ReaderDefinition.h"

// Rules and profiles keep a reference to the metadata record they are built on, so a temporary record, which
// would be gone before the first question, does not compile; a record that lives on does.
static_assert(std::is_constructible_v<Pyx::KeystrokingCapabilityRule, const ReaderMetadataStruct&>);
static_assert(!std::is_constructible_v<Pyx::KeystrokingCapabilityRule, ReaderMetadataStruct>);
static_assert(!std::is_constructible_v<Pyx::CapabilityRule, const ReaderMetadataStruct>);
static_assert(std::is_constructible_v<Pyx::ReaderCapabilityProfile, ReaderMetadataStruct&>);
static_assert(!std::is_constructible_v<Pyx::ReaderCapabilityProfile, ReaderMetadataStruct>);
static_assert(!std::is_constructible_v<Pyx::DefaultReaderCapabilityProfile, ReaderMetadataStruct,
                                       PyxProtocol::ProtocolFacade*>);

// The README's lines for one reader through the class interface.
static void UseOneReader(const PyxCommon::ReaderDefinition& definition)
{
    void* handle = Pyx::AbstractReader::CreateReaderInstance(definition, 3);
    // Every reader is a Pyx::Reader: its operations are members of that class.
    auto reader = std::static_pointer_cast<Pyx::Reader>(Pyx::AbstractReader::AcquireInstance(handle));
    reader->Init();
    PyxProtocol::BeepVolume volume{};
    reader->GetBeeperVolume(volume);
    reader.reset();
    Pyx::AbstractReader::DestroyInstance(handle);
}

int main()
{
    PyxCommon::ReaderDefinition definition{};
    definition.ProtocolType = ProtocolType::SerialBinary;
    std::strcpy(definition.SerialPortSettings.PortName, "ttyUSB0");
    if (std::strcmp(ProtocolTypeToString(definition.ProtocolType), "SerialBinary") != 0)
    {
        std::puts("wrong protocol name");
        return 1;
    }
    try
    {
        throw TessmarException("host", "Host.cpp", 1, "main");
    }
    catch (const TessmarException& e)
    {
        if (e.GetExceptionType() != "TessmarException" || e.GetMessage() != "host")
        {
            std::puts("wrong exception fields");
            return 1;
        }
    }
    // The class interface's headers compile on their own from the prefix (PyxResult comes with the function
    // that returns it), and its code links.
    Pyx::LibraryInfo info{};
    const PyxResult result = Pyx::AbstractReader::GetLibraryInfo(info);
    if (result.ResultCode != 0 || std::strcmp(info.LibraryName, "Velmora Library") != 0)
    {
        std::puts("wrong library information");
        return 1;
    }
    // The flat discovery, in its two calls: how many, then the records (none where no reader is attached).
    std::size_t count = 0;
    const ProtocolCommandResult found = DiscoverUsbReaders(nullptr, &count);
    // Room for that many records, and never a null array, which would count again instead of copying.
    std::vector<PyxCommon::ReaderDefinition> readers(count > 0 ? count : 1);
    const ProtocolCommandResult copied = DiscoverUsbReaders(readers.data(), &count);
    if (found.HasException || copied.HasException)
    {
        std::printf("discovery failed: %s%s\n", found.Message, copied.Message);
        return 1;
    }
    std::printf("%zu reader(s) discovered\n", count);
    for (const PyxCommon::ReaderDefinition& attached : Pyx::ReaderDiscovery::DiscoverUsbReaders())
    {
        UseOneReader(attached);
    }
    std::puts("host ok");
    return 0;
}
