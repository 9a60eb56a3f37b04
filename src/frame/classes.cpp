#include "frame/classes.h"

#include "runtime/errors.h"

namespace zv {

const ClassInfo* findClass(StringView progIdOrClsid) {
  for (const ClassInfo& c : libraryClasses()) {
    if (!c.creatable) continue;
    if (equalsNoCase(c.progId, progIdOrClsid) || equalsNoCase(c.clsid, progIdOrClsid)) return &c;
  }
  return nullptr;
}

ObjectRef createObject(StringView progIdOrClsid) {
  const ClassInfo* c = findClass(progIdOrClsid);
  if (!c)
    raise(err::kCantCreateObject,
          u"ActiveX component can't create object: " + String(progIdOrClsid));
  return c->create();
}

ObjectRef createModel(StringView name) {
  for (const ModelInfo& m : libraryModels())
    if (equalsNoCase(m.type->name, name)) return m.create();
  raise(err::kCantCreateObject, u"ActiveX component can't create object: " + String(name));
}

}  // namespace zv
