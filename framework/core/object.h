// ZObject: the root of the program's class tree, with a run-time class record per class.
#pragma once

#include <cstdint>

// One static record per class: its name, object size, schema and base. Nothing is creatable by name.
struct ZRuntimeClass {
  const char* className;
  int32_t objectSize;
  uint32_t schema;                  // 0xFFFF throughout the program
  void* (*createObject)();          // always null
  const ZRuntimeClass* baseClass;   // null only for the root

  // True when this record is `other` or derives from it.
  bool IsDerivedFrom(const ZRuntimeClass* other) const {
    for (const ZRuntimeClass* c = this; c != nullptr; c = c->baseClass) {
      if (c == other) return true;
    }
    return false;
  }
};

// Declares the class record and GetRuntimeClass of a class; goes in the class body.
#define Z_DECLARE_CLASS(name)                              \
 public:                                                   \
  static const ZRuntimeClass classRecord;                  \
  const ZRuntimeClass* GetRuntimeClass() const override { return &name::classRecord; }

// Defines the class record; goes in the class's source file.
#define Z_IMPLEMENT_CLASS(name, base) \
  const ZRuntimeClass name::classRecord = {#name, static_cast<int32_t>(sizeof(name)), 0xFFFF, nullptr, &base::classRecord};

class ZObject {
 public:
  static const ZRuntimeClass classRecord;
  virtual const ZRuntimeClass* GetRuntimeClass() const { return &ZObject::classRecord; }
  virtual ~ZObject() = default;
  // The platform root class's three no-ops (serialise, validity check, dump); nobody overrides them.
  virtual void Serialize() {}
  virtual void AssertValid() const {}
  virtual void Dump() const {}

  bool IsKindOf(const ZRuntimeClass* cls) const { return GetRuntimeClass()->IsDerivedFrom(cls); }
};

// Checked down-cast by class record; null when `obj` is null or not of that class.
template <typename T>
T* ZDynamicCast(ZObject* obj) {
  return (obj != nullptr && obj->IsKindOf(&T::classRecord)) ? static_cast<T*>(obj) : nullptr;
}
