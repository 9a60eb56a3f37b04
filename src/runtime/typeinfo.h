// Descriptions of classes and models: members, parameters, by-reference flags and defaults.
// The tables are generated from the API description; hosts read them to list members and
// to convert arguments.
#pragma once

#include <cstdint>
#include <span>

#include "text.h"
#include "variant.h"

namespace zv {

enum class MemberKind : uint8_t { Function, Sub, PropertyGet, PropertyLet, PropertySet };

struct ParamInfo {
  const char16_t* name;
  // The declared type as written ("String", "TimeCompare", "String()").
  const char16_t* typeName;
  // The Automation kind it is passed as (Long for enumerations, Object for Collection).
  VarType type;
  bool byRef;
  bool optional;
  bool isArray;
  // The default of an optional parameter; missing for an optional Variant without one.
  const Variant* defaultValue;
};

struct MemberInfo {
  const char16_t* name;
  MemberKind kind;
  int32_t dispId;
  std::span<const ParamInfo> params;
  const char16_t* resultTypeName;  // "" for a Sub or a property put
  VarType resultType;
  uint16_t index;  // position in the type's member table
};

struct TypeInfo {
  const char16_t* name;
  std::span<const MemberInfo> members;
};

// The member of `type` named `name` (case-insensitive) that serves the invoke `kinds`:
// a property put for kPropertyPut/kPropertyPutRef, otherwise a method or property get.
// Error 438 when there is none.
const MemberInfo& findMember(const TypeInfo& type, StringView name, unsigned kinds);

// "Function GetLeft(theString As String, ...) As String", as `zvv list` prints it.
String describeMember(const MemberInfo& member);

}  // namespace zv
