#include "values.h"

// datetime.h keeps its API pointer per translation unit: every date conversion lives here.
#include <datetime.h>

#include <bit>
#include <chrono>
#include <cmath>
#include <limits>
#include <unordered_map>

#include "caller_object.h"
#include "runtime/errors.h"

namespace zv::python {

namespace {

using namespace std::chrono;

constexpr sys_days kOleEpoch = year{1899} / December / 30;
constexpr int64_t kMicrosecondsPerDay = 86'400'000'000;
constexpr double kMillisecondsPerDay = 86'400'000.0;

// The decimal module's pieces Currency needs, kept for the life of the process (a static
// py::object would be released after the interpreter is gone).
struct DecimalModule {
  py::object type;
  py::object context;  // wide enough that scaling a Currency never rounds
  py::object halfEven;
};

const DecimalModule& decimalModule() {
  static const DecimalModule* module = [] {
    py::module_ decimal = py::module_::import("decimal");
    py::object context = decimal.attr("Context")(py::arg("prec") = 60);
    return new DecimalModule{decimal.attr("Decimal"), context, decimal.attr("ROUND_HALF_EVEN")};
  }();
  return *module;
}

void ensureDateTimeApi() {
  if (!PyDateTimeAPI) {
    PyDateTime_IMPORT;
    if (!PyDateTimeAPI) throw py::error_already_set();
  }
}

Variant longFrom(py::handle value) {
  int overflow = 0;
  const long long number = PyLong_AsLongLongAndOverflow(value.ptr(), &overflow);
  if (number == -1 && PyErr_Occurred()) throw py::error_already_set();
  if (overflow != 0 || number < std::numeric_limits<int32_t>::min() ||
      number > std::numeric_limits<int32_t>::max())
    raise(err::kOverflow);
  return Variant(static_cast<int32_t>(number));
}

Variant currencyFrom(py::handle value) {
  const DecimalModule& decimal = decimalModule();
  if (!value.attr("is_finite")().cast<bool>())
    raise(value.attr("is_nan")().cast<bool>() ? err::kTypeMismatch : err::kOverflow);
  py::object units;
  try {
    units = value.attr("scaleb")(4, decimal.context)
                .attr("to_integral_value")(decimal.halfEven, decimal.context);
    units = py::int_(units);
  } catch (py::error_already_set&) {
    raise(err::kOverflow);  // beyond even the wide context's exponent range
  }
  int overflow = 0;
  const long long scaled = PyLong_AsLongLongAndOverflow(units.ptr(), &overflow);
  if (overflow != 0) raise(err::kOverflow);
  return Variant(Currency{scaled});
}

py::object currencyToPython(Currency value) {
  const DecimalModule& decimal = decimalModule();
  return decimal.type(value.units).attr("scaleb")(-4, decimal.context);
}

// A date before 1899-12-30 counts its days down and its time up: -1.25 is 1899-12-29 06:00.
Variant dateFrom(py::handle value) {
  const int y = PyDateTime_GET_YEAR(value.ptr());
  const unsigned m = PyDateTime_GET_MONTH(value.ptr());
  const unsigned d = PyDateTime_GET_DAY(value.ptr());
  const double days =
      static_cast<double>((sys_days{year{y} / month{m} / day{d}} - kOleEpoch).count());
  double time = 0;
  if (PyDateTime_Check(value.ptr())) {
    const int64_t seconds = PyDateTime_DATE_GET_HOUR(value.ptr()) * 3600 +
                            PyDateTime_DATE_GET_MINUTE(value.ptr()) * 60 +
                            PyDateTime_DATE_GET_SECOND(value.ptr());
    const int64_t micro = seconds * 1'000'000 + PyDateTime_DATE_GET_MICROSECOND(value.ptr());
    time = static_cast<double>(micro) / static_cast<double>(kMicrosecondsPerDay);
  }
  return Variant(Date{days < 0 ? days - time : days + time});
}

py::object dateToPython(Date value) {
  ensureDateTimeApi();
  // Beyond +-3.6 million days no year fits Python's 1 to 9999 anyway.
  if (!std::isfinite(value.days) || std::fabs(value.days) > 4e6) raise(err::kOverflow);
  const double whole = std::trunc(value.days);
  int64_t dayCount = static_cast<int64_t>(whole);
  // A day count near today holds about a microsecond, near year 9999 only tens of them:
  // times come back to the millisecond.
  int64_t micro = std::llround(std::fabs(value.days - whole) * kMillisecondsPerDay) * 1000;
  dayCount += micro / kMicrosecondsPerDay;  // a time that rounds up to midnight
  micro %= kMicrosecondsPerDay;
  const year_month_day date{kOleEpoch + days{dayCount}};
  const int y = static_cast<int>(date.year());
  if (y < 1 || y > 9999) raise(err::kOverflow);
  const int64_t seconds = micro / 1'000'000;
  PyObject* result = PyDateTime_FromDateAndTime(
      y, static_cast<int>(static_cast<unsigned>(date.month())),
      static_cast<int>(static_cast<unsigned>(date.day())), static_cast<int>(seconds / 3600),
      static_cast<int>(seconds / 60 % 60), static_cast<int>(seconds % 60),
      static_cast<int>(micro % 1'000'000));
  if (!result) throw py::error_already_set();
  return py::reinterpret_steal<py::object>(result);
}

Variant arrayFrom(py::handle sequence) {
  std::vector<Variant> items;
  items.reserve(py::len(sequence));
  for (py::handle item : sequence)
    items.push_back(toVariant(item));
  return Variant(SafeArray::vector(VarType::Variant, 0, std::move(items)));
}

Variant bytesFrom(py::handle value) {
  const std::string bytes = py::bytes(py::reinterpret_borrow<py::object>(value));
  std::vector<Variant> items;
  items.reserve(bytes.size());
  for (char c : bytes)
    items.emplace_back(static_cast<uint8_t>(c));
  return Variant(SafeArray::vector(VarType::Byte, 0, std::move(items)));
}

// Automation stores the first dimension fastest; the tuples nest by the first index.
py::object arrayToPython(const SafeArray& array, size_t dimension, size_t offset, size_t stride) {
  const size_t count = array.bounds.empty() ? array.items.size()
                                            : static_cast<size_t>(array.bounds[dimension].count);
  py::tuple result(count);
  const bool last = array.bounds.size() <= dimension + 1;
  for (size_t i = 0; i < count; ++i) {
    const size_t at = offset + i * stride;
    result[i] = last ? toPython(array.items.at(at))
                     : arrayToPython(array, dimension + 1, at, stride * count);
  }
  return result;
}

py::object recordToPython(const Record& record) {
  py::dict fields;
  for (const auto& [name, value] : record.fields)
    fields[pythonText(name)] = toPython(value);
  return fields;
}

// The Python object of each library object handed to the library, while it lives: the
// library gives back the caller's own object (an identity test holds), as for plain
// Python objects. Kept for the life of the process, as py::objects must not outlive the
// interpreter.
std::unordered_map<const Object*, py::weakref>& wrappers() {
  static auto* known = new std::unordered_map<const Object*, py::weakref>();
  return *known;
}

void rememberWrapper(py::handle wrapper, const Object* object) {
  auto& known = wrappers();
  if (known.count(object) && !known.at(object)().is_none()) return;
  known.insert_or_assign(
      object,
      py::weakref(wrapper, py::cpp_function([object](py::handle) { wrappers().erase(object); })));
}

}  // namespace

String toText(py::handle text) {
  PyObject* s = text.ptr();
  if (!PyUnicode_Check(s)) throw py::type_error("expected str");
  const auto length = static_cast<size_t>(PyUnicode_GET_LENGTH(s));
  const void* data = PyUnicode_DATA(s);
  // Python keeps a text in the narrowest units that hold it: Latin-1 and BMP texts copy
  // straight across (a long text in one go); only astral characters need pairs.
  switch (PyUnicode_KIND(s)) {
    case PyUnicode_1BYTE_KIND: {
      const auto* units = static_cast<const Py_UCS1*>(data);
      return String(units, units + length);
    }
    case PyUnicode_2BYTE_KIND:
      return String(static_cast<const char16_t*>(data), length);
    default:
      break;
  }
  const auto* points = static_cast<const Py_UCS4*>(data);
  String result;
  result.reserve(length + length / 8);
  for (size_t i = 0; i < length; ++i) {
    const Py_UCS4 c = points[i];
    if (c < 0x10000) {
      result.push_back(static_cast<char16_t>(c));
    } else {
      result.push_back(static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10)));
      result.push_back(static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
    }
  }
  return result;
}

