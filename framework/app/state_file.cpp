// The state file and whole text files, read and written for the application.
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/app.h"
#include "app/timing_log.h"
#include "seam/state_area.h"

namespace {

const char* const kStateFileName = ".tovrinstate";
const char* const kStateTempName = ".tovrinstate.tmp";

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

// The new state goes to a temporary file beside the old one and replaces it in
// one rename, so a crash or a full disk mid-save never loses the saved state.
int replace_state_file(const std::string& bytes) {
  const std::string temp = state_path(kStateTempName);
  int result = write_synced(temp.c_str(), bytes);
  if (result != 0) {
    std::remove(temp.c_str());
    return result;
  }
  const std::string path = state_path(kStateFileName);
  if (std::rename(temp.c_str(), path.c_str()) != 0) {
    std::remove(temp.c_str());
    return -1;
  }
  sync_folder(state_area_folder());
  state_area_saved(path.c_str());
  return 0;
}

}  // namespace

int gxtkApp::SaveState(String state) {
  int result = replace_state_file(state.ToUtf8());
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
