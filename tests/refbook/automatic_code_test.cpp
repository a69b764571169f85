#include "refbook/automatic_code.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "refbook/book_records.h"
#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

using Record = std::vector<std::uint8_t>;

Record Blank(int table) { return Record(static_cast<std::size_t>(BookRecordLength(table)), 0); }

TEST(AutomaticCodeTest, SearchWidths) {
  EXPECT_EQ(CodeSearchWidth(book::kBreakerTable), 6);
  EXPECT_EQ(CodeSearchWidth(book::kCableTable), 8);
  EXPECT_EQ(CodeSearchWidth(book::kMechanismTable), 8);
  EXPECT_EQ(CodeSearchWidth(book::kTemplateTable), 0);
  EXPECT_EQ(CodeSearchWidth(book::kRelayTable), 0);
  EXPECT_EQ(CodeSearchWidth(book::kBreakerSeriesTable), 0);
  EXPECT_EQ(CodeSearchWidth(7), 0);
  Record relay = Blank(book::kRelayTable);
  EXPECT_EQ(ComposedCode(book::kRelayTable, relay, 55), 0);
}

TEST(AutomaticCodeTest, BreakerFields) {
  Record record = Blank(book::kBreakerTable);
  book::BreakerRec breaker(record);
  breaker.SetSeria(3);
  breaker.SetUnom(380);    // V-index 4
  breaker.SetInom(100);    // I-index 21
  breaker.SetIswitch(10);  // 10000 A: I-index 41
  EXPECT_EQ(ComposedCode(book::kBreakerTable, record, 0), 3 << 23 | 4 << 18 | 21 << 12 | 41 << 6);
  // A series code wider than its eight bits is masked, never spilling into bit 31.
  breaker.SetSeria(0x1FF);
  EXPECT_EQ(ComposedCode(book::kBreakerTable, record, 0) >> 23, 0xFF);
}

TEST(AutomaticCodeTest, TripUnitTakesLastAndFirstRatedCurrents) {
  Record record = Blank(book::kTripUnitTable);
  book::TripUnitRec unit(record);
  unit.SetSeria(2);
  unit.SetInom({100, 160, 250});
  EXPECT_EQ(ComposedCode(book::kTripUnitTable, record, 0), 2 << 23 | 25 << 17 | 21 << 11);
  unit.SetInom({100});
  EXPECT_EQ(ComposedCode(book::kTripUnitTable, record, 0), 2 << 23 | 21 << 17 | 21 << 11);
}

TEST(AutomaticCodeTest, CableAndBrandStartFromTheirStartValue) {
  Record brand = Blank(book::kCableBrandTable);
  book::CableBrandRec(brand).SetFlags(0xC8);
  EXPECT_EQ(ComposedCode(book::kCableBrandTable, brand, 3), 0xC80003);
  // A start value with bit 31 set still gives no negative code.
  EXPECT_GE(ComposedCode(book::kCableBrandTable, brand, -1), 0);

  Record record = Blank(book::kCableTable);
  book::CableRec cable(record);
  cable.SetUnom(1000);  // V-index 7
  cable.SetCondCount(4);
  cable.SetCrossCectF(95);  // F-index 12
  EXPECT_EQ(ComposedCode(book::kCableTable, record, 0xC80003),
            7 << 24 | 0xC80003 | 4 << 13 | 12 << 8);
  cable.SetCondCount(9);  // three bits: 1
  EXPECT_EQ((ComposedCode(book::kCableTable, record, 0) >> 13) & 7, 1);
}

TEST(AutomaticCodeTest, TransformerLetters) {
  Record record = Blank(book::kTransformerTable);
  book::TransformerRec transformer(record);
  transformer.SetType("ТМ");
  transformer.SetSnom(630);  // P-index 20
  transformer.SetUv(10);     // 10000 V: index 10
  transformer.SetUn(0.4f);   // 400 V: tie 380 / 420, index 5
  EXPECT_EQ(ComposedCode(book::kTransformerTable, record, 0),
            10 << 26 | 20 << 20 | 5 << 16 | 1 << 14 | 3 << 10);
  transformer.SetType("ОСН");
  EXPECT_EQ((ComposedCode(book::kTransformerTable, record, 0) >> 10) & 0x3F, 2 << 4 | 1);
}

