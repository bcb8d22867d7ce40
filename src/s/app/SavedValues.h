#pragma once
// What the program's window remembers between starts, kept in the save-data store:
// every value's key path, name, type and default in one table, so the window and the
// command line read and write the same values the same way.
//
//   key path                     name                  type    default
//   MainWindow\View              ConvertTo             text    "" (selects Tile)
//   MainWindow\View              CompactView           flag    true
//   MainWindow\View              SmallWidth            number  250
//   MainWindow\View              SmallHeight           number  250
//   MainWindow\View              LargeWidth            number  470
//   MainWindow\View              LargeHeight           number  400
//   MainWindow\View              RightClickTransform   flag    true
//   MainWindow\ConvertTo\Tile    CellWidth             number  150
//   MainWindow\ConvertTo\Tile    CellHeight            number  150
//   MainWindow\ConvertTo\Album   RowHeight             number  200
//
// Numbers are signed 32-bit (getS32/setS32), flags getBool/setBool, texts
// getString/setString. "ConvertTo" holds the display text of the chosen "Create:"
// entry in the language shown when it was written ("Tile", "Flat" or "Album" in
// English).
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "s/map/IMappedData.h"

namespace s::app {

class SavedValues {
 public:
  SavedValues() = delete;

  enum class Type { kText, kFlag, kNumber };

  struct Value {
    const char16_t* keyPath;
    const char16_t* name;
    Type type;
    int32_t defaultNumber;  // numbers; flags: 1 true, 0 false
    const char16_t* defaultText;  // texts
  };

  static constexpr char16_t kViewKey[] = u"MainWindow\\View";
  static constexpr char16_t kTileKey[] = u"MainWindow\\ConvertTo\\Tile";
  static constexpr char16_t kAlbumKey[] = u"MainWindow\\ConvertTo\\Album";

  static constexpr Value kConvertTo{kViewKey, u"ConvertTo", Type::kText, 0, u""};
  static constexpr Value kCompactView{kViewKey, u"CompactView", Type::kFlag, 1, nullptr};
  static constexpr Value kSmallWidth{kViewKey, u"SmallWidth", Type::kNumber, 250, nullptr};
  static constexpr Value kSmallHeight{kViewKey, u"SmallHeight", Type::kNumber, 250, nullptr};
  static constexpr Value kLargeWidth{kViewKey, u"LargeWidth", Type::kNumber, 470, nullptr};
  static constexpr Value kLargeHeight{kViewKey, u"LargeHeight", Type::kNumber, 400, nullptr};
  static constexpr Value kRightClickTransform{kViewKey, u"RightClickTransform", Type::kFlag, 1, nullptr};
  static constexpr Value kCellWidth{kTileKey, u"CellWidth", Type::kNumber, 150, nullptr};
  static constexpr Value kCellHeight{kTileKey, u"CellHeight", Type::kNumber, 150, nullptr};
  static constexpr Value kRowHeight{kAlbumKey, u"RowHeight", Type::kNumber, 200, nullptr};

  // The ten values in the order of the table above.
  static std::span<const Value> all();
  // The value with this key path (either separator, letter case ignored) and name
  // (letter case ignored), or none.
  static const Value* find(std::u16string_view keyPath, std::u16string_view name);

  // Typed access with the value's default.
  static int32_t readNumber(map::IMappedData& store, const Value& value);
  static bool readFlag(map::IMappedData& store, const Value& value);
  static std::u16string readText(map::IMappedData& store, const Value& value);
  static void writeNumber(map::IMappedData& store, const Value& value, int32_t number);
  static void writeFlag(map::IMappedData& store, const Value& value, bool flag);
  static void writeText(map::IMappedData& store, const Value& value, std::u16string_view text);

  // Any value as a text: numbers in decimal, flags "true" or "false".
  static std::u16string readAsText(map::IMappedData& store, const Value& value);
  // Writes text as the value's type: a number is an optional sign and decimal digits
  // within 32 bits, a flag "true", "false", "1" or "0" (letter case ignored), and any
  // text is a text. False, and nothing written, when text is none of its type.
  static bool writeFromText(map::IMappedData& store, const Value& value, std::u16string_view text);
};

}  // namespace s::app
