#include "device/name_tables.h"

#include <array>

#include "common/language.h"
#include "common/text_codec.h"

namespace velorin {

namespace {

constexpr const char* kQuantityChinese[kQuantityNameCount] = {
    "无",     "温度", "湿度", "PH值",   "光照", "压力", "电压DC",   "电压AC", "电流DC",
    "电流AC", "脉冲", "计数", "开关量", "CO2",  "雨量", "风速",     "风向",   "噪音",
    "氨",     "EC",   "PPB",  "功率",   "CO",   "O2",   "土壤水分", "水位",   "土壤温度"};

constexpr const char* kQuantityEnglish[kQuantityNameCount] = {
    "无",        "TEMP",  "HUM",   "PH",    "Light", "Pressuue", "VoltageDC",     "VoltageAC",      "CurrentDC",
    "CurrentAC", "Pulse", "Count", "SWITH", "CO2",   "Rainfall", "wind speed",    "Wind direction", "Noise",
    "ammonia",   "EC",    "PPB",   "power", "CO",    "O2",       "soil moisture", "Water level",    "soil TEMP "};

constexpr const char* kUnits[kUnitNameCount] = {
    " ",    "℃",    "×100℃",  "千度",       "％RH", "PH值", "KLux", "MPa",   "KPa",  "hPa",  "Pa",
    "KV",   "V",    "mV",     "A",          "mA",   "次数", "PPM",  "10PPM", "KPPM", "毫米", "米/秒",
    "弧度", "分贝", "us/cm2", "x10 us/cm2", "PPB",  "W",    "KW",   "x10W",  "MW",   "%",    "m"};

template <size_t N>
std::array<std::string, N> ToGbk(const char* const (&table)[N]) {
    std::array<std::string, N> out;
    for (size_t i = 0; i < N; ++i) out[i] = Utf8ToGbk(table[i]);
    return out;
}

const std::string kEmpty;

}  // namespace

const std::string& QuantityName(int quantityCode, Language language) {
    static const auto chinese = ToGbk(kQuantityChinese);
    static const auto englishNames = ToGbk(kQuantityEnglish);
    if (quantityCode < 0 || quantityCode >= kQuantityNameCount) return kEmpty;
    return language == Language::English ? englishNames[quantityCode] : chinese[quantityCode];
}

const std::string& UnitName(int unitCode) {
    static const auto units = ToGbk(kUnits);
    if (unitCode < 0 || unitCode >= kUnitNameCount) return kEmpty;
    return units[unitCode];
}

}  // namespace velorin