py::str pythonText(StringView text) {
  int byteOrder = std::endian::native == std::endian::little ? -1 : 1;
  PyObject* result =
      PyUnicode_DecodeUTF16(reinterpret_cast<const char*>(text.data()),
                            static_cast<Py_ssize_t>(text.size() * 2), "surrogatepass", &byteOrder);
  if (!result) throw py::error_already_set();
  return py::reinterpret_steal<py::str>(result);
}

Variant toVariant(py::handle value) {
  PyObject* p = value.ptr();
  if (value.is_none()) return Variant();
  if (py::isinstance<Ref>(value)) return value.cast<const Ref&>().value;
  if (py::isinstance<Handle>(value)) {
    const ObjectRef& object = value.cast<const Handle&>().object;
    rememberWrapper(value, object.get());
    return Variant(object);
  }
  if (PyBool_Check(p)) return Variant(p == Py_True);
  if (PyLong_Check(p)) return longFrom(value);
  if (PyFloat_Check(p)) return Variant(PyFloat_AS_DOUBLE(p));
  if (PyUnicode_Check(p)) return Variant(toText(value));
  ensureDateTimeApi();
  if (PyDate_Check(p)) return dateFrom(value);
  if (PyList_Check(p) || PyTuple_Check(p)) return arrayFrom(value);
  if (PyBytes_Check(p) || PyByteArray_Check(p)) return bytesFrom(value);
  if (py::isinstance(value, decimalModule().type)) return currencyFrom(value);
  return Variant(
      ObjectRef(std::make_shared<PythonObject>(py::reinterpret_borrow<py::object>(value))));
}