TEST(AutomaticCodeTest, MotorsSortByTheirOwnLetterFirst) {
  Record record = Blank(book::kSynchronousMachineTable);
  book::SynchronousMachineRec machine(record);
  machine.SetType("СДН");
  machine.SetUnom(6000);   // V-index 9
  machine.SetPnom(100);    // round(4.48 ln 100) = 21
  machine.SetSpeed(1500);  // 2
  const std::int32_t own = ComposedCode(book::kSynchronousMachineTable, record, 0);
  EXPECT_EQ(own, 9 << 27 | 0xC4 << 18 | 21 << 12 | 2 << 7);  // 0xC4: Д
  machine.SetType("ДС");
  EXPECT_EQ(ComposedCode(book::kSynchronousMachineTable, record, 0),
            9 << 27 | 1 << 26 | 0xC4 << 18 | 21 << 12 | 2 << 7);

  Record motorBytes = Blank(book::kAsyncMotorTable);
  book::AsyncMotorRec motor(motorBytes);
  motor.SetType("AИР");  // Latin A counts as the own letter
  EXPECT_EQ((ComposedCode(book::kAsyncMotorTable, motorBytes, 0) >> 18) & 0x1FF, 0xC8);  // И
  motor.SetType("4А");
  EXPECT_EQ((ComposedCode(book::kAsyncMotorTable, motorBytes, 0) >> 18) & 0x1FF, 0x100 | '4');
}

TEST(AutomaticCodeTest, HostileMachineNumbers) {
  Record record = Blank(book::kGeneratorTable);
  book::GeneratorRec generator(record);
  for (float value : {1e-30f, 1e30f, std::numeric_limits<float>::infinity(),
                      std::numeric_limits<float>::quiet_NaN(), -5.0f, 0.5f}) {
    generator.SetPnom(value);
    generator.SetSpeed(value);
    generator.SetUnom(value);
    EXPECT_GE(ComposedCode(book::kGeneratorTable, record, 0), 0) << value;
  }
  generator.SetPnom(0.5f);  // below 1: no power field
  generator.SetSpeed(0);
  generator.SetUnom(0);
  EXPECT_EQ(ComposedCode(book::kGeneratorTable, record, 0), 1 << 27);
  // A short record reads as zeros.
  EXPECT_EQ(ComposedCode(book::kGeneratorTable, Record(3, 0xFF), 0), 1 << 27);
}

TEST(AutomaticCodeTest, NamedTablesUseTheirCharacters) {
  Record record = Blank(book::kMechanismTable);
  book::MechanismRec(record).SetMechType("Нас");
  EXPECT_EQ(ComposedCode(book::kMechanismTable, record, 0), 0xCD << 23 | 0xE0 << 15 | 0xF1 << 7);

  Record fuse = Blank(book::kFuseTable);
  book::FuseRec(fuse).SetType("П");
  book::FuseRec(fuse).SetInom(63);  // I-index 19
  EXPECT_EQ(ComposedCode(book::kFuseTable, fuse, 0), 0xCF << 23 | 19 << 8);

  Record bank = Blank(book::kCapacitorBankTable);
  book::CapacitorBankRec capacitor(bank);
  capacitor.SetType("КС");
  capacitor.SetUnom(380);   // V-index 4
  capacitor.SetCnom(1000);  // 0.31416 * 1000 * 380 / 1000 = 119.4 A: I-index 22 (125)
  EXPECT_EQ(ComposedCode(book::kCapacitorBankTable, bank, 0),
            0xCA << 23 | 0xD1 << 15 | 4 << 11 | 22 << 5);
}

}  // namespace
}  // namespace kordavelt
