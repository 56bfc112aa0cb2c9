// The state file and whole text files, read and written for the application.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/timing_log.h"
#include "seam/state_area.h"

namespace {

const char* const kStateFileName = ".tovrinstate";

// A file of the state area, which the platform places.
std::string state_path(const char* name) { return std::string(state_area_folder()) + name; }

// Writes all of `bytes` to a new file and syncs it: 0, -1 (cannot create) or -2 (short write).
int write_synced(const char* path, const std::string& bytes) {
  FILE* f = std::fopen(path, "wb");
  if (!f) return -1;
  bool ok = bytes.empty() || std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = std::fflush(f) == 0 && ok;
  ok = fsync(fileno(f)) == 0 && ok;
  ok = std::fclose(f) == 0 && ok;
  return ok ? 0 : -2;
}

void sync_folder(const char* folder) {
  int fd = open(*folder ? folder : ".", O_RDONLY | O_DIRECTORY);
  if (fd < 0) return;
  fsync(fd);
  close(fd);
}

// The folder of `name` inside the state area ("" for the area itself), made
// when it is missing and then stored like a file, so that an area kept
// elsewhere has it before the files in it.
std::string make_folder_of(const std::string& name) {
  size_t slash = name.rfind('/');
  if (slash == std::string::npos) return state_area_folder();
  const std::string folder = state_path(name.substr(0, slash).c_str());
  if (mkdir(folder.c_str(), 0755) == 0) {
    sync_folder(state_area_folder());
    state_area_saved(folder.c_str());
  }
  return folder + "/";
}

}  // namespace

// A new file goes to a temporary file beside the old one and replaces it in
// one rename, so a crash or a full disk mid-save never loses what was saved.
int SaveStateAreaFile(const std::string& name, const std::string& bytes) {
  const std::string folder = make_folder_of(name);
  const std::string path = state_path(name.c_str());
  const std::string temp = path + ".tmp";
  int result = write_synced(temp.c_str(), bytes);
  if (result != 0) {
    std::remove(temp.c_str());
    return result;
  }
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return -1;
  }
  sync_folder(folder.c_str());
  state_area_saved(path.c_str());
  return 0;
}

bool LoadStateAreaFile(const std::string& name, size_t limit, std::string* bytes) {
  bytes->clear();
  FILE* f = std::fopen(state_path(name.c_str()).c_str(), "rb");
  if (!f) return false;
  char block[4096];
  size_t n;
  while (bytes->size() < limit && (n = std::fread(block, 1, std::min(sizeof block, limit - bytes->size()), f)) > 0)
    bytes->append(block, n);
  std::fclose(f);
  return true;
}

int gxtkApp::SaveState(String state) {
  int result = SaveStateAreaFile(kStateFileName, state.ToUtf8());
  timinglog::Mark(result == 0 ? "state-saved" : "state-save-failed");
  return result;
}

String gxtkApp::LoadState() {
  FILE* f = std::fopen(state_path(kStateFileName).c_str(), "rb");
  if (!f) return String();
  String state = String::Load(f);
  std::fclose(f);
  return state;
}

String gxtkApp::LoadString(String path) {
  FILE* f = fopenFile(path, String("rb"));
  if (!f) return String();
  String text = String::Load(f);
  std::fclose(f);
  return text;
}
