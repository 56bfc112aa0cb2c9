// The collected object root and the runtime's umbrella header.
#pragma once

#include "runtime/array.h"
#include "runtime/gc.h"
#include "runtime/string.h"

class Object : public gc_object {
 public:
  // Identity: true only for the same object.
  virtual bool Equals(Object* other) { return this == other; }
  // Only the sign is meaningful: the order of the two addresses.
  virtual int Compare(Object* other) {
    return this < other ? -1 : (this > other ? 1 : 0);
  }
  virtual String debug() { return String("+Object\n"); }
};

// Root of the program's own exceptions; uncaught ones end the run in an orderly way.
class ThrowableObject : public Object {};

// Base of the host layer's objects (application, devices, surfaces, samples).
class gxtkObject : public Object {};
