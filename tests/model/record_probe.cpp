#include "record_probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "model/model_layouts.h"
#include "storage/counted_string.h"
#include "storage/db_format.h"
#include "storage/dbf_class.h"
#include "storage/file_layer.h"
#include "support/scripted_ui_host.h"

namespace kordavelt::testing {

template <>
std::string TestValue() {
  static const std::string text = [] {
    std::string t;
    while (Utf8Length(t) < 300) t += "Распределительный щит №7, этаж 2; ";
    return t;
  }();
  return text;
}

namespace {

constexpr std::int32_t kKey = 5 * 256 + 1;

std::uint8_t PatternByte(std::size_t i) {
  return static_cast<std::uint8_t>(0x80 | ((i * 37) & 0x7F));
}

void FillPattern(Bytes record) {
  for (std::size_t i = 0; i < record.size(); ++i) record[i] = PatternByte(i);
}

const FieldDef* FindField(const RecordLayout& layout, std::string_view name) {
  const auto found = std::ranges::find(layout.fields, name, &FieldDef::name);
  return found == layout.fields.end() ? nullptr : &*found;
}

// Stores the test value of the field's type through the layout.
void WriteThroughLayout(Bytes record, const FieldDef& field) {
  const std::size_t at = static_cast<std::size_t>(field.offset);
  switch (field.type) {
    case FieldType::U8:
      WriteU8(record, at, TestValue<std::uint8_t>());
      break;
    case FieldType::I8:
      WriteU8(record, at, static_cast<std::uint8_t>(TestValue<std::int8_t>()));
      break;
    case FieldType::U16:
      WriteU16(record, at, TestValue<std::uint16_t>());
      break;
    case FieldType::I16:
      WriteI16(record, at, TestValue<std::int16_t>());
      break;
    case FieldType::I32:
      WriteI32(record, at, TestValue<std::int32_t>());
      break;
    case FieldType::F32:
      WriteF32(record, at, TestValue<float>());
      break;
    case FieldType::String:
      WriteCountedString(record, at, static_cast<std::size_t>(field.size),
                         TestValue<std::string>());
      break;
    case FieldType::Raw:
      for (int i = 0; i < field.size; ++i) WriteU8(record, at + i, RawTestByte(i));
      break;
  }
}

// True when the layout reads the test value of the field's type.
bool LayoutHolds(ConstBytes record, const FieldDef& field) {
  const std::size_t at = static_cast<std::size_t>(field.offset);
  switch (field.type) {
    case FieldType::U8:
      return ReadU8(record, at) == TestValue<std::uint8_t>();
    case FieldType::I8:
      return static_cast<std::int8_t>(ReadU8(record, at)) == TestValue<std::int8_t>();
    case FieldType::U16:
      return ReadU16(record, at) == TestValue<std::uint16_t>();
    case FieldType::I16:
      return ReadI16(record, at) == TestValue<std::int16_t>();
    case FieldType::I32:
      return ReadI32(record, at) == TestValue<std::int32_t>();
    case FieldType::F32:
      return ReadF32(record, at) == TestValue<float>();
    case FieldType::String:
      return ReadCountedString(record, at, static_cast<std::size_t>(field.size)) ==
             ExpectedValue<std::string>(field);
    case FieldType::Raw:
      for (int i = 0; i < field.size; ++i) {
        if (ReadU8(record, at + i) != RawTestByte(i)) return false;
      }
      return true;
  }
  return false;
}

// Bytes of the string's characters beyond those stored keep what they held,
// so a string changes its length byte and the stored characters only.
int TouchedWidth(const FieldDef& field) {
  if (field.type != FieldType::String) return FieldWidth(field);
  return 1 + static_cast<int>(Utf8ToCp1251(ExpectedValue<std::string>(field)).size());
}

}  // namespace

void ExpectProbesCoverLayout(const ViewProbe& probe) {
  SCOPED_TRACE(std::string(probe.view));
  const RecordLayout* layout = ModelTableLayout(probe.table);
  ASSERT_NE(layout, nullptr) << "table " << probe.table;
  std::multiset<std::string_view> probed;
  for (const FieldProbe& field : probe.fields) {
    probed.insert(field.field);
    EXPECT_NE(FindField(*layout, field.field), nullptr) << "no layout field " << field.field;
  }
  for (const FieldDef& field : layout->fields) {
    if (field.name == "unused") continue;
    EXPECT_EQ(probed.count(field.name), 1u) << "probes of field " << field.name;
  }
}

void ExpectViewAgreesWithLayout(const ViewProbe& probe) {
  const RecordLayout* layout = ModelTableLayout(probe.table);
  ASSERT_NE(layout, nullptr) << "table " << probe.table;
  for (const FieldProbe& field : probe.fields) {
    SCOPED_TRACE(std::string(probe.view) + "." + std::string(field.field));
    const FieldDef* def = FindField(*layout, field.field);
    ASSERT_NE(def, nullptr);
    std::vector<std::uint8_t> record(static_cast<std::size_t>(layout->dataLength));

    FillPattern(record);
    field.set(record);
    EXPECT_TRUE(LayoutHolds(record, *def)) << "view stores, layout reads";
    EXPECT_TRUE(field.holds(record, *def)) << "view stores, view reads";
    const int touchedEnd = def->offset + TouchedWidth(*def);
    for (int i = 0; i < layout->dataLength; ++i) {
      if (i >= def->offset && i < touchedEnd) continue;
      EXPECT_EQ(record[i], PatternByte(i)) << "byte " << i << " outside the field changed";
    }

    FillPattern(record);
    WriteThroughLayout(record, *def);
    EXPECT_TRUE(field.holds(record, *def)) << "layout stores, view reads";
  }
}

void ExpectRoundTripThroughModelFile(std::span<const ViewProbe> probes) {
  ScriptedUiHost ui;
  MemoryFileSystem files;
  dbfClass file(ui, files, std::string(db::kModelExtension), std::string(db::kModelSignature));
  file.SetFileName("net.LVN");
  ASSERT_TRUE(file.CreateFile());
  ASSERT_TRUE(file.OpenFile());
  for (const ViewProbe& probe : probes) {
    SCOPED_TRACE(std::string(probe.view));
    const RecordLayout* layout = ModelTableLayout(probe.table);
    ASSERT_NE(layout, nullptr);
    tbClass* table = file.OpenTable(probe.table, layout->dataLength);
    ASSERT_NE(table, nullptr);
    table->Insert(kKey);
    ASSERT_EQ(table->Record().size(), static_cast<std::size_t>(layout->dataLength));
    EXPECT_TRUE(std::ranges::all_of(table->Record(), [](std::uint8_t b) { return b == 0; }))
        << "a new record is all zero";
    FillPattern(table->Record());
    for (const FieldProbe& field : probe.fields) field.set(table->Record());
    table->MarkModifiedAndFlush();
  }
  file.SetAskToSave(false);
  ASSERT_TRUE(file.CloseFile());

  ASSERT_TRUE(file.OpenFile());
  for (const ViewProbe& probe : probes) {
    SCOPED_TRACE(std::string(probe.view));
    const RecordLayout* layout = ModelTableLayout(probe.table);
    tbClass* table = file.OpenTable(probe.table, layout->dataLength);
    ASSERT_NE(table, nullptr);
    table->Seek(kKey);
    ASSERT_EQ(table->Status(), kStatusOk);
    ASSERT_EQ(table->Key(), kKey);
    const Bytes record = table->Record();
    for (const FieldProbe& field : probe.fields) {
      EXPECT_TRUE(field.holds(record, *FindField(*layout, field.field))) << field.field;
    }
    for (const FieldDef& def : layout->fields) {
      if (def.name != "unused") continue;
      for (int i = def.offset; i < def.offset + def.size; ++i) {
        EXPECT_EQ(record[i], PatternByte(i)) << "unused byte " << i;
      }
    }
  }
  file.SetAskToSave(false);
  ASSERT_TRUE(file.CloseFile());
  EXPECT_TRUE(ui.Messages().empty()) << ::testing::PrintToString(ui.Messages());
}

}  // namespace kordavelt::testing
