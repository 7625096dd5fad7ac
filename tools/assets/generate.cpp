#include "generate.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <fstream>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "audio_assets.h"
#include "canvas.h"
#include "contact.h"
#include "host/data_marker.h"
#include "sheets.h"

namespace assets {
namespace {

namespace fs = std::filesystem;
using Job = std::function<void()>;

// Runs the jobs on a few threads, each taking the next job in order; returns the first error.
std::string RunJobs(const std::vector<Job>& jobs, int threads) {
  std::atomic<size_t> next{0};
  std::mutex errorLock;
  std::string error;
  auto worker = [&] {
    for (size_t i = next++; i < jobs.size(); i = next++) {
      try {
        jobs[i]();
      } catch (const std::exception& e) {
        std::lock_guard<std::mutex> lock(errorLock);
        if (error.empty()) error = e.what();
      }
    }
  };
  std::vector<std::thread> pool;
  for (int t = 0; t < threads; ++t) pool.emplace_back(worker);
  for (auto& thread : pool) thread.join();
  return error;
}

void Require(bool ok, const std::string& what) {
  if (!ok) throw std::runtime_error("cannot write " + what);
}

void WriteSheet(const SheetDef& def, int density, const fs::path& dataDir) {
  Sheet sheet(def.image.frameW, def.image.frameH, def.image.frames, def.columns, density);
  for (int i = 0; i < def.image.frames; ++i) {
    def.draw(sheet.BeginFrame(i), i);
    sheet.EndFrame();
  }
  fs::path path = dataDir / (std::string(def.image.name) + DensitySuffix(density) + ".png");
  Require(sheet.WritePng(path.string()), path.string());
}

void AddImageJobs(std::vector<Job>& jobs, const fs::path& dataDir) {
  for (const SheetDef& def : ImageSheets()) {
    for (int density : kDensities) {
      if (!def.image.densities && density != 1) continue;
      jobs.push_back([&def, density, dataDir] { WriteSheet(def, density, dataDir); });
    }
  }
}

void AddSoundJobs(std::vector<Job>& jobs, const fs::path& dataDir) {
  for (int i = 0; i < static_cast<int>(TuneNames().size()); ++i) {
    jobs.push_back([i, dataDir] {
      fs::path path = dataDir / "sfx" / (std::string(TuneNames()[i]) + ".ogg");
      Require(WriteOgg(path, ComposeTune(i), 2, kSampleRate), path.string());
    });
  }
  for (int id : EffectIds()) {
    jobs.push_back([id, dataDir] {
      fs::path path = dataDir / EffectFileName(id);
      Require(WriteWav(path, SynthesizeEffect(id), 1, kSampleRate), path.string());
    });
  }
}

// Written last: the game takes a folder for its data only when this marker is there.
bool WriteDataMarker(const fs::path& path) {
  std::ofstream marker(path);
  marker << kDataVersion << "\n";
  return static_cast<bool>(marker.flush());
}

}  // namespace

std::string GenerateAll(const GenerateOptions& options) {
  std::error_code ec;
  // A folder left half written by a failed run must not pass for the game's data.
  fs::remove(options.dataDir / kDataMarkerFile, ec);
  for (const char* sub : {"sfx", "common", "fonts"}) {
    fs::create_directories(options.dataDir / sub, ec);
    if (ec) return "cannot create " + (options.dataDir / sub).string();
  }
  int threads = options.threads > 0
                    ? options.threads
                    : std::max(2, static_cast<int>(std::thread::hardware_concurrency()));
  // The tunes take longest, so they start first and the images fill the other threads.
  std::vector<Job> jobs;
  AddSoundJobs(jobs, options.dataDir);
  AddImageJobs(jobs, options.dataDir);
  std::string error = RunJobs(jobs, threads);
  const fs::path marker = options.dataDir / kDataMarkerFile;
  if (error.empty() && !WriteDataMarker(marker)) error = "cannot write " + marker.string();
  if (!error.empty() || options.contactDir.empty()) return error;

  fs::create_directories(options.contactDir, ec);
  if (ec) return "cannot create " + options.contactDir.string();
  std::vector<Job> contactJobs;
  for (int density : kDensities) {
    contactJobs.push_back([density, &options] {
      fs::path path = options.contactDir / ("contact-" + std::to_string(density) + "x.png");
      Require(WriteContactSheet(options.dataDir, density, path), path.string());
    });
  }
  return RunJobs(contactJobs, threads);
}

}  // namespace assets
