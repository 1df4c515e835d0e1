// The component's conventions: the common error handler, 16-bit counters,
// property values and the date format.
#include <gtest/gtest.h>

#include <stdexcept>

#include "harvestor/service/Clock.h"
#include "harvestor/service/ErrorHandler.h"
#include "harvestor/service/Int16.h"
#include "harvestor/service/Text.h"
#include "harvestor/service/Variant.h"
#include "tests/fakes/TestHost.h"

namespace harvestor {
namespace {

// Reported at every level it passes, raised unchanged; standard exceptions
// become their classic errors.
TEST(ConventionsTest, AnErrorIsReportedAtEveryLevelAndRaisedUnchanged) {
  testing::TestHost host;
  const auto inner = [] { Handled("Inner", "Deep", [] { RaiseError(ErrNo::DivisionByZero); }); };
  EXPECT_EQ(testing::RefusalOf<HError>([&] { Handled("Outer", "Top (Get)", inner); }),
            "Division by zero");
  EXPECT_EQ(testing::ErrorOf([] { Handled("M", "P", [] { throw std::out_of_range("i"); }); }),
            ErrNo::SubscriptOutOfRange);
  EXPECT_EQ(testing::ErrorOf([] { Handled("M", "P", [] { throw std::runtime_error("boom"); }); }),
            ErrNo::InvalidProcedureCall);
  EXPECT_EQ(host.utility.ReportedPlaces(),
            (std::vector<std::string>{"Inner.Deep", "Outer.Top (Get)", "M.P", "M.P"}));
  EXPECT_EQ(host.utility.reported[0].component, "Harvestor");
  EXPECT_EQ(host.utility.reported[1].number, ErrNo::DivisionByZero);
  EXPECT_EQ(host.utility.reported[3].description, "boom");
}

TEST(ConventionsTest, SixteenBitCountersOverflowPast32767AndRoundToEven) {
  EXPECT_EQ(ToInt16(32767), 32767);
  EXPECT_EQ(ToInt16(-32768), -32768);
  EXPECT_EQ(testing::ErrorOf([] { ToInt16(32768); }), ErrNo::Overflow);
  EXPECT_EQ(testing::ErrorOf([] { RoundToInt16(40000); }), ErrNo::Overflow);
  EXPECT_EQ(RoundToInt16(2.5), 2);
  EXPECT_EQ(RoundToInt16(3.5), 4);
}

TEST(ConventionsTest, PropertyValuesConvertAsTheClassicRulesSay) {
  EXPECT_EQ(Variant().ToNumber(), 0.0);
  EXPECT_EQ(Variant::FromNumber(2).ToText(), "2");
  EXPECT_EQ(Variant::FromNumber(0.1).ToText(), "0.1");
  EXPECT_EQ(Variant::FromText(" 4 ").ToNumber(), 4.0);
  EXPECT_EQ(Variant::FromText("").ToNumber(), 0.0);
  EXPECT_FALSE(Variant::FromText("male").ToNumber().has_value());
}

TEST(ConventionsTest, GeneralDateDropsAMidnightTimeAndCountsHoursFrom12) {
  EXPECT_EQ(FormatGeneralDate({2026, 12, 5, 14, 3, 9}), "12/5/2026 2:03:09 PM");
  EXPECT_EQ(FormatGeneralDate({2026, 1, 15, 0, 30, 0}), "1/15/2026 12:30:00 AM");
  EXPECT_EQ(FormatGeneralDate({2026, 1, 15, 12, 0, 1}), "1/15/2026 12:00:01 PM");
  EXPECT_EQ(FormatGeneralDate({2026, 1, 15, 0, 0, 0}), "1/15/2026");
}

}  // namespace
}  // namespace harvestor
