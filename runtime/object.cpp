// The collected object root's default debug text.
#include "runtime/object.h"

namespace {

// Made once, before main, so that handing it out only adds a reference.
const String kObjectDebugText("+Object\n");

}  // namespace

String Object::debug() { return kObjectDebugText; }
