// Our renderer against SDL2's on the same Mesa, in one run: every scene is
// drawn by each side in turn, round after round (the order rotating), so that
// whatever else the machine does falls on all sides alike. Each frame is timed
// from the first draw call to the end of glFinish; the submission, from the
// first draw call until everything is handed to GL, in wall time and in the
// drawing thread's CPU time.
//
// Under callgrind (started with --collect-atstart=no) only the submissions of
// the measured rounds are counted, so instructions per sprite can be read off
// repeatably however busy the machine is.
//
//   vw_render_bench [--frames DIR] [--rounds N] [--warmup N] [--sprites N]
//                   [--only SIDE] [--scene NAME] [--shots DIR] [--markdown FILE]
#include <GL/gl.h>
#include <stb_image_write.h>
#include <time.h>
#include <valgrind/callgrind.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "side.h"

namespace renderbench {

namespace {

struct Options {
  std::string framesDir;
  std::string only, scene, shots, markdown;
  int rounds = 100, warmup = 10, sprites = 5000;
};

struct Scene {
  std::string name;
  std::function<bool(Side&)> prepare;
  std::function<void(Side&)> draw;
};

struct Sample {
  double submitWall, submitCpu, frame;  // seconds
};

double Seconds(clockid_t clock) {
  timespec ts;
  clock_gettime(clock, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

Sample TimeFrame(Side& side, const Scene& scene, bool counted) {
  side.Activate();
  side.BeginFrame();
  glFinish();
  double t0 = Seconds(CLOCK_MONOTONIC), c0 = Seconds(CLOCK_THREAD_CPUTIME_ID);
  if (counted) CALLGRIND_TOGGLE_COLLECT;
  scene.draw(side);
  side.Submit();
  if (counted) CALLGRIND_TOGGLE_COLLECT;
  double t1 = Seconds(CLOCK_MONOTONIC), c1 = Seconds(CLOCK_THREAD_CPUTIME_ID);
  glFinish();
  double t2 = Seconds(CLOCK_MONOTONIC);
  side.Present();
  return {t1 - t0, c1 - c0, t2 - t0};
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

struct Result {
  std::string side;
  double frame, submitWall, submitCpu;  // medians, milliseconds
};

std::vector<Result> Measure(std::vector<std::unique_ptr<Side>>& sides, const Scene& scene, const Options& opt) {
  size_t n = sides.size();
  std::vector<std::vector<Sample>> samples(n);
  for (int round = 0; round < opt.warmup + opt.rounds; ++round) {
    for (size_t k = 0; k < n; ++k) {
      size_t i = (k + static_cast<size_t>(round)) % n;  // each side takes each place in turn
      Sample s = TimeFrame(*sides[i], scene, round >= opt.warmup && RUNNING_ON_VALGRIND);
      if (round >= opt.warmup) samples[i].push_back(s);
    }
  }
  std::vector<Result> results;
  for (size_t i = 0; i < n; ++i) {
    std::vector<double> frame, wall, cpu;
    for (const Sample& s : samples[i]) {
      frame.push_back(s.frame * 1e3);
      wall.push_back(s.submitWall * 1e3);
      cpu.push_back(s.submitCpu * 1e3);
    }
    results.push_back({sides[i]->Name(), Median(frame), Median(wall), Median(cpu)});
  }
  return results;
}

// One more frame of the scene from each side, read back and written as a PNG.
void Shoot(std::vector<std::unique_ptr<Side>>& sides, const Scene& scene, const std::string& dir) {
  std::vector<unsigned char> rgba(640 * 480 * 4), flipped(rgba.size());
  for (auto& side : sides) {
    side->Activate();
    side->BeginFrame();
    scene.draw(*side);
    side->Submit();
    glFinish();
    glReadPixels(0, 0, 640, 480, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    for (int y = 0; y < 480; ++y) std::memcpy(&flipped[y * 640 * 4], &rgba[(479 - y) * 640 * 4], 640 * 4);
    for (size_t i = 3; i < flipped.size(); i += 4) flipped[i] = 255;
    std::string path = dir + "/" + scene.name + "-" + side->Name() + ".png";
    stbi_write_png(path.c_str(), 640, 480, 4, flipped.data(), 640 * 4);
    side->Present();
  }
}

std::string Table(const std::string& scene, const std::vector<Result>& results) {
  char line[512];
  std::string out = "\n### " + scene + "\n\n";
  out += "| renderer | frame ms | submission ms | submission CPU ms | frame ratio | submission CPU ratio |\n";
  out += "|---|---|---|---|---|---|\n";
  const Result& ours = results.front();
  for (const Result& r : results) {
    std::snprintf(line, sizeof line, "| %s | %.3f | %.3f | %.3f | %s | %s |\n", r.side.c_str(), r.frame,
                  r.submitWall, r.submitCpu, r.side == ours.side ? "1" : (std::to_string(ours.frame / r.frame).substr(0, 5) + "x").c_str(),
                  r.side == ours.side ? "1" : (std::to_string(ours.submitCpu / r.submitCpu).substr(0, 5) + "x").c_str());
    out += line;
  }
  return out;
}

std::vector<Scene> Scenes(const Options& opt, const SpriteScene& sprites, std::vector<frames::DisplayList>& lists) {
  std::vector<Scene> scenes;
  scenes.push_back({"sprites", [](Side&) { return true; }, [&sprites](Side& s) { s.DrawSprites(sprites); }});
  if (opt.framesDir.empty()) return scenes;
  std::vector<std::string> files = frames::ListFiles(opt.framesDir);
  lists.resize(files.size());
  for (size_t i = 0; i < files.size(); ++i) {
    std::string error;
    if (!frames::Read(files[i], &lists[i], &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      std::exit(1);
    }
    const frames::DisplayList* list = &lists[i];
    std::string dir = opt.framesDir;
    scenes.push_back({list->name, [list, dir](Side& s) { return s.PrepareList(*list, dir); },
                      [list](Side& s) { s.DrawList(*list); }});
  }
  return scenes;
}

Options Parse(int argc, char** argv) {
  Options opt;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string key = argv[i], value = argv[i + 1];
    if (key == "--frames") opt.framesDir = value;
    else if (key == "--rounds") opt.rounds = std::atoi(value.c_str());
    else if (key == "--warmup") opt.warmup = std::atoi(value.c_str());
    else if (key == "--sprites") opt.sprites = std::atoi(value.c_str());
    else if (key == "--only") opt.only = value;
    else if (key == "--scene") opt.scene = value;
    else if (key == "--shots") opt.shots = value;
    else if (key == "--markdown") opt.markdown = value;
    else {
      std::fprintf(stderr, "unknown option %s\n", key.c_str());
      std::exit(2);
    }
  }
  return opt;
}

int Run(const Options& opt) {
  std::vector<std::unique_ptr<Side>> sides;
  if (opt.only.empty() || opt.only == "ours") sides.push_back(MakeOurSide());
  if (opt.only.empty() || opt.only == "sdl2-default") sides.push_back(MakeSdlSide(false));
  if (opt.only.empty() || opt.only == "sdl2-batched") sides.push_back(MakeSdlSide(true));
  SpriteScene sprites = MakeSpriteScene(opt.sprites);
  for (auto& side : sides) {
    side->Activate();
    if (!side->PrepareSprites(sprites)) {
      std::fprintf(stderr, "%s cannot load the sprite sheet\n", side->Name());
      return 1;
    }
  }
  std::vector<frames::DisplayList> lists;
  std::string report;
  for (const Scene& scene : Scenes(opt, sprites, lists)) {
    if (!opt.scene.empty() && scene.name != opt.scene) continue;
    for (auto& side : sides) {
      side->Activate();
      if (!scene.prepare(*side)) {
        std::fprintf(stderr, "%s cannot prepare %s\n", side->Name(), scene.name.c_str());
        return 1;
      }
    }
    std::string table = Table(scene.name, Measure(sides, scene, opt));
    std::fputs(table.c_str(), stdout);
    std::fflush(stdout);
    report += table;
    if (!opt.shots.empty()) Shoot(sides, scene, opt.shots);
  }
  if (!opt.markdown.empty()) {
    FILE* f = std::fopen(opt.markdown.c_str(), "w");
    if (f) {
      std::fputs(report.c_str(), f);
      std::fclose(f);
    }
  }
  return 0;
}

}  // namespace

}  // namespace renderbench

int main(int argc, char** argv) { return renderbench::Run(renderbench::Parse(argc, argv)); }
