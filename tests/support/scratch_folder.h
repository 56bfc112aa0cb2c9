// A fresh folder under /tmp that is the working directory for as long as the
// object lives: tests that read and write files by relative path (the state
// file, data/) get a folder of their own, and the previous working directory
// comes back afterwards. The folder goes with everything in it; a link to the
// repository's data/ is removed, not what it points to.
#pragma once

#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <string>

class ScratchFolder {
 public:
  // `prefix` names the folder (/tmp/PREFIX-XXXXXX); with `linkData`, a data/
  // link to the repository's assets is made in it (to VW_DATA_DIR instead,
  // when set: the benchmarks measure with assets the repository lacks).
  explicit ScratchFolder(const char* prefix, bool linkData = false) {
    char cwd[4096];
    if (getcwd(cwd, sizeof cwd)) saved_ = cwd;
    std::string templ = std::string("/tmp/") + prefix + "-XXXXXX";
    if (!mkdtemp(templ.data())) return;
    path_ = templ;
    const char* data = getenv("VW_DATA_DIR");
    if (!data || !*data) data = VW_SOURCE_DIR "/data";
    bool ready = !saved_.empty() && (!linkData || symlink(data, (path_ + "/data").c_str()) == 0) &&
                 chdir(path_.c_str()) == 0;
    entered_ = ready;
  }

  ~ScratchFolder() {
    if (entered_ && chdir(saved_.c_str()) != 0) return;  // never remove the folder we stand in
    if (!path_.empty()) std::filesystem::remove_all(path_);
  }

  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  // Whether the folder was made (and linked) and is the working directory.
  bool ok() const { return entered_; }
  const std::string& path() const { return path_; }

 private:
  std::string saved_, path_;
  bool entered_ = false;
};
