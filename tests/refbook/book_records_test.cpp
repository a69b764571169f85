#include "refbook/book_records.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "refbook/book_tables.h"

namespace kordavelt {
namespace {

using Record = std::vector<std::uint8_t>;

// A record of `length` bytes filled with a marker, every field then set
// through `fill`; the bytes the setters may not touch must keep the marker.
Record Filled(int length, const std::function<void(Bytes)>& fill) {
  Record record(static_cast<std::size_t>(length), 0xEE);
  fill(record);
  return record;
}

void ExpectUntouched(const Record& record, int from, int count) {
  for (int i = from; i < from + count; ++i) {
    EXPECT_EQ(record[static_cast<std::size_t>(i)], 0xEE) << "byte " << i;
  }
}

TEST(BookRecordsTest, LengthsMatchTheTableList) {
  EXPECT_EQ(book::CableBrandRec::kLength, BookRecordLength(book::kCableBrandTable));
  EXPECT_EQ(book::CableRec::kLength, BookRecordLength(book::kCableTable));
  EXPECT_EQ(book::FuseRec::kLength, BookRecordLength(book::kFuseTable));
  EXPECT_EQ(book::TripUnitRec::kLength, BookRecordLength(book::kTripUnitTable));
  EXPECT_EQ(book::AsyncMotorRec::kLength, BookRecordLength(book::kAsyncMotorTable));
  EXPECT_EQ(book::GeneratorRec::kLength, BookRecordLength(book::kGeneratorTable));
  EXPECT_EQ(book::CompositionTemplateRec::kLength, BookRecordLength(book::kTemplateTable));
  EXPECT_EQ(book::BreakerSeriesRec::kLength, BookRecordLength(book::kBreakerSeriesTable));
}

TEST(BookRecordsTest, CableFieldsAndReservedBytes) {
  const Record record = Filled(book::CableRec::kLength, [](Bytes bytes) {
    book::CableRec cable(bytes);
    cable.SetType(0x01020304);
    cable.SetUnom(1000);
    cable.SetIpermissEarch(1);
    cable.SetIpermissAir(2);
    cable.SetCrossCectF(95);
    cable.SetCrossCectN(50);
    cable.SetBc(3);
    cable.SetIc(4);
    cable.SetR1(5);
    cable.SetX1(6);
    cable.SetR0(7);
    cable.SetX0(8);
    cable.SetCondCount(4);
  });
  ExpectUntouched(record, 48, 4);
  EXPECT_EQ(record[0], 0x04);
  EXPECT_EQ(ReadF32(record, 16), 95.0f);
  EXPECT_EQ(ReadF32(record, 44), 8.0f);
  EXPECT_EQ(record[52], 4);
}

TEST(BookRecordsTest, BrandFlagFieldsShareOneByte) {
  Record record(book::CableBrandRec::kLength, 0);
  book::CableBrandRec brand(record);
  brand.SetCondMat(1);
  brand.SetInsulation(5);
  brand.SetArmor(1);
  brand.SetSheath(4);
  EXPECT_EQ(record[29], 0x80 | 0x40 | 0x08 | 0x05);
  brand.SetSheath(9);  // masked to its three bits
  EXPECT_EQ(brand.Sheath(), 1);
  EXPECT_EQ(brand.CondMat(), 1);
  EXPECT_EQ(brand.Insulation(), 5);
  brand.SetTpermiss(70);
  EXPECT_EQ(ReadF32(record, 17), 70.0f);
}

TEST(BookRecordsTest, BreakerAndTripUnit) {
  const Record breakerBytes = Filled(book::BreakerRec::kLength, [](Bytes bytes) {
    book::BreakerRec breaker(bytes);
    breaker.SetType("ВА51-35");
    breaker.SetUnom(380);
    breaker.SetInom(100);
    breaker.SetIswitch(10);
    breaker.SetR1(1);
    breaker.SetX1(2);
    breaker.SetTripUnit(77);
    breaker.SetTripType(3);
    breaker.SetSeria(0xABCD);
  });
  ExpectUntouched(breakerBytes, 42, 3);
  EXPECT_EQ(ReadI32(breakerBytes, 37), 77);
  EXPECT_EQ(breakerBytes[41], 3);
  EXPECT_EQ(ReadU16(breakerBytes, 45), 0xABCD);

  Record unitBytes = Filled(book::TripUnitRec::kLength, [](Bytes bytes) {
    book::TripUnitRec unit(bytes);
    unit.SetType("Р");
    unit.SetInom({16, 25, 40, 63, 100, 160, 250, 400, 630, 1000, 1600});  // one too many
    unit.SetSettingIr({1});
    unit.SetSettingTr({});
    unit.SetSettingIm({2, 3});
    unit.SetSettingTm({4, 5, 6, 7, 8});
    unit.SetSettingIc({9});
    unit.SetImax(11);
    unit.SetIrUnit(1);
    unit.SetImUnit(2);
    unit.SetImoUnit(0);
    unit.SetSinglePhaseProtection(1);
    unit.SetError(20);
    unit.SetSeria(5);
  });
  ExpectUntouched(unitBytes, 165, 3);
  ExpectUntouched(unitBytes, 169, kVthBytes);
  book::TripUnitRec unit(unitBytes);
  EXPECT_EQ(unit.Inom().size(), 10u);
  EXPECT_EQ(unit.Inom().back(), 1000.0f);
  EXPECT_EQ(ReadF32(unitBytes, 57), 1.0f);  // Ir, then zeros
  EXPECT_EQ(unit.SettingIr(), (std::vector<float>{1, 0, 0, 0, 0}));
  EXPECT_EQ(unit.SettingTr(), (std::vector<float>(5, 0.0f)));
  EXPECT_EQ(unit.SettingTm()[4], 8.0f);
  EXPECT_EQ(ReadF32(unitBytes, 137), 9.0f);
  EXPECT_EQ(ReadF32(unitBytes, 157), 11.0f);
  EXPECT_EQ(unitBytes[162], 2);
  EXPECT_EQ(unitBytes[164], 1);
  EXPECT_EQ(unitBytes[168], 20);
  EXPECT_EQ(ReadU16(unitBytes, 281), 5);
  ASSERT_EQ(unit.Vth().size(), static_cast<std::size_t>(kVthBytes));
  EXPECT_EQ(unit.Vth().data(), unitBytes.data() + 169);
}

TEST(BookRecordsTest, FuseTransformerAndCurrentTransformer) {
  Record fuseBytes = Filled(book::FuseRec::kLength, [](Bytes bytes) {
    book::FuseRec fuse(bytes);
    fuse.SetSettingI({16, 20, 25});
    fuse.SetUnom(380);
    fuse.SetInom(100);
    fuse.SetIswitch(50);
  });
  ExpectUntouched(fuseBytes, 69, 2 + kVthBytes);
  EXPECT_EQ(ReadF32(fuseBytes, 17 + 8), 25.0f);
  EXPECT_EQ(ReadF32(fuseBytes, 17 + 12), 0.0f);
  EXPECT_EQ(ReadF32(fuseBytes, 61), 100.0f);
  EXPECT_EQ(book::FuseRec(fuseBytes).Vth().data(), fuseBytes.data() + 71);

  const Record transformerBytes = Filled(book::TransformerRec::kLength, [](Bytes bytes) {
    book::TransformerRec transformer(bytes);
    transformer.SetSnom(630);
    transformer.SetUv(10);
    transformer.SetUn(0.4f);
    transformer.SetPk(1);
    transformer.SetUk(5.5f);
    transformer.SetPh(2);
    transformer.SetIh(3);
    transformer.SetDK(4);
    transformer.SetR0(5);
    transformer.SetX0(6);
    transformer.SetNp(-2);
    transformer.SetGroup(1);
  });
  ExpectUntouched(transformerBytes, 59, 2);
  EXPECT_EQ(ReadF32(transformerBytes, 33), 5.5f);
  EXPECT_EQ(static_cast<std::int8_t>(transformerBytes[57]), -2);

  const Record ctBytes = Filled(book::CurrentTransformerRec::kLength, [](Bytes bytes) {
    book::CurrentTransformerRec ct(bytes);
    ct.SetUnom(660);
    ct.SetInom(300);
    ct.SetInom2(5);
    ct.SetIterm(10);
    ct.SetClass(2);
    ct.SetR1(0.5f);
    ct.SetX1(0.25f);
  });
  ExpectUntouched(ctBytes, 21, 4);
  ExpectUntouched(ctBytes, 46, 2);
  EXPECT_EQ(ctBytes[37], 2);
  EXPECT_EQ(ReadF32(ctBytes, 38), 0.5f);
  EXPECT_EQ(ReadF32(ctBytes, 42), 0.25f);
}

TEST(BookRecordsTest, MachinesShareTheirFirstNumbers) {
  const Record motorBytes = Filled(book::AsyncMotorRec::kLength, [](Bytes bytes) {
    book::AsyncMotorRec motor(bytes);
    motor.SetUnom(380);
    motor.SetSpeed(1500);
    motor.SetEfficiency(90);
    motor.SetPnom(55);
    motor.SetCosF(0.9f);
    motor.SetIstart(7);
    motor.SetMstart(2);
    motor.SetMmax(2.5f);
    motor.SetSnom(3);
    motor.SetRs(0.01f);
    motor.SetRr(0.02f);
    motor.SetXd2(0.15f);
    motor.SetTa(0.1f);
    motor.SetTr(0.2f);
    motor.SetJrotor(1.5f);
  });
  ExpectUntouched(motorBytes, 77, 2);
  EXPECT_EQ(ReadF32(motorBytes, 29), 55.0f);
  EXPECT_EQ(ReadF32(motorBytes, 49), 3.0f);
  EXPECT_EQ(ReadF32(motorBytes, 73), 1.5f);

  const Record generatorBytes = Filled(book::GeneratorRec::kLength, [](Bytes bytes) {
    book::GeneratorRec generator(bytes);
    generator.SetUnom(400);
    generator.SetRd(1);
    generator.SetJrotor(9);
  });
  EXPECT_EQ(ReadF32(generatorBytes, 37), 1.0f);
  EXPECT_EQ(ReadF32(generatorBytes, 57), 9.0f);
  ExpectUntouched(generatorBytes, 61, 2);

  const Record syncBytes = Filled(book::SynchronousMachineRec::kLength, [](Bytes bytes) {
    book::SynchronousMachineRec machine(bytes);
    machine.SetRd(1);
    machine.SetJrotor(2);
  });
  EXPECT_EQ(ReadF32(syncBytes, 49), 1.0f);
  EXPECT_EQ(ReadF32(syncBytes, 69), 2.0f);
  ExpectUntouched(syncBytes, 73, 2);
}

TEST(BookRecordsTest, NamesAreCutAndReadBack) {
  Record record(book::SwitchRec::kLength, 0);
  book::SwitchRec sw(record);
  sw.SetType("Рубильник-разъединитель РПС");
  EXPECT_EQ(sw.Type(), "Рубильник-разъед");
  EXPECT_EQ(record[0], 16);
  EXPECT_EQ(BookRecordName(book::kSwitchTable, record), "Рубильник-разъед");

  Record series(book::BreakerSeriesRec::kLength, 0);
  book::BreakerSeriesRec(series).SetName("ВА57-39-ХХ");
  EXPECT_EQ(book::BreakerSeriesRec(series).Name(), "ВА57-39-");
  EXPECT_EQ(BookRecordName(book::kBreakerSeriesTable, series), "ВА57-39-");

  Record mechanism(book::MechanismRec::kLength, 0);
  book::MechanismRec(mechanism).SetMechType("Насос");
  EXPECT_EQ(BookRecordName(book::kMechanismTable, mechanism), "Насос");
  EXPECT_EQ(BookRecordName(book::kCableTable, mechanism), "");

  // A damaged length byte reads no further than the field.
  record[0] = 200;
  EXPECT_EQ(sw.Type(), "Рубильник-разъед");
}

TEST(BookRecordsTest, TemplateSlotsAndMechanism) {
  Record record = Filled(book::CompositionTemplateRec::kLength, [](Bytes bytes) {
    book::CompositionTemplateRec composition(bytes);
    composition.SetName("Фидер двигателя");
    for (int i = 0; i < 16; ++i) composition.SetSlot(i, static_cast<std::uint8_t>(i + 1));
    composition.SetSlot(16, 99);
    composition.SetSlot(-1, 99);
  });
  EXPECT_EQ(record[33], 1);
  EXPECT_EQ(record[48], 16);
  book::CompositionTemplateRec view(record);
  EXPECT_EQ(view.Slot(15), 16);
  EXPECT_EQ(view.Slot(16), 0);
  EXPECT_EQ(view.Name(), "Фидер двигателя");

  const Record mechanism = Filled(book::MechanismRec::kLength, [](Bytes bytes) {
    book::MechanismRec m(bytes);
    m.SetSpeed_M_Chart(2);
    m.SetClass(1);
    m.SetMotorType(1234);
    m.SetSpeed(1);
    m.SetNnom(2);
    m.SetJmech(3);
    m.SetM0(4);
    m.SetN0(5);
    m.SetSpeedOtkl(6);
  });
  EXPECT_EQ(mechanism[17], 2);
  EXPECT_EQ(mechanism[18], 1);
  EXPECT_EQ(ReadI32(mechanism, 19), 1234);
  EXPECT_EQ(ReadF32(mechanism, 43), 6.0f);
  ExpectUntouched(mechanism, 47, 2);
}

TEST(BookRecordsTest, ShortRecordsReadZeros) {
  Record tiny(3, 0xFF);
  book::TripUnitRec unit(tiny);
  EXPECT_EQ(unit.Seria(), 0);
  EXPECT_TRUE(unit.Vth().empty());
  unit.SetInom({1, 2, 3});
  EXPECT_EQ(tiny, Record(3, 0xFF));
}

}  // namespace
}  // namespace kordavelt
