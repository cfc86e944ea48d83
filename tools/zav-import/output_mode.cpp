#include "output_mode.h"

#include <cstdio>

#include "output_writer.h"
#include "session/import_session.h"
#include "text/joining_appender.h"

namespace zav::cli {

void StandardOutput::Write(std::string_view text) {
  if (text.empty()) return;
  std::fwrite(text.data(), 1, text.size(), stdout);
  endsLine_ = text.back() == '\n';
}

void StandardOutput::StartFile() {
  if (!endsLine_) Write("\n");
}

namespace {

// Translated texts are written a block of models at a time: a library has
// models by the ten thousand, most of a few lines, and a write costs more
// than building one.
constexpr std::size_t kWriteBlock = 64 * 1024;

// The translated texts of every file, one after the other. One file at a
// time, each model's text is written as soon as it is built. With files
// imported side by side, a file's texts are built as soon as it is imported
// and its import goes: held until the file's turn, an import takes several
// times the room of its texts.
class TextsToStandardOutput final : public OutputMode {
 public:
  TextsToStandardOutput(StandardOutput& out, bool sideBySide) : out_(out), sideBySide_(sideBySide) {}
  bool Prepare(ConvertedFile& file, std::string&) override {
    if (!sideBySide_) return true;
    JoiningAppender appender(file.prepared);
    for (ZAV_MODEL model : file.models) FileImport::AppendModelText(model, appender);
    appender.Flush();
    return true;
  }
  bool Write(const ConvertedFile& file, std::string&) override {
    out_.StartFile();
    if (sideBySide_) {
      out_.Write(file.prepared);
      return true;
    }
    text_.clear();
    // Models as read follow each other in the file's buffer: the appender
    // joins them, and what it holds back counts towards the block.
    JoiningAppender appender(text_);
    for (ZAV_MODEL model : file.models) {
      FileImport::AppendModelText(model, appender);
      if (text_.size() + appender.waiting() >= kWriteBlock) {
        appender.Flush();
        out_.Write(text_);
        text_.clear();
      }
    }
    appender.Flush();
    out_.Write(text_);
    return true;
  }
  bool WriteReadsImport() const override { return !sideBySide_; }

 private:
  StandardOutput& out_;
  bool sideBySide_;
  std::string text_;
};

// The translated texts of each file into its own output file, written while
// the texts are built (on the thread that imported the file).
class TextsToFiles final : public OutputMode {
 public:
  bool Prepare(ConvertedFile& file, std::string& error) override {
    std::string text;
    return WriteFileAtomically(
        file.outputPath,
        [&](std::FILE* out) {
          auto write = [&] { return text.empty() || std::fwrite(text.data(), 1, text.size(), out) == text.size(); };
          JoiningAppender appender(text);
          for (ZAV_MODEL model : file.models) {
            FileImport::AppendModelText(model, appender);
            if (text.size() + appender.waiting() >= kWriteBlock) {
              appender.Flush();
              if (!write()) return false;
              text.clear();
            }
          }
          appender.Flush();
          return write();
        },
        error);
  }
  bool Write(const ConvertedFile&, std::string&) override { return true; }
  bool WriteReadsImport() const override { return false; }
};

// One line per model: name, kind, start line and completeness.
class ModelList final : public OutputMode {
 public:
  ModelList(StandardOutput& out, bool severalFiles) : out_(out), severalFiles_(severalFiles) {}
  bool NeedsModelFacts() const override { return true; }
  bool Prepare(ConvertedFile& file, std::string&) override {
    for (std::size_t m = 0; m < file.lineMap->size(); ++m) {
      const ModelFacts& facts = file.lineMap->Facts(m);
      if (severalFiles_) file.prepared += file.name + "\t";
      file.prepared += facts.name + "\t" + facts.kind + "\t" + std::to_string(facts.line) + "\t" +
                       (*file.completeness)[m].Describe() + "\n";
    }
    return true;
  }
  bool Write(const ConvertedFile& file, std::string&) override {
    out_.Write(file.prepared);
    return true;
  }
  bool WriteReadsImport() const override { return false; }

 private:
  StandardOutput& out_;
  bool severalFiles_;
};

// The library's debug listing of each import.
class SessionDump final : public OutputMode {
 public:
  SessionDump(StandardOutput& out, bool severalFiles) : out_(out), severalFiles_(severalFiles) {}
  bool Write(const ConvertedFile& file, std::string&) override {
    if (severalFiles_) out_.Write("==> " + file.name + " <==\n");
    std::fflush(stdout);
    file.import->Session().Dump(stdout);
    std::fflush(stdout);
    return true;
  }

 private:
  StandardOutput& out_;
  bool severalFiles_;
};

// Vetting only (--check): the texts are not even built.
class NoOutput final : public OutputMode {
 public:
  bool Write(const ConvertedFile&, std::string&) override { return true; }
  bool WriteReadsImport() const override { return false; }
};

}  // namespace

std::unique_ptr<OutputMode> MakeOutputMode(const Options& options, bool severalFiles, bool sideBySide,
                                           StandardOutput& out) {
  if (options.list) return std::make_unique<ModelList>(out, severalFiles);
  if (options.dump) return std::make_unique<SessionDump>(out, severalFiles);
  if (options.check) return std::make_unique<NoOutput>();
  if (!options.output.empty()) return std::make_unique<TextsToFiles>();
  return std::make_unique<TextsToStandardOutput>(out, sideBySide);
}

}  // namespace zav::cli
