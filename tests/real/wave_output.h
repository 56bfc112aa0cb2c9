// OpenAL Soft's wave-file backend, for the tests that listen to what really
// comes out: a configuration that sends the mix to a file, a child run of a
// program with it, and the file read back as float samples.
#pragma once

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <algorithm>
#include <string>
#include <vector>

extern char** environ;

namespace waveout {

struct Output {
  int channels = 0;
  int rate = 0;
  std::vector<float> samples;  // interleaved
};

inline uint32_t le32(const std::vector<unsigned char>& b, size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
}

// Reads the backend's output: 32-bit float (plain or extensible) or 16-bit PCM.
inline bool read_output(const std::string& path, Output* out) {
  std::vector<unsigned char> b;
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  int c;
  while ((c = std::fgetc(f)) != EOF) b.push_back(static_cast<unsigned char>(c));
  std::fclose(f);
  if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0) return false;
  int bits = 0;
  for (size_t at = 12; at + 8 <= b.size();) {
    uint32_t size = le32(b, at + 4);
    size_t body = at + 8;
    if (std::memcmp(&b[at], "fmt ", 4) == 0) {
      out->channels = b[body + 2] | (b[body + 3] << 8);
      out->rate = static_cast<int>(le32(b, body + 4));
      bits = b[body + 14] | (b[body + 15] << 8);
    } else if (std::memcmp(&b[at], "data", 4) == 0) {
      // A run cut short leaves the size unwritten: read what is there.
      size_t end = size ? std::min(b.size(), body + size) : b.size();
      for (size_t i = body; i + bits / 8 <= end; i += bits / 8) {
        if (bits == 32) {
          float v;
          std::memcpy(&v, &b[i], 4);
          out->samples.push_back(v);
        } else if (bits == 16) {
          out->samples.push_back(static_cast<int16_t>(b[i] | (b[i + 1] << 8)) / 32768.0f);
        } else {
          return false;
        }
      }
      return out->channels > 0;
    }
    at = body + size + (size & 1);
  }
  return false;
}

// Writes a configuration for a stereo mix at `rate` into `wav`; returns its path.
inline std::string write_config(const std::string& dir, const std::string& wav, int rate = 44100) {
  std::string conf = dir + "/alsoft.conf";
  FILE* f = std::fopen(conf.c_str(), "w");
  if (!f) return conf;
  std::fprintf(f, "[general]\nchannels = stereo\nhrtf = false\nfrequency = %d\n[wave]\nfile = %s\n", rate,
               wav.c_str());
  std::fclose(f);
  return conf;
}

// Starts `argv` with OpenAL Soft sent to the wave backend under `conf`, the
// rest of the environment as it is plus `extra` ("NAME=value"); returns the
// child's process id, or -1.
inline pid_t spawn_with_wave(const std::vector<std::string>& argv, const std::string& conf,
                             const std::vector<std::string>& extra = {}) {
  std::vector<std::string> env_text = {"ALSOFT_DRIVERS=wave", "ALSOFT_CONF=" + conf};
  env_text.insert(env_text.end(), extra.begin(), extra.end());
  for (char** e = environ; *e; ++e)
    if (std::strncmp(*e, "ALSOFT_", 7) != 0) env_text.push_back(*e);
  std::vector<char*> env, args;
  for (std::string& s : env_text) env.push_back(&s[0]);
  env.push_back(nullptr);
  std::vector<std::string> argv_text = argv;
  for (std::string& s : argv_text) args.push_back(&s[0]);
  args.push_back(nullptr);
  pid_t pid = -1;
  if (posix_spawn(&pid, argv_text[0].c_str(), nullptr, nullptr, args.data(), env.data()) != 0) return -1;
  return pid;
}

// Waits for the child, at most `seconds` (then it is killed); true when it
// exited with 0.
inline bool exited_cleanly(pid_t pid, double seconds = 60) {
  int status = 0;
  for (int waited = 0; waited < seconds * 20; ++waited) {
    if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) && WEXITSTATUS(status) == 0;
    usleep(50000);
  }
  kill(pid, SIGKILL);
  waitpid(pid, &status, 0);
  return false;
}

}  // namespace waveout
