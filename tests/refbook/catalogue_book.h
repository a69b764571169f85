#pragma once

// The delivered reference book as the build made it from data/refbook, read
// once into memory for the catalogue tests, so that no test can change it.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <vector>

#include "base/le_bytes.h"

namespace kordavelt::testing {

// One type of the book: its code and a copy of its record.
struct CatalogueType {
  std::int32_t code;
  std::vector<std::uint8_t> bytes;
  Bytes Data() { return {bytes.data(), bytes.size()}; }
};

class Catalogue : public ::testing::Test {
 protected:
  static void SetUpTestSuite();
  static void TearDownTestSuite();

  // The types of `table` in code order.
  static std::vector<CatalogueType>& Types(int table);
  static bool Has(int table, std::int32_t code);

 private:
  static std::map<int, std::vector<CatalogueType>>* types_;
};

}  // namespace kordavelt::testing
