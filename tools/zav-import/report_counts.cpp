#include "report_counts.h"

#include <array>

namespace zav::cli {
namespace {

constexpr std::array<ReportCountColumn, 12> kColumns = {{
    {"lines", "lines", "", [](const ReportCounts& c) { return c.lines; }},
    {"output lines", "output lines", "", [](const ReportCounts& c) { return c.outputLines; }},
    {"models", "models", "", [](const ReportCounts& c) { return c.stats.models; }},
    {"subcircuits", "subckts", "", [](const ReportCounts& c) { return c.stats.subcircuits; }},
    {"partial models", "partial", "w", [](const ReportCounts& c) { return c.stats.partial; }},
    {"errors", "errors", "e", [](const ReportCounts& c) { return c.stats.errors; }},
    {"warnings", "warnings", "w", [](const ReportCounts& c) { return c.stats.warnings; }},
    {"info", "info", "i", [](const ReportCounts& c) { return c.stats.infos; }},
    {"parameters renamed", "params renamed", "", [](const ReportCounts& c) { return c.stats.renamed; }},
    {"parameters moved", "params moved", "", [](const ReportCounts& c) { return c.stats.moved; }},
    {"parameters commented out", "params commented", "", [](const ReportCounts& c) { return c.stats.paramsCommented; }},
    {"cards commented out", "cards commented", "", [](const ReportCounts& c) { return c.stats.cardsCommented; }},
}};

}  // namespace

void ReportCounts::Add(const ReportCounts& other) {
  lines += other.lines;
  outputLines += other.outputLines;
  stats.Add(other.stats);
}

std::span<const ReportCountColumn> ReportCountColumns() { return kColumns; }

}  // namespace zav::cli
