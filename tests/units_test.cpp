#include "core/units.h"

#include <gtest/gtest.h>

#include <ostream>

#include <optional>

using namespace dielektra;

namespace {

struct LookupCase {
    const char *name;
    friend std::ostream &operator<<(std::ostream &out, const LookupCase &row)
    {
        return out << row.name;
    }
    const UnitFamily *family;
    const char *text;
    std::optional<double> factor;
};

class FactorOfTest : public testing::TestWithParam<LookupCase> {};

TEST_P(FactorOfTest, MatchesOnlyTheExactLabel)
{
    const auto &row = GetParam();
    EXPECT_EQ(FactorOf(*row.family, row.text), row.factor);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, FactorOfTest,
    testing::Values(LookupCase{"KiloWithCapitalK", &VoltageUnits, "KV", 1e3},
                    LookupCase{"KiloWithSmallKIsUnknown", &VoltageUnits, "kV", std::nullopt},
                    LookupCase{"MilliWithPeriod", &VoltageUnits, "mV.", 1e-3},
                    LookupCase{"MilliWithoutPeriodIsUnknown", &VoltageUnits, "mV", std::nullopt},
                    LookupCase{"Tera", &VoltageUnits, "TV", 1e12},
                    LookupCase{"MegaFarad", &CapacityUnits, "MF", 1e6},
                    LookupCase{"BaseUnit", &VoltageUnits, "V", 1.0},
                    LookupCase{"TrailingBlank", &VoltageUnits, "V ", std::nullopt},
                    LookupCase{"LeadingBlank", &VoltageUnits, " V", std::nullopt},
                    LookupCase{"Empty", &VoltageUnits, "", std::nullopt},
                    LookupCase{"LowerCaseBase", &VoltageUnits, "v", std::nullopt},
                    LookupCase{"ChargeLabelInVoltageList", &VoltageUnits, "KC", std::nullopt},
                    LookupCase{"ChargeLabelInChargeList", &ChargeUnits, "KC", 1e3},
                    LookupCase{"MicroSignIsUnknown", &VoltageUnits, "\xC2\xB5V", std::nullopt},
                    LookupCase{"MicroWithU", &CapacityUnits, "uF", 1e-6},
                    LookupCase{"Pico", &CapacityUnits, "pF", 1e-12},
                    LookupCase{"OhmIsCapitalO", &ResistanceUnits, "MO", 1e6},
                    LookupCase{"OhmSignIsUnknown", &ResistanceUnits, "M\xCE\xA9", std::nullopt},
                    LookupCase{"MilliOhm", &ResistanceUnits, "mO.", 1e-3}),
    [](const auto &info) { return std::string(info.param.name); });

} // namespace
