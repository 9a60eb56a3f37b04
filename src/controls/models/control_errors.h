// The errors the common controls raise, with their own numbers and texts, shared by the
// models of the caller's controls.
#pragma once

#include <cstdint>

#include "runtime/text.h"

namespace zv::models {

inline constexpr int32_t kInvalidPropertyValue = 380;  // "Invalid property value"
inline constexpr int32_t kInvalidPropertyIndex = 381;  // "Invalid property array index"
inline constexpr int32_t kIndexOutOfBounds = 35600;    // "Index out of bounds"
inline constexpr int32_t kElementNotFound = 35601;     // "Element not found"
inline constexpr int32_t kKeyNotUnique = 35602;        // "Key is not unique in collection"
inline constexpr int32_t kInvalidKey = 35603;          // "Invalid key"
inline constexpr int32_t kImageListNotSet = 35613;     // "ImageList must be initialized ..."

// Raises control error `number` with the control's text for it.
[[noreturn]] void raiseControlError(int32_t number);

// A grid's own text for an index outside it (error 381).
[[noreturn]] void raiseGridIndexError();

// An RGB colour (0 to &HFFFFFF) or a system colour (&H80000000 to &H800000FF): anything
// else is error 380.
int32_t checkedColor(int32_t color);

}  // namespace zv::models
