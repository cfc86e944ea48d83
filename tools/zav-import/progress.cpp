#include "progress.h"

#include <algorithm>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace zav::cli {
namespace {

// Work that finishes sooner than this shows no bar in the automatic mode.
constexpr std::chrono::milliseconds kQuietStart{500};
constexpr std::chrono::milliseconds kRedrawInterval{100};
constexpr int kBarWidth = 24;

std::string FormatDuration(double seconds) {
  const long total = static_cast<long>(seconds + 0.5);
  char text[32];
  if (total >= 3600) {
    std::snprintf(text, sizeof text, "%ld:%02ld:%02ld", total / 3600, total / 60 % 60, total % 60);
  } else {
    std::snprintf(text, sizeof text, "%ld:%02ld", total / 60, total % 60);
  }
  return text;
}

}  // namespace

bool IsTerminal(std::FILE* stream) {
#ifdef _WIN32
  return _isatty(_fileno(stream)) != 0;
#else
  return ::isatty(::fileno(stream)) != 0;
#endif
}

Progress::Progress(ProgressMode mode, std::FILE* out, std::size_t totalFiles, std::uintmax_t totalBytes)
    : out_(out), totalFiles_(totalFiles), totalBytes_(totalBytes), start_(Clock::now()), lastDraw_(start_) {
  enabled_ = mode == ProgressMode::Always || (mode == ProgressMode::Auto && IsTerminal(out));
  alwaysShow_ = mode == ProgressMode::Always;
}

Progress::~Progress() { Finish(); }

void Progress::Advance(std::uintmax_t bytes) {
  ++filesDone_;
  bytesDone_ += bytes;
  if (!enabled_) return;
  const Clock::time_point now = Clock::now();
  if (!alwaysShow_ && now - start_ < kQuietStart) return;
  if (drawn_ && now - lastDraw_ < kRedrawInterval && filesDone_ < totalFiles_) return;
  lastDraw_ = now;
  Draw();
}

void Progress::Clear() {
  if (!drawn_) return;
  std::fputs("\r\033[K", out_);
  std::fflush(out_);
  drawn_ = false;
}

void Progress::Finish() {
  Clear();
  enabled_ = false;
}

void Progress::Draw() {
  const double elapsed = std::chrono::duration<double>(Clock::now() - start_).count();
  const double megabytes = static_cast<double>(bytesDone_) / 1e6;
  const double totalMegabytes = static_cast<double>(totalBytes_) / 1e6;
  const double rate = elapsed > 0 ? megabytes / elapsed : 0.0;
  double fraction = totalBytes_ > 0 ? static_cast<double>(bytesDone_) / static_cast<double>(totalBytes_)
                                    : static_cast<double>(filesDone_) / static_cast<double>(std::max<std::size_t>(totalFiles_, 1));
  fraction = std::clamp(fraction, 0.0, 1.0);

  std::string bar(kBarWidth, ' ');
  const int filled = static_cast<int>(fraction * kBarWidth);
  std::fill(bar.begin(), bar.begin() + filled, '=');
  if (filled < kBarWidth) bar[static_cast<std::size_t>(filled)] = '>';

  std::string left = "--:--";
  if (rate > 0 && fraction > 0) left = FormatDuration((totalMegabytes - megabytes) / rate);

  std::fprintf(out_, "\r\033[K[%s] %zu/%zu files  %.1f/%.1f MB  %.1f MB/s  %s left", bar.c_str(), filesDone_,
               totalFiles_, megabytes, totalMegabytes, rate, left.c_str());
  std::fflush(out_);
  drawn_ = true;
}

}  // namespace zav::cli
