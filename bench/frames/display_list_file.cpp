// Display-list files: a line-based text format, one keyword per line.
//
//   vwdl 1 <name>
//   window <w> <h>
//   scale <sx> <sy> <assetInvScale>
//   clear <r> <g> <b> <a>
//   sheet <id> <w> <h> <file>
//   image <slot> <sheet> <w> <h> <handleX> <handleY> <flags> <n> <x0> <y0> ...
//   record <kind> <x> <y> <rot> <w> <h> <frame> <alpha> <r> <g> <b>
#include "display_list_file.h"

#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace frames {

const Image* DisplayList::ImageAt(int slot) const {
  for (const Image& image : images)
    if (image.slot == slot) return &image;
  return nullptr;
}

bool Write(const DisplayList& list, const std::string& path) {
  std::ofstream out(path);
  if (!out) return false;
  out.precision(9);  // floats survive the round trip exactly
  out << "vwdl 1 " << list.name << "\n";
  out << "window " << list.windowWidth << " " << list.windowHeight << "\n";
  out << "scale " << list.scaleX << " " << list.scaleY << " " << list.assetInvScale << "\n";
  out << "clear " << list.clear[0] << " " << list.clear[1] << " " << list.clear[2] << " " << list.clear[3] << "\n";
  for (const Sheet& s : list.sheets) out << "sheet " << s.id << " " << s.width << " " << s.height << " " << s.file << "\n";
  for (const Image& i : list.images) {
    out << "image " << i.slot << " " << i.sheet << " " << i.width << " " << i.height << " " << i.handleX << " "
        << i.handleY << " " << i.flags << " " << i.frames.size() / 2;
    for (int v : i.frames) out << " " << v;
    out << "\n";
  }
  for (const Record& r : list.records) {
    out << "record " << r.kind << " " << r.x << " " << r.y << " " << r.rot << " " << r.w << " " << r.h << " "
        << r.frame << " " << r.alpha << " " << r.r << " " << r.g << " " << r.b << "\n";
  }
  return static_cast<bool>(out);
}

namespace {

bool ReadLine(const std::string& key, std::istringstream& in, DisplayList* list) {
  if (key == "window") return static_cast<bool>(in >> list->windowWidth >> list->windowHeight);
  if (key == "scale") return static_cast<bool>(in >> list->scaleX >> list->scaleY >> list->assetInvScale);
  if (key == "clear") return static_cast<bool>(in >> list->clear[0] >> list->clear[1] >> list->clear[2] >> list->clear[3]);
  if (key == "sheet") {
    Sheet s;
    if (!(in >> s.id >> s.width >> s.height >> s.file)) return false;
    list->sheets.push_back(s);
    return true;
  }
  if (key == "image") {
    Image i;
    size_t n = 0;
    if (!(in >> i.slot >> i.sheet >> i.width >> i.height >> i.handleX >> i.handleY >> i.flags >> n)) return false;
    i.frames.resize(n * 2);
    for (int& v : i.frames)
      if (!(in >> v)) return false;
    list->images.push_back(i);
    return true;
  }
  if (key == "record") {
    Record r;
    if (!(in >> r.kind >> r.x >> r.y >> r.rot >> r.w >> r.h >> r.frame >> r.alpha >> r.r >> r.g >> r.b)) return false;
    list->records.push_back(r);
    return true;
  }
  return false;
}

}  // namespace

bool Read(const std::string& path, DisplayList* list, std::string* error) {
  std::ifstream file(path);
  std::string line, key;
  int version = 0;
  if (!std::getline(file, line) || !(std::istringstream(line) >> key >> version >> list->name) || key != "vwdl" ||
      version != 1) {
    *error = path + ": not a display-list file";
    return false;
  }
  for (int number = 2; std::getline(file, line); ++number) {
    std::istringstream in(line);
    if (!(in >> key)) continue;
    if (!ReadLine(key, in, list)) {
      *error = path + ":" + std::to_string(number) + ": cannot read '" + line + "'";
      return false;
    }
  }
  return true;
}

std::vector<std::string> ListFiles(const std::string& dir) {
  std::vector<std::string> files;
  DIR* d = opendir(dir.c_str());
  if (!d) return files;
  while (dirent* e = readdir(d)) {
    std::string name = e->d_name;
    if (name.size() > 5 && name.compare(name.size() - 5, 5, ".vwdl") == 0) files.push_back(dir + "/" + name);
  }
  closedir(d);
  std::sort(files.begin(), files.end());
  return files;
}

}  // namespace frames
