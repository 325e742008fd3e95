#pragma once

#include <functional>
#include <string>
#include <vector>

#include "Structures/Configuration.h"

// One named value of a .hwg file and how it maps onto a reader configuration.
struct HwgProperty
{
    std::string Name;
    std::string Description; // written after the value; may be empty
    // Applies a value text, already cut out of its line and trimmed; throws when the text is refused.
    std::function<void(PyxCommon::ReaderConfiguration&, const std::string&)> Setter;
    std::function<std::string(const PyxCommon::ReaderConfiguration&)> Getter;
};

namespace PyxCommon
{
using ::HwgProperty;

struct HwgPropertyBlock
{
    std::string Name; // empty for the untitled block, which is the last
    std::vector<HwgProperty> Properties;
};

// The fixed table behind the property lines of a .hwg file: built once at load, read-only afterwards.
class HwgPropertyMapping
{
public:
    HwgPropertyMapping() = delete;

    static const std::vector<HwgPropertyBlock> PropertyBlocks;

private:
    static std::vector<HwgPropertyBlock> createPropertyMappings();
};
} // namespace PyxCommon
