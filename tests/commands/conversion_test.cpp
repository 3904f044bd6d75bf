// Conversions between values, texts, numbers and byte sets.
#include "commands/conversion.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace glyvora {
namespace {

// An automation date from a day number and a time of day.
DateTime at(double day, int hour = 0, int minute = 0, double second = 0) {
    return DateTime{day + (hour * 3600 + minute * 60 + second) / 86400.0};
}

constexpr double kMarch15th2023 = 45000;

TEST(ToText, integersInDecimalWithAByteAsUnsigned) {
    EXPECT_EQ(ToText(Value::byte(200)), "200");
    EXPECT_EQ(ToText(Value::shortInteger(-3)), "-3");
    EXPECT_EQ(ToText(std::int32_t{-2147483647 - 1}), "-2147483648");
    EXPECT_EQ(ToText(std::int64_t{1} << 40), "1099511627776");
}

TEST(ToText, floatsWithSixAndDoublesWithThirteenDigits) {
    EXPECT_EQ(ToText(0.1f), "0.1");
    EXPECT_EQ(ToText(1234567.0f), "1.23457e+06");
    EXPECT_EQ(ToText(0.1), "0.1");
    EXPECT_EQ(ToText(1.0 / 3), "0.3333333333333");
    EXPECT_EQ(ToText(16777215.0), "16777215");
    EXPECT_EQ(ToText(1e15), "1e+15");
    EXPECT_EQ(ToText(-2.5), "-2.5");
}

TEST(ToText, booleansTextsByteSetsAndOmittedValues) {
    EXPECT_EQ(ToText(true), "真");
    EXPECT_EQ(ToText(false), "假");
    EXPECT_EQ(ToText("宋体"), "宋体");
    EXPECT_EQ(ToText(ByteSet{0x41, 0x42, 0x00, 0x43}), "AB");
    EXPECT_EQ(ToText(ByteSet{}), "");
    EXPECT_EQ(ToText(Value()), "");
}

TEST(ToText, dateTimeShowsOnlyTheTimePartsThatAreSet) {
    EXPECT_EQ(ToText(at(0)), "1899年12月30日");
    EXPECT_EQ(ToText(at(kMarch15th2023)), "2023年3月15日");
    EXPECT_EQ(ToText(at(kMarch15th2023, 12)), "2023年3月15日12时");
    EXPECT_EQ(ToText(at(kMarch15th2023, 12, 30)), "2023年3月15日12时30分");
    EXPECT_EQ(ToText(at(kMarch15th2023, 12, 30, 5)), "2023年3月15日12时30分5秒");
    EXPECT_EQ(ToText(at(kMarch15th2023, 12, 0, 5)), "2023年3月15日12时0分5秒");
    EXPECT_EQ(ToText(at(kMarch15th2023, 0, 0, 5)), "2023年3月15日0时0分5秒");
}

TEST(ToText, dateTimeRoundsToTheSecondAndKeepsToItsRange) {
    EXPECT_EQ(ToText(at(kMarch15th2023, 23, 59, 59.6)), "2023年3月16日");
    EXPECT_EQ(ToText(at(kMarch15th2023, 8, 0, 0.4)), "2023年3月15日8时");
    // Before day 0 the fraction still counts forward from midnight.
    EXPECT_EQ(ToText(DateTime{-1.25}), "1899年12月29日6时");
    EXPECT_EQ(ToText(DateTime{-657434}), "100年1月1日");
    EXPECT_EQ(ToText(DateTime{2958465}), "9999年12月31日");
    EXPECT_EQ(ToText(DateTime{-1e300}), "100年1月1日");
    EXPECT_EQ(ToText(DateTime{1e300}), "9999年12月31日23时59分59秒");
    EXPECT_EQ(ToText(DateTime{std::nan("")}), "1899年12月30日");
}

TEST(ToNumber, readsFullWidthDigitsSignsAndPoint) {
    EXPECT_EQ(ToNumber("１２３"), 123);
    EXPECT_EQ(ToNumber("\xA3\xB1\xA3\xB2\xA3\xB3"), 123);
    EXPECT_EQ(ToNumber("－１２．５"), -12.5);
    EXPECT_EQ(ToNumber("＋７"), 7);
    EXPECT_EQ(ToNumber("　３"), 3);
    EXPECT_EQ(ToNumber("1２"), 12);
}

TEST(ToNumber, readsTheLeadingDecimalNumberAndOtherwiseGivesZero) {
    EXPECT_EQ(ToNumber("16777215"), 16777215);
    EXPECT_EQ(ToNumber("  42 "), 42);
    EXPECT_EQ(ToNumber("+7"), 7);
    EXPECT_EQ(ToNumber(".5"), 0.5);
    EXPECT_EQ(ToNumber("5."), 5);
    EXPECT_EQ(ToNumber("1e3"), 1000);
    EXPECT_EQ(ToNumber("2E-1x"), 0.2);
    EXPECT_EQ(ToNumber("1e"), 1);
    EXPECT_EQ(ToNumber("3页"), 3);
    EXPECT_EQ(ToNumber(""), 0);
    EXPECT_EQ(ToNumber("abc"), 0);
    EXPECT_EQ(ToNumber("-"), 0);
    EXPECT_EQ(ToNumber("."), 0);
    EXPECT_EQ(ToNumber("0x10"), 0);
    EXPECT_EQ(ToNumber("inf"), 0);
    EXPECT_EQ(ToNumber("页3"), 0);
}

TEST(ToNumber, widensNumbersAndGivesZeroForDatesAndOmittedValues) {
    EXPECT_EQ(ToNumber(Value::byte(255)), 255);
    EXPECT_EQ(ToNumber(std::int32_t{-5}), -5);
    EXPECT_EQ(ToNumber(std::int64_t{1} << 40), 1099511627776.0);
    EXPECT_EQ(ToNumber(2.5f), 2.5);
    EXPECT_EQ(ToNumber(true), 1);
    EXPECT_EQ(ToNumber(false), 0);
    EXPECT_EQ(ToNumber(at(kMarch15th2023)), 0);
    EXPECT_EQ(ToNumber(Value()), 0);
}

TEST(IntegerPart, roundsDownAfterSnappingNearIntegersAwayFromZero) {
    EXPECT_EQ(IntegerPart(7.5), 7);
    EXPECT_EQ(IntegerPart(-7.5), -8);
    EXPECT_EQ(IntegerPart(3.0), 3);
    EXPECT_EQ(IntegerPart(-0.5), -1);
    EXPECT_EQ(IntegerPart(2.9999999999999), 3);
    EXPECT_EQ(IntegerPart(-2.9999999999999), -3);
    EXPECT_EQ(IntegerPart(0.9999999999995), 1);
    EXPECT_EQ(IntegerPart(2.99999), 2);
    EXPECT_EQ(IntegerPart(-2.99999), -3);
    EXPECT_EQ(IntegerPart(9.0 / 8), 1);
}

TEST(IntegerPart, stopsAtTheEndsOfTheIntegerRange) {
    EXPECT_EQ(IntegerPart(1e300), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(IntegerPart(-1e300), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(IntegerPart(-2147483648.0), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(IntegerPart(2147483646.5), 2147483646);
    EXPECT_EQ(IntegerPart(std::nan("")), 0);
}

TEST(ToBytes, givesEachValuesOwnBytes) {
    EXPECT_EQ(ToBytes("ab"), (ByteSet{0x61, 0x62}));
    EXPECT_EQ(ToBytes(""), ByteSet{});
    EXPECT_EQ(ToBytes(std::int32_t{0x01020304}), (ByteSet{4, 3, 2, 1}));
    EXPECT_EQ(ToBytes(Value::byte(7)), ByteSet{7});
    EXPECT_EQ(ToBytes(Value::shortInteger(-2)), (ByteSet{0xFE, 0xFF}));
    EXPECT_EQ(ToBytes(std::int64_t{1}).size(), 8u);
    EXPECT_EQ(ToBytes(1.0f), (ByteSet{0x00, 0x00, 0x80, 0x3F}));
    EXPECT_EQ(ToBytes(1.0), (ByteSet{0, 0, 0, 0, 0, 0, 0xF0, 0x3F}));
    EXPECT_EQ(ToBytes(true), (ByteSet{1, 0, 0, 0}));
    EXPECT_EQ(ToBytes(ByteSet{9, 0, 8}), (ByteSet{9, 0, 8}));
    EXPECT_EQ(ToBytes(Value()), ByteSet{});
}

TEST(ToBytes, anArrayGivesTheBytesOfAllItsElementsInOrder) {
    EXPECT_EQ(ToBytes(std::vector<Value>{std::int32_t{1}, Value::byte(2), std::int32_t{-1}}),
              (ByteSet{1, 0, 0, 0, 2, 0xFF, 0xFF, 0xFF, 0xFF}));
    EXPECT_EQ(ToBytes(std::vector<Value>{}), ByteSet{});
}

TEST(ByteCommands, zeroBytesAndBitOr) {
    EXPECT_EQ(ZeroBytes(3), (ByteSet{0, 0, 0}));
    EXPECT_EQ(ZeroBytes(0), ByteSet{});
    EXPECT_EQ(ZeroBytes(-4), ByteSet{});
    EXPECT_EQ(BitOr(1, 2, 4), 7);
    EXPECT_EQ(BitOr(0x10), 0x10);
    EXPECT_EQ(BitOr(0x80000000u, 1), std::numeric_limits<std::int32_t>::min() + 1);
}

} // namespace
} // namespace glyvora
