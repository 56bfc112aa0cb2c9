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
  // The debugger stop asks for this, possibly inside a signal handler: it
  // must not allocate (the default shares one string made at start-up).
  virtual String debug();
};

// Root of the program's own exceptions; uncaught ones end the run in an orderly way.
class ThrowableObject : public Object {};

// Base of the host layer's objects (application, devices, surfaces, samples).
class gxtkObject : public Object {};
