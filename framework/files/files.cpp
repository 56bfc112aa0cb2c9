// Logical data paths and opening files by them.
#include "files/files.h"

#include <cstdio>
#include <cstring>

namespace {

struct Area {
  const char* prefix;
  const char* folder;
};

const Area kAreas[] = {
    {"tovrin://data/", "./data/"},
    {"tovrin://internal/", "./internal/"},
    {"tovrin://external/", "./external/"},
};

}  // namespace

String bb_data_FixDataPath(String path) {
  int i = path.Find(String(":/"));
  if (i != -1 && path.Find(String("/")) == i + 1) return path;
  if (path.StartsWith(String("./")) || path.StartsWith(String("/"))) return path;
  return String("tovrin://data/") + path;
}

FILE* fopenFile(String path, String mode) {
  if (path.StartsWith(String("tovrin://"))) {
    const Area* area = nullptr;
    for (const Area& a : kAreas)
      if (path.StartsWith(String(a.prefix))) area = &a;
    if (!area) return nullptr;
    path = String(area->folder) + path.Slice(static_cast<int>(std::strlen(area->prefix)));
  }
  // Paths are UTF-8 on this system.
  return std::fopen(path.ToUtf8().c_str(), mode.ToCString().c_str());
}