py::object toPython(const Variant& value) {
  switch (value.type()) {
    case VarType::Empty:
    case VarType::Null:
      return py::none();
    case VarType::Integer:
      return py::int_(value.integerValue());
    case VarType::Long:
      return py::int_(value.longValue());
    case VarType::Byte:
      return py::int_(value.byteValue());
    case VarType::Single:
      return py::float_(static_cast<double>(value.singleValue()));
    case VarType::Double:
      return py::float_(value.doubleValue());
    case VarType::Currency:
      return currencyToPython(value.currencyValue());
    case VarType::Date:
      return dateToPython(value.dateValue());
    case VarType::String:
      return pythonText(value.stringValue());
    case VarType::Boolean:
      return py::bool_(value.booleanValue());
    case VarType::Object: {
      const ObjectRef& object = value.objectValue();
      if (!object) return py::none();
      if (auto* python = dynamic_cast<const PythonObject*>(object.get())) return python->target();
      const auto known = wrappers().find(object.get());
      if (known != wrappers().end()) {
        py::object wrapper = known->second();
        if (!wrapper.is_none()) return wrapper;
      }
      return py::cast(Handle{object});
    }
    // A left-out argument reads as None; other error values (CVErr) as their code.
    case VarType::Error:
      return value.isMissing() ? py::object(py::none()) : py::object(py::int_(value.errorValue()));
    case VarType::Array:
      return arrayToPython(value.arrayValue(), 0, 0, 1);
    case VarType::Record:
      return recordToPython(value.recordValue());
    default:
      raise(err::kTypeMismatch);
  }
}

}  // namespace zv::python
