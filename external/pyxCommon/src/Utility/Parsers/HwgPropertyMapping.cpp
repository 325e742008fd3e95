#include "Utility/Parsers/HwgPropertyMapping.h"

#include <array>
#include <cstdint>
#include <string_view>

#include "Utility/StringUtils.h"

namespace PyxCommon
{
namespace
{
using Config = ReaderConfiguration;

// How a property's value text maps onto its field.
enum class Form
{
    Flag,     // "1" or "0"; any non-zero byte is written as "1"
    Number,   // unsigned decimal
    Count,    // written as a number, ignored when read: the characters that follow set it
    Character // leading, trailing or card-gone character: written at its slot, read by appending
};

using FieldReader = std::uint32_t (*)(const Config&);
using FieldWriter = void (*)(Config&, int);

template <typename Setter> struct SetterArgument;
template <typename Arg> struct SetterArgument<Config& (Config::*)(Arg)>
{
    using Type = Arg;
};

template <auto Getter> std::uint32_t Read(const Config& config)
{
    return static_cast<std::uint32_t>((config.*Getter)());
}

// The parsed value goes to the field's own setter in the setter's own width: setters that test a range or a
// step take it whole as an unsigned 32-bit number (so minus four fails their test), the others keep its
// low bits.
template <auto Setter> void Write(Config& config, int value)
{
    (config.*Setter)(static_cast<typename SetterArgument<decltype(Setter)>::Type>(value));
}

template <std::size_t K> std::uint32_t LeadingAt(const Config& config)
{
    return config.GetLeadingCharacter(K);
}
template <std::size_t K> std::uint32_t TrailingAt(const Config& config)
{
    return config.GetTrailingCharacter(K);
}
template <std::size_t K> std::uint32_t CardGoneAt(const Config& config)
{
    return config.GetCardGoneCharacters()[K];
}
void AddLeading(Config& config, int value)
{
    config.AddLeadingCharacter(static_cast<char>(static_cast<std::uint8_t>(value)));
}
void AddTrailing(Config& config, int value)
{
    config.AddTrailingCharacter(static_cast<char>(static_cast<std::uint8_t>(value)));
}
void AddCardGone(Config& config, int value)
{
    config.AddCardGoneCharacter(static_cast<std::uint8_t>(value));
}

struct Row
{
    std::string_view Block;
    std::string_view Name;
    std::string_view Description;
    Form ValueForm;
    FieldReader Get;
    FieldWriter Set; // null for the counts
};

#define PYX_FLAG(block, name, description, field)                                                            \
    Row                                                                                                      \
    {                                                                                                        \
        block, name, description, Form::Flag, &Read<&Config::Get##field>, &Write<&Config::Set##field>        \
    }
#define PYX_NUMBER(block, name, description, field)                                                          \
    Row                                                                                                      \
    {                                                                                                        \
        block, name, description, Form::Number, &Read<&Config::Get##field>, &Write<&Config::Set##field>      \
    }

// Blocks and properties in file order; the reader matches lines by prefix in this same order.
constexpr std::array kRows = {
    PYX_FLAG("AZERTYShiftLock", "AZERTYShiftlock", "0= off, 1 = on", AzertyKeyboardShift),
    PYX_FLAG("ExtendedPrecisionMath", "ExtendedPrecisionMath", "0= off, 1 = on", EnableFacExtendedPrecision),
    PYX_NUMBER("tsIDBitCnts", "iLeadParityBitCnt", "Wiegand Leading Parity bit count to be stripped",
               TotalStripLeadingParityCount),
    PYX_NUMBER("tsIDBitCnts", "iTrailParityBitCnt", "Wiegand Trailing Parity bit count to be stripped",
               TotalStripTrailingParityCount),
    PYX_NUMBER("tsIDBitCnts", "iIDBitCnt", "if bStripFac, this determines bit count of ID and FAC",
               IdBitCount),
    PYX_NUMBER("tsIDBitCnts", "iTotalBitCnt", "if bFrcBitCntEx, card read (including parity) must match this",
               ExpectedBitCount),
    PYX_FLAG("tsCfgFlags", "bFixLenDsp", "Send as fixed length with leading zeros as needed",
             UseFixedLengthForFacAndId),
    PYX_FLAG("tsCfgFlags", "bFrcBitCntEx", "Force Rx'd bit count to be exact to be valid",
             EnforceExpectedBitCount),
    PYX_FLAG("tsCfgFlags", "bStripFac", "Strip the FAC from the ID (not discarded)", StripFacFromId),
    PYX_FLAG("tsCfgFlags", "bSndFac", "Send the FAC (if stripped from data)", SendFacAfterStrippingIt),
    PYX_FLAG("tsCfgFlags", "bUseDelFac2Id", "Put a delimiter between FAC and ID on send",
             UseIdAndFacDelimiter),
    PYX_FLAG("tsCfgFlags", "bNoUseELChar", "Don't use a EndLine char on send (default to ENTER)",
             DisableKeystrokeTerminationCharacter),
    PYX_FLAG("tsCfgFlags", "bSndOnRx",
             "Send valid ID as soon as it is received (iIDLockOutTm timer not used)", EnableContinuousRead),
    PYX_FLAG("tsCfgFlags", "bHaltKBSnd", "Don't Send keys to USB (Get ID mechanism)", DisableKeystroking),
    PYX_NUMBER("tsIDDispParms", "iFACIDDelim",
               "if bStripFac & bSndFac & bUseDelFac2Id, this char sent between FAC & ID", IdAndFacDelimiter),
    PYX_NUMBER("tsIDDispParms", "iELDelim", "if NOT bNoUseELChar, this char sent at end of ID",
               TerminationCharacter),
    PYX_NUMBER("tsIDDispParms", "iIDDispLen", "if bFixLenDsp, ID padded with zeros to this length",
               IdDigitCount),
    PYX_NUMBER("tsIDDispParms", "iFACDispLen", "if bFixLenDsp, FAC padded with zeros to this length",
               FacDigitCount),
    PYX_FLAG("tsIDDispParms", "iExOutputFormat", "0 = Data Format Mode, 1 = Extended Mode",
             EnableExtendedMode),
    PYX_NUMBER("tsTimeParms", "iBitStrmTO", "Wiegand read times out after this msec time (4msec gran.)",
               LegacyBitStreamTimeOutMs),
    PYX_NUMBER("tsTimeParms", "iIDHoldTO", "Card ID remains valid for this msec time (50msec gran.)",
               DataHoldTimeMs),
    PYX_NUMBER("tsTimeParms", "iIDLockOutTm",
               "Squelch repetitive reader reports (usually > 1000) in msec (50msec gran.)", LockOutTimeMs),
    PYX_NUMBER("tsTimeParms", "iUSBKeyPrsTm", "Sets USB inter-key 'Press' time in msecs (4msec gran.)",
               KeyPressTimeMs),
    PYX_NUMBER("tsTimeParms", "iUSBKeyRlsTm", "Sets USB inter-key 'Release' time in msecs (4msec gran.)",
               KeyReleaseTimeMs),
    PYX_FLAG("tsCfgFlags2", "bUseLeadChrs", "Use leading chars in ID KB send", UseLeadingCharacters),
    PYX_FLAG("tsCfgFlags2", "bDspHex", "Display ID as ASCII Hex [not ASCII decimal]",
             UseHexadecimalForBothFacAndId),
    PYX_FLAG("tsCfgFlags2", "bWiegInvData", "Wiegand data on pins is inverted", InvertWiegandBits),
    PYX_FLAG("tsCfgFlags2", "bUseInvDataF", "use the bWiegInvData flag over hardware setting", UseDataInvert),
    PYX_FLAG("tsCfgFlags2", "bRevWiegBits", "Reverse the Wiegand Rx bits", ReverseWiegandBits),
    PYX_FLAG("tsCfgFlags2", "bBeepID", "Beep when ID received", EnableBeepOnCardRead),
    PYX_FLAG("tsCfgFlags2", "bRevBytes", "Reverse byte order (CSN reader)", ReverseWiegandBytes),
    PYX_FLAG("tsCfgFlags3", "bUseNumKP", "Euro KB flag", UseNumericKeypad),
    PYX_FLAG("tsCfgFlags3", "bSndSFON", "Split format ON = 1, old combined scheme = 0",
             UseIndividualIdAndFacNumberFormats),
    PYX_FLAG("tsCfgFlags3", "bSndSFFC", "0 = FAC Decimal, 1 = FAC Hex", EnableHexadecimalFac),
    PYX_FLAG("tsCfgFlags3", "bSndSFID", "0 = ID Decimal, 1 = ID Hex", EnableHexadecimalId),
    PYX_FLAG("tsCfgFlags3", "bPrxProEm", "Use ProxPro emulation", EnableProxProEmulation),
    PYX_FLAG("tsCfgFlags3", "bUse64Bit", "0 = 32-bit, 1 = 64-bit Display Math", EnableIdExtendedPrecision),
    PYX_FLAG("tsCfgFlags3", "bNotBootDev", "USB Enum: 0=BootDevice, 1=NOTBootDevice", NotBootDevice),
    PYX_FLAG("tsCfgFlags3", "bLowerCaseHex", "0= Upper case , 1= Lower case", UseLowercaseHex),
    Row{"tsIDDispParms2", "iLeadChrCnt", "if bUseLeadChrs, this contains the lead char count (<=3)",
        Form::Count, &Read<&Config::GetLeadingCharacterCount>, nullptr},
    Row{"tsIDDispParms2", "iLeadChr0", "these lead characters are filled in (up to 3)", Form::Character,
        &LeadingAt<0>, &AddLeading},
    Row{"tsIDDispParms2", "iLeadChr1", "", Form::Character, &LeadingAt<1>, &AddLeading},
    Row{"tsIDDispParms2", "iLeadChr2", "", Form::Character, &LeadingAt<2>, &AddLeading},
    Row{"tsIDDispParms2", "iCrdGnChr0", "if non-zero, sent when ID goes Invalid", Form::Character,
        &CardGoneAt<0>, &AddCardGone},
    Row{"tsIDDispParms2", "iCrdGnChr1", "if this and Chr0 non-zero, sent when ID goes Invalid",
        Form::Character, &CardGoneAt<1>, &AddCardGone},
    Row{"tsIDDispParms3", "iTrailChrCnt", "this contains the trail char count (<=3)", Form::Count,
        &Read<&Config::GetTrailingCharacterCount>, nullptr},
    Row{"tsIDDispParms3", "iTrailChr0", "these trail characters are filled in (up to 3)", Form::Character,
        &TrailingAt<0>, &AddTrailing},
    Row{"tsIDDispParms3", "iTrailChr1", "NOTE: LeadChrCnt + TrailCheCnt <= 3", Form::Character,
        &TrailingAt<1>, &AddTrailing},
    Row{"tsIDDispParms3", "iTrailChr2", "LeadChrs have priority", Form::Character, &TrailingAt<2>,
        &AddTrailing},
    PYX_FLAG("tsLEDCtrl", "bAppCtrlsLED", "Display LEDs are controlled by user thru this DLL",
             EnabledSoftwareControlledLed),
    PYX_FLAG("tsLEDCtrl", "iRedLEDState", "0 == Off, 1 == On", EnableRedLed),
    PYX_FLAG("tsLEDCtrl", "iGrnLEDState", "0 == Off, 1 == On", EnableGreenLed),
    PYX_FLAG("tsBprRlyCtrl", "iBeeperState", "0 == Off, 1 == On", EnableOemBeeper),
    PYX_FLAG("tsBprRlyCtrl", "iRelayState", "0 == Off, 1 == On", EnableOemRelay),
    PYX_NUMBER("", "CardType", "Card type code", CardType),
    PYX_FLAG("", "CardPriority", "0=Low, 1=High Priority", HighPriorityCardType),
};

#undef PYX_FLAG
#undef PYX_NUMBER

constexpr std::size_t CountBlocks()
{
    std::size_t blocks = 0;
    for (std::size_t i = 0; i < kRows.size(); ++i)
    {
        blocks += (i == 0 || kRows[i].Block != kRows[i - 1].Block) ? 1 : 0;
    }
    return blocks;
}

// A block's rows stand together, so a title never reappears after another block.
constexpr bool BlocksAreContiguous()
{
    for (std::size_t i = 1; i < kRows.size(); ++i)
    {
        if (kRows[i].Block == kRows[i - 1].Block)
        {
            continue;
        }
        for (std::size_t j = 0; j < i; ++j)
        {
            if (kRows[j].Block == kRows[i].Block)
            {
                return false;
            }
        }
    }
    return true;
}

// Lines are matched by prefix, so no name may start another.
constexpr bool NamesArePrefixFree()
{
    for (const Row& a : kRows)
    {
        for (const Row& b : kRows)
        {
            if (&a != &b && b.Name.starts_with(a.Name))
            {
                return false;
            }
        }
    }
    return true;
}

static_assert(kRows.size() == 56);
static_assert(CountBlocks() == 13);
static_assert(BlocksAreContiguous());
static_assert(NamesArePrefixFree());
// With contiguous blocks, this makes the untitled block the only one and the last.
static_assert(kRows.back().Block.empty());

HwgProperty MakeProperty(const Row& row)
{
    HwgProperty property{std::string(row.Name), std::string(row.Description), {}, {}};
    const FieldReader get = row.Get;
    const FieldWriter set = row.Set;
    switch (row.ValueForm)
    {
    case Form::Flag:
        property.Getter = [get](const Config& config) { return std::string(get(config) != 0 ? "1" : "0"); };
        property.Setter = [set](Config& config, const std::string& text)
        { set(config, StringUtils::ParseBool(text) ? 1 : 0); };
        break;
    case Form::Count:
        property.Getter = [get](const Config& config) { return std::to_string(get(config)); };
        property.Setter = [](Config&, const std::string&) {};
        break;
    case Form::Number:
    case Form::Character:
        property.Getter = [get](const Config& config) { return std::to_string(get(config)); };
        property.Setter = [set](Config& config, const std::string& text)
        { set(config, StringUtils::ParseInt(text, 10)); };
        break;
    }
    return property;
}
} // namespace

const std::vector<HwgPropertyBlock> HwgPropertyMapping::PropertyBlocks =
    HwgPropertyMapping::createPropertyMappings();

std::vector<HwgPropertyBlock> HwgPropertyMapping::createPropertyMappings()
{
    std::vector<HwgPropertyBlock> blocks;
    for (std::size_t i = 0; i < kRows.size(); ++i)
    {
        if (i == 0 || kRows[i].Block != kRows[i - 1].Block)
        {
            blocks.push_back({std::string(kRows[i].Block), {}});
        }
        blocks.back().Properties.push_back(MakeProperty(kRows[i]));
    }
    return blocks;
}
} // namespace PyxCommon
