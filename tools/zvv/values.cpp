#include "values.h"

#include <cmath>
#include <cstdlib>

#include "api/library.h"
#include "control_forms.h"
#include "frame/classes.h"
#include "runtime/convert.h"
#include "runtime/errors.h"

namespace zvv {

namespace {

using zv::String;
using zv::Variant;
using zv::VarType;

std::vector<String> splitBars(const String& text) {
  std::vector<String> parts;
  size_t from = 0;
  for (size_t bar; (bar = text.find(u'|', from)) != String::npos; from = bar + 1)
    parts.push_back(text.substr(from, bar - from));
  parts.push_back(text.substr(from));
  return parts;
}

double invariantNumber(const std::string& text) {
  char* end = nullptr;
  const double value = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0') zv::raise(zv::err::kTypeMismatch);
  return value;
}

// Days since 1899-12-30 of a civil date.
double oleDays(int64_t y, int64_t m, int64_t d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const int64_t yoe = y - era * 400;
  const int64_t doy = (153 * (m > 2 ? m - 3 : m + 9) + 2) / 5 + d - 1;
  const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return static_cast<double>(era * 146097 + doe - 693899);
}

Variant dateArgument(const std::string& text) {
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
  const int n = std::sscanf(text.c_str(), "%d-%d-%d %d:%d:%d", &y, &mo, &d, &h, &mi, &s);
  if (n != 3 && n != 6) zv::raise(zv::err::kTypeMismatch);
  const double time = (h * 3600 + mi * 60 + s) / 86400.0;
  const double days = oleDays(y, mo, d);
  return Variant(zv::Date{days + (days < 0 ? -time : time)});
}

zv::ObjectRef objectArgument(const String& text) {
  if (zv::equalsNoCase(text, u"Nothing")) return nullptr;
  if (text.empty() || text[0] != u'@') zv::raise(zv::err::kObjectRequired);
  const size_t equals = text.find(u'=');
  const String model = text.substr(1, equals == String::npos ? String::npos : equals - 1);
  const String content = equals == String::npos ? String() : text.substr(equals + 1);
  if (zv::equalsNoCase(model, u"ListView")) return listViewFromText(content);
  if (zv::equalsNoCase(model, u"TreeView")) return treeViewFromText(content);
  zv::ObjectRef object = zv::createModel(model);
  if (zv::equalsNoCase(model, u"Collection")) {
    if (!content.empty())
      for (const String& item : splitBars(content)) zv::call(object, u"Add", {Variant(item)});
  } else if (zv::equalsNoCase(model, u"ListBox") || zv::equalsNoCase(model, u"ComboBox")) {
    if (!content.empty())
      for (const String& item : splitBars(content)) zv::call(object, u"AddItem", {Variant(item)});
  } else {
    zv::put(object, u"Text", Variant(content));
  }
  return object;
}

Variant enumArgument(const zv::ParamInfo& param, const std::string& text) {
  for (const zv::EnumInfo& e : zv::libraryEnums()) {
    if (!zv::equalsNoCase(e.name, param.typeName)) continue;
    for (const zv::EnumMember& m : e.members)
      if (zv::equalsNoCase(m.name, zv::fromUtf8(text))) return Variant(m.value);
  }
  return Variant(invariantNumber(text));
}

Variant argument(const zv::ParamInfo& param, const std::string& text) {
  const String value = zv::fromUtf8(text);
  if (param.isArray) {
    std::vector<Variant> items;
    for (const String& item : splitBars(value)) items.emplace_back(item);
    return Variant(zv::SafeArray::vector(VarType::String, 0, std::move(items)));
  }
  switch (param.type) {
    case VarType::Boolean:
      if (zv::equalsNoCase(value, u"True") || value == u"-1" || value == u"1") return Variant(true);
      if (zv::equalsNoCase(value, u"False") || value == u"0") return Variant(false);
      zv::raise(zv::err::kTypeMismatch);
    case VarType::Long:
      return enumArgument(param, text);
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Single:
    case VarType::Double:
    case VarType::Currency:
      return Variant(invariantNumber(text));
    case VarType::Date:
      return dateArgument(text);
    case VarType::Object:
      return Variant(objectArgument(value));
    default:
      return Variant(value);
  }
}

String join(const std::vector<Variant>& items) {
  String out = u"(";
  for (size_t i = 0; i < items.size(); ++i) out += (i ? u", " : u"") + display(items[i]);
  return out + u")";
}

}  // namespace

CallArguments::CallArguments(const zv::MemberInfo& member, const std::vector<std::string>& texts) {
  values_.reserve(texts.size());
  size_t position = 0;
  for (const std::string& text : texts) {
    const size_t named = text.find(":=");
    String name;
    const zv::ParamInfo* param = nullptr;
    std::string valueText = text;
    if (named != std::string::npos) {
      name = zv::fromUtf8(text.substr(0, named));
      valueText = text.substr(named + 2);
      for (const zv::ParamInfo& p : member.params)
        if (zv::equalsNoCase(p.name, name)) param = &p;
      if (!param) zv::raise(zv::err::kNamedArgNotFound);
    } else {
      if (position >= member.params.size()) zv::raise(zv::err::kWrongArgCount);
      param = &member.params[position++];
    }
    values_.push_back(argument(*param, valueText));
    params_.push_back(param);
    zv::Arg arg = param->byRef ? zv::Arg::ref(values_.back()) : zv::Arg(values_.back());
    args_.push_back(name.empty() ? std::move(arg) : std::move(arg).named(name));
  }
}

std::vector<std::pair<String, Variant>> CallArguments::byReference() const {
  std::vector<std::pair<String, Variant>> out;
  for (size_t i = 0; i < params_.size(); ++i)
    if (params_[i]->byRef) out.emplace_back(params_[i]->name, values_[i]);
  return out;
}

String display(const Variant& value) {
  if (value.isNull()) return u"Null";
  if (value.isArray()) return join(value.arrayValue().items);
  if (!value.isObject()) return zv::toString(value);
  const zv::ObjectRef& object = value.objectValue();
  if (!object) return u"Nothing";
  if (object->typeName() == u"ListView") return u"ListView(" + listViewText(object) + u")";
  if (object->typeName() == u"TreeView") return u"TreeView(" + treeViewText(object) + u")";
  try {
    return object->typeName() + join(object->enumerate());
  } catch (const zv::Error&) {
  }
  try {
    const int32_t count = zv::toLong(zv::get(object, u"ListCount"));
    std::vector<Variant> items;
    for (int32_t i = 0; i < count; ++i) items.push_back(zv::get(object, u"List", {Variant(i)}));
    return object->typeName() + join(items);
  } catch (const zv::Error&) {
  }
  try {
    return object->typeName() + u"(" + zv::toString(zv::get(object, u"Text")) + u")";
  } catch (const zv::Error&) {
    return object->typeName();
  }
}

}  // namespace zvv
