// The progress bar on standard error.
#pragma once

#include <chrono>
#include <cstdint>
#include <cstdio>

#include "options.h"

namespace zav::cli {

// Draws "files done, megabytes done, rate, time left" on one terminal line.
// In the automatic mode it appears only on a terminal and only once the work
// has run for a while, so small conversions and pipes never see it.
class Progress {
 public:
  Progress(ProgressMode mode, std::FILE* out, std::size_t totalFiles, std::uintmax_t totalBytes);
  ~Progress();

  // Called after each file.
  void Advance(std::uintmax_t bytes);
  // Wipes the line so that other output can be written; the next Advance
  // draws it again.
  void Clear();
  void Finish();

 private:
  using Clock = std::chrono::steady_clock;

  void Draw();

  bool enabled_ = false;
  bool alwaysShow_ = false;
  bool drawn_ = false;
  std::FILE* out_;
  std::size_t totalFiles_;
  std::uintmax_t totalBytes_;
  std::size_t filesDone_ = 0;
  std::uintmax_t bytesDone_ = 0;
  Clock::time_point start_;
  Clock::time_point lastDraw_;
};

// True when the stream is a terminal.
bool IsTerminal(std::FILE* stream);

}  // namespace zav::cli
