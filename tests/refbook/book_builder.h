#pragma once

// Reference books for tests: an open book in a MemoryFileSystem with a
// scripted UI, and one readable line per type added to it. Every Add...
// returns the type's code: the code given, or its automatic code when 0 is
// given (as the window gives one); 0 when the type could not be added. The
// added record stays current.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "refbook/spr_class.h"
#include "storage/file_layer.h"
#include "support/scripted_ui_host.h"

namespace kordavelt::testing {

// An empty book "Kordavelt.SPR" (or `path`), opened at construction.
struct TestBook {
  explicit TestBook(const std::string& path = sprClass::kDefaultFileName);

  MemoryFileSystem files;
  ScriptedUiHost ui;
  sprClass book{ui, files};
};

// A record of `table` with this name (where the table has one) and code.
std::int32_t AddType(sprClass& book, int table, std::string_view name, std::int32_t code = 0);

std::int32_t AddCableBrand(sprClass& book, std::string_view name, std::int32_t code = 0);
std::int32_t AddCable(sprClass& book, std::int32_t brand, float unom, int condCount, float crossF,
                      float crossN = 0, std::int32_t code = 0);
std::int32_t AddInsulatedWire(sprClass& book, std::string_view name, int condCount, float crossF,
                              std::int32_t code = 0);
std::int32_t AddBareWire(sprClass& book, std::string_view name, float crossF,
                         std::int32_t code = 0);
std::int32_t AddTrunking(sprClass& book, std::string_view name, float unom, float inom,
                         std::int32_t code = 0);
std::int32_t AddFuse(sprClass& book, std::string_view name, float unom, float inom,
                     const std::vector<float>& settingI = {}, std::int32_t code = 0);
std::int32_t AddBreakerSeries(sprClass& book, std::string_view name, std::int32_t code);
std::int32_t AddTripUnit(sprClass& book, std::string_view name, std::uint16_t seria,
                         const std::vector<float>& inom, std::int32_t code = 0);
std::int32_t AddBreaker(sprClass& book, std::string_view name, std::uint16_t seria, float unom,
                        float inom, float iswitch, std::int32_t tripUnit = 0,
                        std::int32_t code = 0);
std::int32_t AddTransformer(sprClass& book, std::string_view name, float snom, float uv, float un,
                            std::int32_t code = 0);
std::int32_t AddCurrentTransformer(sprClass& book, std::string_view name, float unom, float inom,
                                   float inom2, std::int32_t code = 0);
std::int32_t AddAsyncMotor(sprClass& book, std::string_view name, float unom, float pnom,
                           float speed, std::int32_t code = 0);

// The types that filled records refer to.
struct BookReferences {
  std::int32_t brand = 0;   // cable brand
  std::int32_t series = 0;  // breaker series
  std::int32_t unit = 0;    // trip unit
  std::int32_t motor = 0;   // asynchronous motor
};

// A record of `table` under `code` with a value in every column the window
// shows; its data bytes, empty when it could not be added.
std::vector<std::uint8_t> AddFilledType(sprClass& book, int table, std::int32_t code,
                                        const BookReferences& refs);

// The data bytes of the type, empty when there is none.
std::vector<std::uint8_t> TypeBytes(sprClass& book, int table, std::int32_t code);

}  // namespace kordavelt::testing
