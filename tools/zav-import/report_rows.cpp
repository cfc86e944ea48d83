#include "report_rows.h"

#include <algorithm>
#include <string_view>
#include <utility>

#include "cards/card.h"
#include "file_import.h"
#include "model_facts.h"
#include "session/import_session.h"
#include "subcircuits/subcircuit_model.h"
#include "text/source_line.h"

namespace zav::cli {
namespace {

// A run of output text and the line it came from (0: none known).
struct Piece {
  std::string_view text;
  int number = 0;
};

// The pieces of a card's output, the way Card::OutputText builds it: the
// current texts of its lines until an edit, then its tokens.
void AppendPieces(const Card& card, std::vector<Piece>& pieces) {
  if (!card.changed) {
    for (const SourceLine* line : card.lines) pieces.push_back({line->text, line->number});
    return;
  }
  for (const Token* token = card.tokens.front(); token != nullptr; token = token->next) {
    pieces.push_back({token->text, token->line != nullptr ? token->line->number : 0});
  }
}

void PiecesOf(const ImportedModel& model, std::vector<Piece>& pieces) {
  if (model.origin == ImportedModel::Origin::Subcircuit) {
    for (const Card* card : static_cast<const SubcircuitModel&>(model).cards()) AppendPieces(*card, pieces);
  } else if (model.origin == ImportedModel::Origin::ModelCard) {
    AppendPieces(static_cast<const Card&>(model), pieces);
  }
}

bool Spell(const std::vector<Piece>& pieces, std::string_view text) {
  std::size_t at = 0;
  for (const Piece& piece : pieces) {
    if (text.compare(at, piece.text.size(), piece.text) != 0) return false;
    at += piece.text.size();
  }
  return at == text.size();
}

// Cuts the output into segments and hands each to the row of its line. A
// segment ends after a line feed, and where the output passes from a line
// that was read without a line feed (a piece of a line longer than the
// reader takes at once) to another line: each piece keeps a row of its own.
class RowFiller {
 public:
  RowFiller(std::vector<ReportRow>& rows, const std::vector<bool>& endsLine) : rows_(rows), endsLine_(endsLine) {}

  void Add(const Piece& piece) {
    if (piece.number != 0 && number_ != 0 && piece.number != number_ &&
        !endsLine_[static_cast<std::size_t>(number_ - 1)]) {
      Flush();
    }
    std::string_view text = piece.text;
    while (!text.empty()) {
      const std::size_t feed = text.find('\n');
      const std::string_view part = text.substr(0, feed == std::string_view::npos ? text.size() : feed + 1);
      text.remove_prefix(part.size());
      if (segment_.empty()) segmentFirstLine_ = outputLine_;
      // A segment belongs to the line of its first text; a bare line feed
      // only when nothing else is on its output line.
      if (number_ == 0 && part != "\n") number_ = piece.number;
      segment_.append(part);
      atLineStart_ = part.back() == '\n';
      if (atLineStart_) {
        if (number_ == 0) number_ = piece.number;
        Flush();
        ++outputLine_;
      }
    }
  }

  // Ends the last segment; returns the output's line count.
  int Finish() {
    Flush();
    return atLineStart_ ? outputLine_ - 1 : outputLine_;
  }

 private:
  void Flush() {
    if (segment_.empty()) return;
    int number = number_ != 0 ? number_ : last_;
    if (number < 1 || static_cast<std::size_t>(number) > rows_.size()) number = static_cast<int>(rows_.size());
    ReportRow& row = rows_[static_cast<std::size_t>(number - 1)];
    if (row.firstOutputLine == 0) row.firstOutputLine = segmentFirstLine_;
    row.lastOutputLine = outputLine_;
    row.output += segment_;
    last_ = number;
    segment_.clear();
    number_ = 0;
  }

  std::vector<ReportRow>& rows_;
  const std::vector<bool>& endsLine_;
  std::string segment_;
  int number_ = 0;      // the line the segment goes to; 0 while unknown
  int last_ = 1;        // the line the segment before went to
  int outputLine_ = 1;  // the output line that text added next is on
  int segmentFirstLine_ = 1;
  bool atLineStart_ = true;
};

RowChange Classify(const std::string& input, const std::string& output) {
  if (output.empty()) return RowChange::Missing;
  if (output == input) return RowChange::Same;
  if (output.size() == input.size() + 2 && output.compare(0, 2, "* ") == 0 &&
      output.compare(2, std::string::npos, input) == 0) {
    return RowChange::Commented;
  }
  return RowChange::Changed;
}

}  // namespace

ReportRows AlignRows(const ImportSession& session, const std::vector<ZAV_MODEL>& models) {
  ReportRows result;
  const auto& lines = session.lines();
  if (lines.empty()) return result;
  result.rows.resize(static_cast<std::size_t>(std::max(0, lines.back().number)));
  for (std::size_t i = 0; i < result.rows.size(); ++i) result.rows[i].number = static_cast<int>(i + 1);
  for (const SourceLine& line : lines) {
    if (line.number < 1 || static_cast<std::size_t>(line.number) > result.rows.size()) continue;
    result.rows[static_cast<std::size_t>(line.number - 1)].input.append(line.rawText);
  }
  if (result.rows.empty()) return result;
  std::vector<bool> endsLine(result.rows.size());
  for (std::size_t i = 0; i < result.rows.size(); ++i) {
    endsLine[i] = !result.rows[i].input.empty() && result.rows[i].input.back() == '\n';
  }

  RowFiller filler(result.rows, endsLine);
  std::vector<Piece> pieces;
  std::string text;
  for (ZAV_MODEL handle : models) {
    const auto& model = *reinterpret_cast<const ImportedModel*>(handle);
    // The text zav-import writes is the export's; the pieces only say where
    // each part of it came from.
    text.clear();
    FileImport::AppendModelText(handle, text);
    pieces.clear();
    PiecesOf(model, pieces);
    if (!Spell(pieces, text)) {
      result.approximate = true;
      pieces.assign(1, Piece{text, DescribeModel(model).line});
    }
    for (const Piece& piece : pieces) filler.Add(piece);
  }
  result.outputLines = filler.Finish();

  for (ReportRow& row : result.rows) row.change = Classify(row.input, row.output);
  return result;
}

}  // namespace zav::cli
