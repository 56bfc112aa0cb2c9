// A frame of the game as a file: its display-list records, the scale the
// render applied, and the images the records draw (frames, handles and the
// sheet each one is cut from, the sheets as PNG files beside the list). The
// render comparison replays these through our renderer and through SDL2.
#pragma once

#include <string>
#include <vector>

namespace frames {

// One display-list record as the game's render replays it.
struct Record {
  float kind, x, y, rot, w, h, frame, alpha, r, g, b;
};

// Marker kinds of records that draw no image.
constexpr float kRectKind = -3717.0f;
constexpr float kOvalKind = -3716.0f;

// A texture sheet: PNG file (straight alpha) named relative to the list.
struct Sheet {
  int id = 0;
  std::string file;
  int width = 0, height = 0;
};

struct Image {
  int slot = 0;
  int sheet = 0;  // Sheet::id
  int width = 0, height = 0;
  float handleX = 0, handleY = 0;
  int flags = 0;
  std::vector<int> frames;  // x0, y0, x1, y1, ... in sheet pixels
};

struct DisplayList {
  std::string name;
  int windowWidth = 640, windowHeight = 480;
  float scaleX = 1, scaleY = 1, assetInvScale = 1;
  float clear[4] = {0, 0, 0, 1};  // r, g, b on 0..255, alpha
  std::vector<Sheet> sheets;
  std::vector<Image> images;
  std::vector<Record> records;

  const Image* ImageAt(int slot) const;
};

// Writes `list` to `path`; false when the file cannot be written.
bool Write(const DisplayList& list, const std::string& path);
// Reads a list written by Write; false (and `error` set) on a malformed file.
bool Read(const std::string& path, DisplayList* list, std::string* error);
// Every "*.vwdl" file of `dir`, sorted by name.
std::vector<std::string> ListFiles(const std::string& dir);

}  // namespace frames
