// Names of measured quantities and units, indexed by a channel's quantityCode and unitCode.
// Texts are GBK. Indexing is direct: callers that clamp out-of-range codes (the property panel)
// do so themselves; a code without an entry gives an empty text.
#pragma once

#include <string>

namespace velorin {

enum class Language;

constexpr int kQuantityNameCount = 27;  // codes 0..26
constexpr int kUnitNameCount = 33;      // codes 0..32

const std::string& QuantityName(int quantityCode, Language language);
const std::string& UnitName(int unitCode);

// Quantity codes whose unit codes are offset by 32 (AC voltage and AC current).
constexpr int kQuantityVoltageAc = 7;
constexpr int kQuantityCurrentAc = 9;

}  // namespace velorin
